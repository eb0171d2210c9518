// Cabinet (.cab) files, in which gauge makers ship a gauge set: the XML
// files and their bitmaps, usually MSZIP-compressed. The simulator reads
// `gaugeNN=Folder!Name` from Folder.cab as it would from a folder.
//
// A cabinet is read whole into memory and unpacked there, never onto disk:
// first its directory is walked here (the same checks on every platform),
// then the platform's library unpacks it - libmspack on Linux, the cabinet
// API of Windows (FDI, cabinet.dll) on Windows.
//
// Refused with a message: anything but a single cabinet (sets spanning
// several files are not followed), files naming folders the cabinet lacks,
// files that overlap in their folder (no real cabinet has them, and they
// would make the unpacker go over the same data again and again), and more
// than the limits below, so that a small hostile file cannot make the tool
// unpack gigabytes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace cs::gauge {

constexpr uint64_t kMaxCabinetBytes = uint64_t{64} << 20;      // the .cab file itself
constexpr uint64_t kMaxCabinetFileBytes = uint64_t{64} << 20;  // one file in it
constexpr uint64_t kMaxCabinetUnpacked = uint64_t{256} << 20;  // every folder unpacked

struct CabinetEntry {
    std::string name;  // as stored, folders separated by '\'
    uint32_t size = 0;
    uint32_t offset = 0;  // in its folder's unpacked data
    uint16_t folder = 0;
};

// Walks the cabinet's headers and directory; false with `why` ("not a
// cabinet file", "damaged cabinet: ...") when they do not hold together or
// exceed the limits.
bool readCabinetDirectory(std::string_view cabinet, std::vector<CabinetEntry>& files,
                          std::string* why);

struct CabinetFile {
    std::string name;
    std::string bytes;
};

// Unpacks every file of a cabinet whose directory readCabinetDirectory()
// accepted, in memory, with the platform's library; false with `why` when
// the data is damaged.
bool unpackCabinet(std::string_view cabinet, std::vector<CabinetFile>& files, std::string* why);

}  // namespace cs::gauge
