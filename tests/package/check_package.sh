#!/bin/sh
# Checks of the release zip as a user gets it, unpacked into a temporary folder.
#   check_package.sh unpack   <path file> <zip>    unpacks into <temporary folder>/package and
#                                                  writes the temporary folder into <path file>
#   check_package.sh cleanup  <path file>          removes it
#   check_package.sh contents <path file> <manifest> <tested DLL> <i686 objdump>
#       the file list is the manifest's; both packaged DLLs are byte for byte
#       the DLL the Wine suite tests and carry no debug sections; text files
#       have CRLF line endings; the documents are plain text (no Markdown
#       headings, fences or table rows)
#   check_package.sh preview  <path file> <Wine path file>
#       the packaged preview, under Wine, without options: frames and a log
#   check_package.sh paths    <path file> <Wine path file>
#       the packaged preview, under Wine, on a scenario file and into an output
#       folder whose paths hold letters outside every 8-bit code page's
#       common part and are longer than 260 characters: the files land there
#   check_package.sh double-click <path file> <Wine path file>
#       the packaged preview started without arguments alone in its console,
#       as Explorer starts it (simulated: Wine gives it no console): the
#       built-in set in Documents\ContactScope preview, nothing in its own
#       folder, and the window waits for Enter
#   check_package.sh workbench <path file> <Wine path file>
#       the packaged preview, under Wine, as a designer runs it from the zip's
#       folder: the kit's window of panel.cfg.txt with the kit's gauges over
#       head-on (pictures, a log, TRAFFIC and the RA text shown), and a broken
#       gauge (status 2, file:line with a did-you-mean, nothing written)
#   check_package.sh broken   <path file> <Wine path file> <Linux module>
#       a missing or broken DLL beside the packaged preview: status 1 and a
#       message naming the file and the fault, for each case of the table
# preview and broken exit 77 (skipped) on a machine that cannot run 32-bit
# programs, as the Wine suite's prefix setup found.
set -eu
action=$1
pathfile=$2
wine_runner=$(cd "$(dirname "$0")/../wine/scripts" && pwd)/wine_run.sh

fail() {
    printf 'FAILED: %s\n' "$*"
    exit 1
}

tree() {
    [ -f "$pathfile" ] || fail "no unpacked package: the fixture package.unpack did not run"
    cat "$pathfile"
}

# Skips the check (status 77) when the Wine suite's prefix setup found that
# this machine cannot run 32-bit programs at all.
skip_without_32bit() {
    [ -f "$1" ] || fail "no Wine prefix: the fixture wine.prefix.setup did not run"
    case "$(cat "$1")" in
    "cannot run 32-bit programs"*)
        echo "SKIPPED: this machine cannot execute 32-bit programs, so ContactScope.dll was not run under Wine"
        exit 77
        ;;
    esac
}

# Runs a Windows program in the Wine suite's prefix through the suite's own
# runner (a run still going after $wine_limit seconds - Wine, now and then,
# hangs at start-up - is stopped and run once more); stdout and stderr go to
# the files given, the program's status is returned.
wine_limit=60
wine_run() {
    winepath=$1 out=$2 err=$3
    shift 3
    skip_without_32bit "$winepath"
    "$wine_runner" "$winepath" --limit "$wine_limit" "$@" >"$out" 2>"$err"
}

case "$action" in
unpack)
    zip=$3
    [ -f "$zip" ] || fail "$zip is missing: cmake --build --preset windows --target package"
    "$0" cleanup "$pathfile"
    dir=$(mktemp -d "${TMPDIR:-/tmp}/cs-package.XXXXXX")
    mkdir "$dir/package"
    (cd "$dir/package" && cmake -E tar xf "$zip") || fail "cannot unpack $zip"
    echo "$dir" >"$pathfile"
    echo "$zip unpacked into $dir/package"
    ;;
cleanup)
    if [ -f "$pathfile" ]; then
        dir=$(cat "$pathfile")
        case "$dir" in
        */cs-package.*) rm -rf "$dir" ;;
        esac
        rm -f "$pathfile"
    fi
    ;;
contents)
    manifest=$3
    tested=$4
    dir=$(tree)
    package=$dir/package
    grep -v '^#' "$manifest" | grep -v '^$' | LC_ALL=C sort >"$dir/expected"
    (cd "$package" && find . -type f | sed 's|^\./||' | LC_ALL=C sort) >"$dir/actual"
    diff -u "$dir/expected" "$dir/actual" ||
        fail "the package's files differ from $manifest (- missing, + not in the manifest)"
    objdump=${5:-i686-w64-mingw32-objdump}
    for dll in Modules/ContactScope.dll Tools/ContactScope.dll; do
        cmp -s "$package/$dll" "$tested" ||
            fail "$dll is not the DLL the Wine suite tests ($tested)"
        sections=$("$objdump" -h "$package/$dll") || fail "objdump cannot read $dll"
        debug=$(printf '%s\n' "$sections" | awk '$2 ~ /^\.z?debug/ { print $2 }' | tr '\n' ' ')
        [ -z "$debug" ] || fail "$dll carries debug sections: $debug"
    done
    for f in $(cd "$package" && find . -type f \( -name '*.txt' -o -name '*.xml' -o -name '*.json' \)); do
        lf=$(awk 'substr($0, length($0)) != "\r"' "$package/$f" | wc -l)
        [ "$lf" -eq 0 ] || fail "$f has $lf lines without CRLF"
    done
    for doc in "$package"/Docs/*.txt; do
        markdown=$(grep -nE '^[[:space:]]*(```|~~~|\||#+ )|\]\(' "$doc" | head -n 3) || true
        [ -z "$markdown" ] || fail "Docs/$(basename "$doc") has Markdown left: $markdown"
    done
    echo "contents: the $(wc -l <"$dir/actual") files of $manifest, both DLLs identical and stripped, CRLF text, plain documents"
    ;;
preview)
    winepath=$3
    skip_without_32bit "$winepath"
    dir=$(tree)
    out=$dir/preview-out
    rm -rf "$out"
    # The packaged program finds its module by itself; the output folder is
    # relative to the working folder, as for a user at a command prompt.
    status=0
    (cd "$dir" && wine_run "$winepath" "$dir/preview.stdout" "$dir/preview.stderr" \
        package/Tools/contactscope-preview.exe -b head-on -o preview-out --progress never) ||
        status=$?
    cat "$dir/preview.stdout" "$dir/preview.stderr"
    [ "$status" -eq 0 ] || fail "the packaged preview exited with status $status"
    run=$out/head-on
    for display in tcas radar; do
        count=$(find "$run" -name "$display-[0-9]*.png" | wc -l)
        [ "$count" -ge 10 ] || fail "$count $display frames in $run, expected a frame every 5 s"
        [ -f "$run/$display-sheet.png" ] || fail "no $display-sheet.png in $run"
        grep -q "\"type\":\"summary\",\"display\":\"$display\".*\"highestLevel\":\"RA\"" \
            "$run/log.jsonl" || fail "log.jsonl has no $display summary reaching an RA"
    done
    for png in "$run"/*.png; do
        [ "$(head -c 4 "$png" | od -An -c | tr -d ' ')" = '211PNG' ] || fail "$png is no PNG"
    done
    head -n 1 "$run/log.jsonl" | grep -q '^{"type":"run","scenario":"head-on"' ||
        fail "log.jsonl does not start with the run record"
    echo "preview: $(ls "$run" | wc -l) files in $run"
    ;;
paths)
    winepath=$3
    skip_without_32bit "$winepath"
    dir=$(tree)
    rm -rf "$dir/paths"
    # 12 folders of 23 characters: 276 characters below $dir/paths, given
    # relative to it (the program makes them absolute), and as a Windows
    # path from the drive root.
    deep=.
    for n in 01 02 03 04 05 06 07 08 09 10 11 12; do
        deep="$deep/Zürich-Ångström-Ωμέγα-$n"
    done
    mkdir -p "$dir/paths/$deep"
    # Without "name" the scenario's output folder is the file's own name.
    grep -v '"name":' "$dir/package/Tools/scenarios/head-on.json" >"$dir/paths/$deep/Zürich-Ångström.json"
    out="$deep/Ausgabe-Ø"
    status=0
    (cd "$dir/paths" && wine_run "$winepath" "$dir/paths.stdout" "$dir/paths.stderr" \
        "$dir/package/Tools/contactscope-preview.exe" "$deep/Zürich-Ångström.json" -o "$out" \
        -d tcas --no-probe --progress never) || status=$?
    cat "$dir/paths.stdout" "$dir/paths.stderr"
    [ "$status" -eq 0 ] || fail "the packaged preview exited with status $status"
    run="$dir/paths/$out/Zürich-Ångström"
    [ -d "$run" ] || fail "no output folder $run"
    for f in tcas-0000.png tcas-sheet.png log.jsonl report.html ../index.html; do
        [ -s "$run/$f" ] || fail "$f is missing in $run"
    done
    grep -q '"file":"[^"]*Zürich-Ångström-Ωμέγα-12/Zürich-Ångström.json"' "$run/log.jsonl" ||
        fail "log.jsonl does not name the scenario file in UTF-8: $(head -c 600 "$run/log.jsonl")"
    grep -q 'Zürich-Ångström-Ωμέγα-12/Zürich-Ångström.json' "$run/report.html" ||
        fail "report.html does not show the command with the scenario's path"
    echo "paths: $(ls "$run" | wc -l) files in a folder of $(printf '%s' "$dir/paths/$out" | wc -m) characters"
    ;;
double-click)
    winepath=$3
    skip_without_32bit "$winepath"
    dir=$(tree)
    # A fresh prefix links Documents to the Unix home folder: the suite's
    # prefix gets a folder of its own instead, so nothing lands in the home.
    for documents in "$(cat "$winepath")"/drive_c/users/*/Documents; do
        if [ -L "$documents" ]; then
            rm "$documents" && mkdir "$documents"
        fi
    done
    tools=$dir/package/Tools
    before=$(ls "$tools" | LC_ALL=C sort)
    status=0
    # The program waits for Enter: one line of input ends it; without that
    # line it would wait for the end of the input. It renders the whole
    # built-in set first, about 90 s here.
    wine_limit=400
    (cd "$tools" && printf '\n' | CS_PREVIEW_TEST_OWN_CONSOLE=1 wine_run "$winepath" \
        "$dir/double-click.stdout" "$dir/double-click.stderr" ./contactscope-preview.exe) ||
        status=$?
    cat "$dir/double-click.stdout" "$dir/double-click.stderr"
    [ "$status" -eq 0 ] || fail "the double-clicked preview exited with status $status"
    [ "$(ls "$tools" | LC_ALL=C sort)" = "$before" ] || fail "the program wrote into its own folder"
    folder=$(tr -d '\r' <"$dir/double-click.stdout" |
        sed -n 's/^Rendering the built-in scenarios into //p')
    case "$folder" in
    *'\Documents\ContactScope preview') ;;
    *) fail "it does not say that it writes into Documents\\ContactScope preview: \"$folder\"" ;;
    esac
    grep -q "^The pictures and report pages are in .*ContactScope preview: open index.html there" \
        "$dir/double-click.stdout" || fail "it does not say where the pictures are at the end"
    tail -n 1 "$dir/double-click.stdout" | grep -q "^Press Enter to close this window" ||
        fail "it does not end by waiting for Enter"
    unix=$(WINEPREFIX=$(cat "$winepath") WINEDEBUG=-all "${CS_WINE:-wine}" winepath -u "$folder" 2>/dev/null | tr -d '\r')
    [ -f "$unix/index.html" ] || fail "no index.html in $unix"
    for scenario in "$dir"/package/Tools/scenarios/*.json; do
        name=$(basename "$scenario" .json)
        [ -f "$unix/$name/tcas-sheet.png" ] && [ -f "$unix/$name/report.html" ] ||
            fail "$name was not rendered into $unix"
    done
    echo "double-click: $(ls "$unix" | wc -l) entries in $folder"
    ;;
workbench)
    winepath=$3
    skip_without_32bit "$winepath"
    dir=$(tree)
    # Run beside the unpacked package, so that its own folder keeps exactly
    # the manifest's files for the contents check running alongside.
    rm -rf "$dir/wb-out" "$dir/broken-out"
    status=0
    (cd "$dir" && wine_run "$winepath" "$dir/wb.stdout" "$dir/wb.stderr" \
        package/Tools/contactscope-preview.exe --panel 'package\panel.cfg.txt' --window 9 \
        --gauges 'package\Gauges\ContactScope' -b head-on -o wb-out) || status=$?
    cat "$dir/wb.stdout" "$dir/wb.stderr"
    [ "$status" -eq 0 ] || fail "the kit window: status $status"
    run=$dir/wb-out/head-on
    count=$(find "$run" -name 'window09-[0-9]*.png' | wc -l)
    [ "$count" -ge 18 ] || fail "$count pictures of window09 in $run, expected one every 5 s"
    grep -q '"type":"frame","view":"window09"' "$run/log.jsonl" || fail "no frames in $run/log.jsonl"
    for text in "TRAFFIC appeared at" "RESOLUTION ADVISORY appeared at"; do
        grep -q "ContactScope_Advisory.xml:[0-9]* *$text" "$dir/wb.stdout" ||
            fail "the kit window never showed: $text"
    done
    printf '<Gauge Name="broken">\r\n<Size X="64" Y="64"/>\r\n<Update>(C:va9vedored:advisry) (&gt;L:a, number)</Update>\r\n</Gauge>\r\n' \
        >"$dir/broken.xml"
    status=0
    (cd "$dir" && wine_run "$winepath" "$dir/broken.stdout" "$dir/broken.stderr" \
        package/Tools/contactscope-preview.exe --gauge broken.xml -b head-on -o broken-out) ||
        status=$?
    cat "$dir/broken.stderr"
    [ "$status" -eq 2 ] || fail "the broken gauge: status $status, expected 2"
    grep -q 'broken.xml:3: Update: (C:va9vedored:advisry): .*did you mean "advisory"?' \
        "$dir/broken.stderr" || fail "the broken gauge's message lacks its line or the did-you-mean"
    [ ! -e "$dir/broken-out" ] || fail "the broken gauge still wrote output"
    echo "workbench: $count pictures of the kit window; the broken gauge refused with its line"
    ;;
broken)
    winepath=$3
    linux_module=$4
    skip_without_32bit "$winepath"
    dir=$(tree)
    work=$dir/broken
    rm -rf "$work"
    mkdir -p "$work"
    cp -R "$dir/package/Tools" "$work/"
    good=$dir/package/Modules/ContactScope.dll
    dll=$work/Tools/ContactScope.dll
    pe=$(($(od -An -tu4 -j60 -N4 "$good") + 4))  # the PE header's machine field
    failures=0
    # case | how the file beside the program is made | words the message must hold
    while IFS='|' read -r name make expected; do
        rm -rf "$dll"
        case "$make" in
        missing) ;;
        empty) : >"$dll" ;;
        text) printf 'ContactScope.dll\r\n' >"$dll" ;;
        truncated) head -c 65536 "$good" >"$dll" ;;
        x64) cp "$good" "$dll" && printf '\144\206' |
            dd of="$dll" bs=1 seek="$pe" conv=notrunc 2>/dev/null ;;
        linux) cp "$linux_module" "$dll" ;;
        no-start) perl -pe 's/DLLStart\0/DLLStarX\0/g' "$good" >"$dll" ;;
        program) cp "$work/Tools/contactscope-preview.exe" "$dll" ;;
        esac
        status=0
        wine_run "$winepath" "$work/out" "$work/err" "$work/Tools/contactscope-preview.exe" \
            -b head-on -o "$work/preview-out" -q || status=$?
        message=$(cat "$work/err")
        if [ "$status" -ne 1 ] || ! printf "%s\n" "$message" | grep -q 'Tools\\ContactScope.dll: ' ||
            ! printf "%s\n" "$message" | grep -q "$expected"; then
            echo "$name: status $status, expected 1 and \"$expected\"; stderr:"
            printf "%s\n" "$message"
            failures=$((failures + 1))
        else
            echo "$name: $(printf "%s\n" "$message" | head -n 1 | sed 's/.*ContactScope.dll: //')"
        fi
    done <<'EOF'
missing DLL|missing|not found
empty file|empty|is empty
text file|text|not a Windows DLL
cut-off download|truncated|is truncated
64-bit DLL|x64|built for x64
Linux module|linux|Linux library
other DLL without DLLStart|no-start|exports no DLLStart
a program|program|a program, not a DLL
EOF
    [ -d "$work/preview-out" ] && fail "a refused module still left output"
    [ "$failures" -eq 0 ] || fail "$failures of the broken modules were not reported as expected"
    ;;
*)
    echo "usage: $0 unpack|cleanup|contents|preview|paths|double-click|workbench|broken <path file> ..."
    exit 2
    ;;
esac
