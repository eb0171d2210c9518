#include "properties/NameCompare.h"

namespace cs {

namespace {

constexpr char foldAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

bool namesEqualIgnoringCase(const char* a, const char* b) {
    if (a == nullptr || b == nullptr) {
        return false;
    }
    for (;; ++a, ++b) {
        if (foldAscii(*a) != foldAscii(*b)) {
            return false;  // includes one name ending before the other
        }
        if (*a == '\0') {
            return true;  // both ended together
        }
    }
}

}  // namespace cs
