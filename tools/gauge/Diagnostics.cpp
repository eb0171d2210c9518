#include "tools/gauge/Diagnostics.h"

#include <algorithm>

#include "tools/output/FileMessage.h"

namespace cs::gauge {

std::string Problem::text() const {
    return output::fileMessage(file, line, element, message, severity == Severity::Warning);
}

void Diagnostics::add(Severity severity, const Origin& at, const std::string& message) {
    if (severity == Severity::Error) {
        ++errors_;
    }
    if (problems_.size() >= kKept) {
        ++dropped_;  // still counted above, so hasErrors() stays true
        return;
    }
    problems_.push_back(Problem{severity, at.file, at.line, at.element, message});
}

std::string lowerAscii(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return text;
}

bool equalIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && lowerAscii(a) == lowerAscii(b);
}

namespace {

// Edits (insert, delete, replace, swap of two neighbours) from a to b, with
// three rows of the table kept.
size_t editDistance(const std::string& a, const std::string& b) {
    const size_t m = b.size();
    std::vector<size_t> before(m + 1), previous(m + 1), row(m + 1);
    for (size_t j = 0; j <= m; ++j) {
        previous[j] = j;
    }
    for (size_t i = 1; i <= a.size(); ++i) {
        row[0] = i;
        for (size_t j = 1; j <= m; ++j) {
            row[j] = std::min(
                {previous[j] + 1, row[j - 1] + 1, previous[j - 1] + (a[i - 1] != b[j - 1])});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) {
                row[j] = std::min(row[j], before[j - 2] + 1);
            }
        }
        std::swap(before, previous);
        std::swap(previous, row);
    }
    return previous[m];
}

}  // namespace

std::string didYouMean(const std::string& name, const std::vector<std::string>& candidates) {
    if (name.empty() || name.size() > 64) {
        return std::string();  // no name anyone would misspell
    }
    // Up to a third of the name may differ, at least two edits.
    const size_t allowed = std::max<size_t>(2, name.size() / 3);
    const std::string lower = lowerAscii(name);
    const std::string* best = nullptr;
    size_t bestDistance = 0;
    for (const std::string& c : candidates) {
        if (c.size() > name.size() + allowed || name.size() > c.size() + allowed) {
            continue;
        }
        const size_t d = editDistance(lower, lowerAscii(c));
        if (best == nullptr || d < bestDistance) {
            best = &c;
            bestDistance = d;
        }
    }
    if (best == nullptr || bestDistance > allowed) {
        return std::string();
    }
    return "; did you mean \"" + *best + "\"?";
}

}  // namespace cs::gauge
