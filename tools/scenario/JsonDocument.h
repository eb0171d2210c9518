// A JSON text read for checking field by field: its values, and the line on
// which each value starts, by field path ("traffic[2].distance"), so that a
// message can point at the line.
#pragma once

#include <string>
#include <unordered_map>

#include <nlohmann/json.hpp>

#include "tools/scenario/InputError.h"

namespace cs::preview {

// Objects keep the order of the file, so messages follow the text.
using Json = nlohmann::ordered_json;

// A scenario needs a handful of levels (traffic, an aircraft, its vertical
// speed schedule, one change); the limit keeps a hostile file from
// exhausting the stack of the JSON reader or of the checks after it.
constexpr int kMaxNesting = 16;

class JsonDocument {
  public:
    // Reads `text`; `file` names it in messages. Throws InputError when the
    // text is not JSON or nests deeper than kMaxNesting.
    JsonDocument(const std::string& text, std::string file);

    const Json& root() const { return root_; }
    const std::string& file() const { return file_; }
    // The line of `path`, or of the nearest enclosing field that has one.
    int lineOf(std::string path) const;
    // Throws the InputError for the field at `path`.
    [[noreturn]] void fail(const std::string& path, const std::string& problem) const;

  private:
    std::string file_;
    Json root_;
    std::unordered_map<std::string, int> lines_;
};

// Paths of fields: "own" + "altitude" is "own.altitude", "traffic" + 2 is
// "traffic[2]".
std::string fieldPath(const std::string& path, const std::string& key);
std::string itemPath(const std::string& path, size_t index);

}  // namespace cs::preview
