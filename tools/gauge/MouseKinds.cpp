#include "tools/gauge/MouseKinds.h"

#include "tools/gauge/Diagnostics.h"

namespace cs::gauge {

namespace {

constexpr uint32_t bit(int n) {
    return 1u << n;
}

constexpr uint32_t kLeft = bit(0) | bit(3) | bit(6) | bit(12);
constexpr uint32_t kRight = bit(1) | bit(4) | bit(7) | bit(13);
constexpr uint32_t kMiddle = bit(2) | bit(5) | bit(8) | bit(14);
constexpr uint32_t kWheel = bit(15) | bit(16) | bit(17) | bit(18);

constexpr MouseKind kKinds[] = {
    {"LeftSingle", bit(0)},
    {"RightSingle", bit(1)},
    {"MiddleSingle", bit(2)},
    {"LeftDouble", bit(3)},
    {"RightDouble", bit(4)},
    {"MiddleDouble", bit(5)},
    {"LeftDrag", bit(6)},
    {"RightDrag", bit(7)},
    {"MiddleDrag", bit(8)},
    {"Move", kMouseMove},
    {"DownRepeat", bit(10)},
    {"Leave", bit(11)},
    {"LeftRelease", bit(12)},
    {"RightRelease", bit(13)},
    {"MiddleRelease", bit(14)},
    {"WheelUp", bit(15)},
    {"WheelDown", bit(16)},
    {"WheelFlip", bit(17)},
    {"WheelSkip", bit(18)},
    {"MoveRepeat", bit(19)},
    {"LeftAll", kLeft},
    {"RightAll", kRight},
    {"MiddleAll", kMiddle},
    {"WheelAll", kWheel},
    {"All", kLeft | kRight | kMiddle | kWheel | kMouseMove | bit(10) | bit(11) | bit(19)},
};

}  // namespace

std::span<const MouseKind> mouseKinds() {
    return kKinds;
}

uint32_t mouseKind(const std::string& name) {
    const std::string lower = lowerAscii(name);
    for (const MouseKind& k : mouseKinds()) {
        if (lowerAscii(k.name) == lower) {
            return k.bits;
        }
    }
    return 0;
}

uint32_t mouseKinds(const std::string& list, std::vector<std::string>& unknown) {
    uint32_t bits = 0;
    size_t begin = 0;
    while (begin <= list.size()) {
        size_t end = list.find_first_of("+|", begin);
        if (end == std::string::npos) {
            end = list.size();
        }
        std::string name = list.substr(begin, end - begin);
        const size_t b = name.find_first_not_of(" \t\r\n");
        const size_t e = name.find_last_not_of(" \t\r\n");
        name = b == std::string::npos ? std::string() : name.substr(b, e - b + 1);
        if (!name.empty()) {
            const uint32_t k = mouseKind(name);
            if (k == 0) {
                unknown.push_back(name);
            }
            bits |= k;
        }
        begin = end + 1;
    }
    return bits;
}

const char* mouseKindName(uint32_t single) {
    for (const MouseKind& k : mouseKinds()) {
        if (k.bits == single) {
            return k.name;
        }
    }
    return "";
}

std::vector<std::string> mouseKindNames() {
    std::vector<std::string> names;
    for (const MouseKind& k : mouseKinds()) {
        names.emplace_back(k.name);
    }
    return names;
}

}  // namespace cs::gauge
