#include "simhost/ModuleFile.h"

#include "simhost/FilePath.h"

#include <cstdint>
#include <cstdio>
#include <vector>

namespace cs::sim {

namespace {

// Headers and section tables lie well within the first 64 KiB.
constexpr std::size_t kHeaderBytes = 64 * 1024;

struct Bytes {
    std::vector<unsigned char> data;

    bool has(std::uint64_t offset, std::uint64_t count) const {
        return offset <= data.size() && count <= data.size() - offset;
    }
    std::uint32_t le(std::uint64_t offset, int count) const {
        std::uint32_t value = 0;
        for (int i = count - 1; i >= 0; --i) {
            value = (value << 8) | data[offset + static_cast<std::uint64_t>(i)];
        }
        return value;
    }
    std::uint64_t le64(std::uint64_t offset) const {
        return le(offset, 4) | (static_cast<std::uint64_t>(le(offset + 4, 4)) << 32);
    }
};

std::string hex(std::uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%x", value);
    return text;
}

std::string peMachineName(std::uint32_t machine) {
    switch (machine) {
        case 0x14c:
            return "32-bit x86";
        case 0x8664:
            return "x64";
        case 0xaa64:
            return "ARM64";
        case 0x1c4:
            return "ARM";
        default:
            return "machine " + hex(machine);
    }
}

#if !defined(_WIN32)
std::string elfMachineName(std::uint32_t machine, bool is64) {
    switch (machine) {
        case 3:
            return "32-bit x86";
        case 62:
            return "x86-64";
        case 183:
            return "AArch64";
        case 40:
            return "32-bit ARM";
        default:
            return (is64 ? "64-bit machine " : "32-bit machine ") + hex(machine);
    }
}
#endif

#if defined(_WIN32)
#if defined(__aarch64__) || defined(_M_ARM64)
constexpr std::uint32_t kPeMachine = 0xaa64;
#elif defined(__x86_64__) || defined(_M_X64)
constexpr std::uint32_t kPeMachine = 0x8664;
#else
constexpr std::uint32_t kPeMachine = 0x14c;
#endif
#else
#if defined(__x86_64__)
constexpr std::uint32_t kElfMachine = 62;
#elif defined(__i386__)
constexpr std::uint32_t kElfMachine = 3;
#elif defined(__aarch64__)
constexpr std::uint32_t kElfMachine = 183;
#elif defined(__arm__)
constexpr std::uint32_t kElfMachine = 40;
#else
constexpr std::uint32_t kElfMachine = 0;  // not checked
#endif
#endif

std::string truncated(std::uint64_t size, std::uint64_t needed) {
    return "is truncated: " + std::to_string(size) + " bytes, its headers describe at least " +
           std::to_string(needed) + " (a damaged copy or an incomplete download)";
}

// A PE image: "MZ", the PE header at the offset in 0x3c, then the COFF
// header (machine, sections, symbol table, characteristics) and the
// section table after the optional header.
std::string peProblem(const Bytes& b, std::uint64_t size) {
    if (!b.has(0x3c, 4)) {
        return truncated(size, 0x40);
    }
    const std::uint64_t pe = b.le(0x3c, 4);
    if (!b.has(pe, 24) || b.le(pe, 4) != 0x4550) {
        return size <= pe ? truncated(size, pe + 24) : "is an old DOS program, not a Windows DLL";
    }
    const std::uint32_t machine = b.le(pe + 4, 2);
#if !defined(_WIN32)
    return "is a Windows file (" + peMachineName(machine) +
           "), not a Linux shared library; this program loads ContactScope.so";
#else
    const std::uint32_t sections = b.le(pe + 6, 2);
    const std::uint64_t symbols = b.le(pe + 12, 4);
    const std::uint64_t symbolCount = b.le(pe + 16, 4);
    const std::uint64_t optionalSize = b.le(pe + 20, 2);
    const std::uint32_t characteristics = b.le(pe + 22, 2);
    if (machine != kPeMachine) {
        return "is built for " + peMachineName(machine) + "; this program is " +
               peMachineName(kPeMachine) + " and loads only " + peMachineName(kPeMachine) +
               " modules";
    }
    if ((characteristics & 0x2000) == 0) {
        return "is a program, not a DLL";
    }
    std::uint64_t end = symbols == 0 ? 0 : symbols + 18 * symbolCount;
    const std::uint64_t table = pe + 24 + optionalSize;
    const std::uint64_t tableBytes = 40 * static_cast<std::uint64_t>(sections);
    if (table + tableBytes > size) {
        return truncated(size, table + tableBytes);
    }
    for (std::uint32_t i = 0; i < sections && b.has(table, tableBytes); ++i) {
        const std::uint64_t s = table + 40 * static_cast<std::uint64_t>(i);
        const std::uint64_t rawSize = b.le(s + 16, 4);
        const std::uint64_t rawOffset = b.le(s + 20, 4);
        if (rawSize > 0 && rawOffset + rawSize > end) {
            end = rawOffset + rawSize;
        }
    }
    return end > size ? truncated(size, end) : "";
#endif
}

// An ELF object: class (32/64-bit) and byte order in the identification,
// then type, machine and the section header table, which lies at the end.
std::string elfProblem(const Bytes& b, std::uint64_t size) {
    if (!b.has(0, 64)) {
        return truncated(size, 64);
    }
    const bool is64 = b.data[4] == 2;
    if (b.data[5] != 1) {
        return "is a big-endian ELF object, not a library for this processor";
    }
#if defined(_WIN32)
    (void)is64;
    return "is a Linux library (ELF), not a Windows DLL";
#else
    const std::uint32_t type = b.le(16, 2);
    const std::uint32_t machine = b.le(18, 2);
    const bool host64 = sizeof(void*) == 8;
    if (is64 != host64) {
        return std::string("is a ") + (is64 ? "64" : "32") + "-bit library; this program is " +
               (host64 ? "64" : "32") + "-bit";
    }
    if (kElfMachine != 0 && machine != kElfMachine) {
        return "is built for " + elfMachineName(machine, is64) + "; this program is " +
               elfMachineName(kElfMachine, host64);
    }
    if (type != 3) {
        return "is not a shared library (ELF type " + std::to_string(type) + ")";
    }
    const std::uint64_t tableOffset = is64 ? b.le64(0x28) : b.le(0x20, 4);
    const std::uint64_t entrySize = b.le(is64 ? 0x3a : 0x2e, 2);
    const std::uint64_t entries = b.le(is64 ? 0x3c : 0x30, 2);
    const std::uint64_t end = tableOffset + entrySize * entries;
    return end > size ? truncated(size, end) : "";
#endif
}

}  // namespace

std::string moduleFileProblem(const std::string& path) {
    const FileKind kind = fileKind(path);
    if (kind == FileKind::Missing) {
        return "not found";
    }
    if (kind == FileKind::Folder) {
        return "is a folder, not a file";
    }
    std::string head;
    std::uintmax_t size = 0;
    if (!readFile(path, head, size, kHeaderBytes)) {
        return "cannot be read";
    }
    if (size == 0) {
        return "is empty (0 bytes)";
    }
    Bytes b;
    b.data.assign(head.begin(), head.end());
    if (b.has(0, 2) && b.data[0] == 'M' && b.data[1] == 'Z') {
        return peProblem(b, size);
    }
    if (b.has(0, 4) && b.data[0] == 0x7f && b.data[1] == 'E' && b.data[2] == 'L' &&
        b.data[3] == 'F') {
        return elfProblem(b, size);
    }
#if defined(_WIN32)
    return "is not a Windows DLL (no PE header)";
#else
    return "is not a shared library (no ELF header)";
#endif
}

}  // namespace cs::sim
