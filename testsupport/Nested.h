// Documents nested deeper than a reader allows, for the tests of its limit.
#pragma once

#include <string>

namespace cs::test {

// `open` `times` times, then `close` as often: "<a><a></a></a>" for 2.
inline std::string nested(const std::string& open, const std::string& close, int times) {
    std::string s;
    for (int i = 0; i < times; ++i) {
        s += open;
    }
    for (int i = 0; i < times; ++i) {
        s += close;
    }
    return s;
}

}  // namespace cs::test
