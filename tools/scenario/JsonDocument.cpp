#include "tools/scenario/JsonDocument.h"

#include <algorithm>
#include <cctype>

namespace cs::preview {

namespace {

// Throws if arrays and objects nest deeper than kMaxNesting, naming the line
// where the limit is passed. Brackets inside strings do not count.
void checkNesting(const std::string& source, const std::string& file) {
    int depth = 0;
    int line = 1;
    bool inString = false;
    for (size_t i = 0; i < source.size(); ++i) {
        const char c = source[i];
        if (c == '\n') {
            ++line;
        } else if (inString) {
            if (c == '\\') {
                ++i;  // the escaped character cannot end the string
            } else if (c == '"') {
                inString = false;
            }
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            if (++depth > kMaxNesting) {
                throw InputError(file, line, "",
                                 "arrays and objects nested more than " +
                                     std::to_string(kMaxNesting) +
                                     " levels deep; a scenario needs only a few");
            }
        } else if (c == ']' || c == '}') {
            --depth;
        }
    }
}

// nlohmann's reader that builds the values, keeping where and why it stopped
// instead of throwing: a syntax error and a number too large for a double
// (which the library reports without a position) alike.
class ValueBuilder : public nlohmann::detail::json_sax_dom_parser<Json> {
  public:
    explicit ValueBuilder(Json& root) : json_sax_dom_parser(root, false) {}

    template <class Exception>
    bool parse_error(size_t position, const std::string& /*token*/, const Exception& error) {
        failed = true;
        byte = position;
        problem = error.what();
        const size_t start = problem.find("parse error");
        const size_t prefix = problem.find("] ");
        if (start != std::string::npos) {
            problem = problem.substr(start);
        } else if (prefix != std::string::npos) {
            problem = problem.substr(prefix + 2);  // drop "[json.exception.<kind>.<n>]"
        }
        return false;
    }

    bool failed = false;
    size_t byte = 0;
    std::string problem;
};

// Where each value of a valid JSON text starts, by field path. nlohmann's
// values carry no positions, so this small scanner walks the text once more.
class LineScanner {
  public:
    LineScanner(const std::string& text, std::unordered_map<std::string, int>& lines)
        : text_(text), lines_(lines) {
        skipSpace();
        value("");
    }

  private:
    void skipSpace() {
        while (pos_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[pos_]))) {
            if (text_[pos_] == '\n') {
                ++line_;
            }
            ++pos_;
        }
    }
    std::string string() {
        std::string out;
        ++pos_;  // opening quote
        while (pos_ < text_.size() && text_[pos_] != '"') {
            if (text_[pos_] == '\\' && pos_ + 1 < text_.size()) {
                ++pos_;
            }
            out += text_[pos_++];
        }
        ++pos_;
        return out;
    }
    // Steps over a separating comma; true at the closing bracket (or the end).
    bool nextItem(char close) {
        while (true) {
            skipSpace();
            if (pos_ >= text_.size() || text_[pos_] == close) {
                ++pos_;
                return false;
            }
            if (text_[pos_] != ',') {
                return true;
            }
            ++pos_;
        }
    }
    void object(const std::string& path) {
        ++pos_;
        while (nextItem('}')) {
            const int keyLine = line_;
            const std::string key = string();
            skipSpace();
            ++pos_;  // ':'
            skipSpace();
            const std::string child = fieldPath(path, key);
            lines_.emplace(child, keyLine);
            value(child);
        }
    }
    void array(const std::string& path) {
        ++pos_;
        size_t index = 0;
        while (nextItem(']')) {
            value(itemPath(path, index++));
        }
    }
    void value(const std::string& path) {
        lines_.emplace(path, line_);
        if (pos_ >= text_.size()) {
            return;
        }
        const char c = text_[pos_];
        if (c == '{') {
            object(path);
        } else if (c == '[') {
            array(path);
        } else if (c == '"') {
            string();
        } else {
            while (pos_ < text_.size() &&
                   std::string(",]} \t\r\n").find(text_[pos_]) == std::string::npos) {
                ++pos_;
            }
        }
    }

    const std::string& text_;
    std::unordered_map<std::string, int>& lines_;
    size_t pos_ = 0;
    int line_ = 1;
};

}  // namespace

std::string fieldPath(const std::string& path, const std::string& key) {
    return path.empty() ? key : path + "." + key;
}

std::string itemPath(const std::string& path, size_t index) {
    return path + "[" + std::to_string(index) + "]";
}

JsonDocument::JsonDocument(const std::string& text, std::string file) : file_(std::move(file)) {
    checkNesting(text, file_);
    ValueBuilder builder(root_);
    Json::sax_parse(text, &builder);
    if (builder.failed) {
        const size_t end = std::min(builder.byte, text.size());
        int line = 1;
        for (size_t i = 0; i + 1 < end; ++i) {
            line += text[i] == '\n' ? 1 : 0;
        }
        throw InputError(file_, line, "", "not valid JSON: " + builder.problem);
    }
    LineScanner(text, lines_);
}

int JsonDocument::lineOf(std::string path) const {
    while (true) {
        auto it = lines_.find(path);
        if (it != lines_.end()) {
            return it->second;
        }
        const size_t cut = path.find_last_of(".[");
        if (cut == std::string::npos || path.empty()) {
            return path.empty() ? 0 : lineOf("");
        }
        path.resize(cut);
    }
}

void JsonDocument::fail(const std::string& path, const std::string& problem) const {
    throw InputError(file_, lineOf(path), path, problem);
}

}  // namespace cs::preview
