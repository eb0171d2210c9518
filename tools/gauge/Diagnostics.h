// Messages about a designer's gauge files: each problem names the file, the
// line, the element it concerns and what is wrong, as
// "file:line: element: problem" ("file:line: warning: element: problem").
// Warnings leave the gauge runnable, errors do not.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace cs::gauge {

// Where a piece of gauge text comes from.
struct Origin {
    std::string file;
    int line = 0;
    std::string element;  // e.g. "Visible", "CustomDraw/Range", "Click"
};

enum class Severity { Warning, Error };

struct Problem {
    Severity severity = Severity::Error;
    std::string file;
    int line = 0;
    std::string element;
    std::string message;
    // "file:line: element: message", a warning as "file:line: warning:
    // element: message"; the line left out when 0 (the whole file), the
    // element when empty.
    std::string text() const;
};

class Diagnostics {
  public:
    void warn(const Origin& at, const std::string& message) { add(Severity::Warning, at, message); }
    void error(const Origin& at, const std::string& message) { add(Severity::Error, at, message); }
    void add(Severity severity, const Origin& at, const std::string& message);

    const std::vector<Problem>& problems() const { return problems_; }
    bool hasErrors() const { return errors_ > 0; }
    size_t errorCount() const { return errors_; }
    size_t warningCount() const { return problems_.size() - errors_; }
    // After this many problems further ones are counted but not kept, so a
    // hostile file cannot flood the terminal.
    static constexpr size_t kKept = 200;
    size_t dropped() const { return dropped_; }

  private:
    std::vector<Problem> problems_;
    size_t errors_ = 0;
    size_t dropped_ = 0;
};

// "; did you mean \"x\"?" for the candidate closest to `name` (ignoring
// case, within a few edits), or an empty text.
std::string didYouMean(const std::string& name, const std::vector<std::string>& candidates);

// ASCII case-insensitive comparison, as the simulator compares names.
bool equalIgnoringCase(const std::string& a, const std::string& b);
std::string lowerAscii(std::string text);

}  // namespace cs::gauge
