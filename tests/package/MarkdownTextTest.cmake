# The Markdown-to-text converter of the release zip's documents
# (cmake/MarkdownText.cmake) on a table of small documents.
#   cmake -P MarkdownTextTest.cmake
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/../../cmake/MarkdownText.cmake)

# case <name> <Markdown> <expected text>
function(case name markdown expected)
  cs_markdown_to_text("${markdown}" got)
  if(NOT got STREQUAL expected)
    message(SEND_ERROR "${name}:\n--- expected\n${expected}--- got\n${got}---")
  endif()
endfunction()

case("headings, underlined by characters, not bytes"
     "# Zürich tables\n\n## Units\n\n### `deg` and **ft**\ntext\n"
     "Zürich tables\n=============\n\nUnits\n-----\n\ndeg and ft\n~~~~~~~~~~\ntext\n")

case("a narrow table: aligned columns, the header underlined"
     "| Quantity | Units |\n|---|:---:|\n| distance | `nm`, `nmi` |\n| time | s |\nafter\n"
     "Quantity  Units\n--------  -------\ndistance  nm, nmi\ntime      s\nafter\n")

case("a wide table: an entry per row, empty cells left out, ; [ ] | kept, long lines broken"
     "| Name | Id | Default | Meaning |\n|---|---|---|---|\n| range | 2 | 15 | display range; also accepted as \"TCASRange\", a value in [1, 100] nm, written with \\| |\n| Font | 19 |  | font family of tags and labels, the text of the gauge's string element |\n"
     "range\n    Id: 2; Default: 15\n    Meaning: display range; also accepted as \"TCASRange\", a value in [1, 100]\n      nm, written with |\n\nFont\n    Id: 19\n    Meaning: font family of tags and labels, the text of the gauge's string\n      element\n")

case("fenced code: indented, fences gone, its text untouched"
     "Example:\n\n```json\n{\"a\": [1, 2]; **x**}\n\n  `y`\n```\ndone\n"
     "Example:\n\n    {\"a\": [1, 2]; **x**}\n\n      `y`\ndone\n")

case("inline markup: code, strong, links, images, escapes"
     "See [the format](docs/scenario-format.md), [site](https://example.org/a) and ![TA: circle](g.png); `a|b` is \\*not\\* **bold**.\n"
     "See the format, site (https://example.org/a) and TA: circle; a|b is *not* bold.\n")

case("a table as the last lines, without a final line break"
     "| a | b |\n|---|---|\n| 1 | 2 |"
     "a  b\n-  -\n1  2\n")

case("lists and plain lines stay"
     "- one; [two]\n  1. three\n\nplain \\ text\n"
     "- one; [two]\n  1. three\n\nplain \\ text\n")
