// Reading the little-endian fields of a file's bytes at offsets checked
// first: has() before any read, so that a hostile header cannot send a read
// past the end. Bitmaps and cabinets both store their headers this way.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace cs::gauge {

struct LittleEndian {
    std::string_view b;
    // Whether `n` bytes from `at` lie within the file.
    bool has(uint64_t at, uint64_t n) const { return at <= b.size() && n <= b.size() - at; }
    uint32_t u8(size_t at) const { return static_cast<uint8_t>(b[at]); }
    uint32_t u16(size_t at) const { return u8(at) | u8(at + 1) << 8; }
    uint32_t u32(size_t at) const { return u16(at) | u16(at + 2) << 16; }
    int32_t s32(size_t at) const { return static_cast<int32_t>(u32(at)); }
};

}  // namespace cs::gauge
