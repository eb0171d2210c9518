#include "tools/gauge/Diagnostics.h"

#include <algorithm>

namespace cs::gauge {

std::string Problem::text() const {
    std::string out = file + ":" + std::to_string(line) + ": ";
    if (!element.empty()) {
        out += element + ": ";
    }
    return out + message;
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

// Edits (insert, delete, replace, swap of two neighbours) from a to b.
size_t editDistance(const std::string& a, const std::string& b) {
    std::vector<std::vector<size_t>> d(a.size() + 1, std::vector<size_t>(b.size() + 1));
    for (size_t i = 0; i <= a.size(); ++i) {
        d[i][0] = i;
    }
    for (size_t j = 0; j <= b.size(); ++j) {
        d[0][j] = j;
    }
    for (size_t i = 1; i <= a.size(); ++i) {
        for (size_t j = 1; j <= b.size(); ++j) {
            d[i][j] = std::min(
                {d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + (a[i - 1] != b[j - 1])});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) {
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
            }
        }
    }
    return d[a.size()][b.size()];
}

}  // namespace

std::string didYouMean(const std::string& name, const std::vector<std::string>& candidates) {
    if (name.size() > 200) {
        return std::string();
    }
    const std::string lower = lowerAscii(name);
    const std::string* best = nullptr;
    size_t bestDistance = 0;
    for (const std::string& c : candidates) {
        const size_t d = editDistance(lower, lowerAscii(c));
        if (best == nullptr || d < bestDistance) {
            best = &c;
            bestDistance = d;
        }
    }
    // Up to a third of the name may differ, at least two edits.
    const size_t allowed = std::max<size_t>(2, name.size() / 3);
    if (best == nullptr || bestDistance > allowed) {
        return std::string();
    }
    return "; did you mean \"" + *best + "\"?";
}

}  // namespace cs::gauge
