// Writes cabinet (.cab) files for tests, byte by byte: one folder, stored
// without compression, in data blocks of at most 32 KB with their
// checksums, as the cabinet format lays them out. Tests damage the result
// through the offsets below.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace cs::testsupport {

struct CabinetWriter {
    // Where the fields tests damage sit in what build() returns.
    static constexpr size_t kCabinetSize = 8, kFilesAt = 16, kFolderCount = 26, kFileCount = 28,
                            kFlags = 30, kFirstFolder = 36, kFirstFile = 44;
    // In a file entry: its size, its offset in the folder, its folder.
    static constexpr size_t kEntrySize = 0, kEntryOffset = 4, kEntryFolder = 8;

    struct File {
        std::string name;  // folders separated by '\'
        std::string bytes;
    };
    std::vector<File> files;

    static void put16(std::string& b, size_t at, uint32_t v) {
        b[at] = static_cast<char>(v & 0xFF);
        b[at + 1] = static_cast<char>((v >> 8) & 0xFF);
    }
    static void put32(std::string& b, size_t at, uint32_t v) {
        put16(b, at, v & 0xFFFF);
        put16(b, at + 2, v >> 16);
    }

    // The checksum of a data block: its data, then its two size fields,
    // each folded in 32-bit little-endian words.
    static uint32_t checksum(const std::string& bytes, uint32_t seed) {
        uint32_t sum = seed;
        size_t i = 0;
        for (; i + 4 <= bytes.size(); i += 4) {
            sum ^= static_cast<uint8_t>(bytes[i]) | static_cast<uint8_t>(bytes[i + 1]) << 8 |
                   static_cast<uint8_t>(bytes[i + 2]) << 16 |
                   static_cast<uint32_t>(static_cast<uint8_t>(bytes[i + 3])) << 24;
        }
        uint32_t tail = 0;
        for (; i < bytes.size(); ++i) {
            tail = tail << 8 | static_cast<uint8_t>(bytes[i]);
        }
        return sum ^ tail;
    }

    // The offset of file entry `index` in what build() returns.
    size_t entryAt(size_t index) const {
        size_t at = kFirstFile;
        for (size_t i = 0; i < index; ++i) {
            at += 16 + files[i].name.size() + 1;
        }
        return at;
    }

    std::string build() const {
        std::string data, entries;
        for (const File& f : files) {
            std::string e(16, '\0');
            put32(e, kEntrySize, static_cast<uint32_t>(f.bytes.size()));
            put32(e, kEntryOffset, static_cast<uint32_t>(data.size()));
            put16(e, 10, 0x5821);  // 2024-01-01
            put16(e, 14, 0x20);    // archive
            entries += e + f.name + '\0';
            data += f.bytes;
        }
        const size_t blocksAt = kFirstFile + entries.size();
        std::string blocks;
        size_t count = 0;
        for (size_t at = 0; at < data.size(); at += 32768, ++count) {
            const std::string chunk = data.substr(at, 32768);
            std::string head(8, '\0');
            put16(head, 4, static_cast<uint32_t>(chunk.size()));
            put16(head, 6, static_cast<uint32_t>(chunk.size()));
            put32(head, 0, checksum(head.substr(4), checksum(chunk, 0)));
            blocks += head + chunk;
        }
        std::string cab(kFirstFile, '\0');
        cab.replace(0, 4, "MSCF");
        put32(cab, kCabinetSize, static_cast<uint32_t>(blocksAt + blocks.size()));
        put32(cab, kFilesAt, kFirstFile);
        cab[24] = 3;  // version 1.3
        cab[25] = 1;
        put16(cab, kFolderCount, 1);
        put16(cab, kFileCount, static_cast<uint32_t>(files.size()));
        put32(cab, kFirstFolder, static_cast<uint32_t>(blocksAt));
        put16(cab, kFirstFolder + 4, static_cast<uint32_t>(count));
        return cab + entries + blocks;
    }
};

}  // namespace cs::testsupport
