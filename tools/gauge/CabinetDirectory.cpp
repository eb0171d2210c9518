// The cabinet's own headers, walked before any library sees the file:
//
//   CFHEADER  "MSCF", the cabinet's size, where the file entries start, the
//             numbers of folders and files, flags (reserve areas, the
//             previous and next cabinet of a set)
//   CFFOLDER  per folder: where its data blocks start, how many, compression
//   CFFILE    per file: size, offset in its folder's unpacked data, folder,
//             date, time, attributes, NUL-terminated name
#include <algorithm>

#include "tools/gauge/Cabinet.h"
#include "tools/gauge/LittleEndian.h"

namespace cs::gauge {

namespace {

constexpr uint16_t kPrevious = 0x1, kNext = 0x2, kReserve = 0x4;
constexpr size_t kHeader = 36, kFolderEntry = 8, kFileEntry = 16, kMaxName = 256;

struct Fields : LittleEndian {
    // A NUL-terminated text of at most kMaxName bytes at `at`; false when
    // it runs off the end.
    bool text(size_t at, std::string* out, size_t* next) const {
        const size_t end = b.find('\0', at);
        if (at >= b.size() || end == std::string_view::npos || end - at >= kMaxName) {
            return false;
        }
        *out = std::string(b.substr(at, end - at));
        *next = end + 1;
        return true;
    }
};

bool fail(std::string* why, const std::string& text) {
    *why = text;
    return false;
}

bool damaged(std::string* why, const std::string& text) {
    return fail(why, "damaged cabinet: " + text);
}

// Where the folder entries start, past the optional reserve sizes and the
// set's names (refused: the workbench reads single cabinets).
bool foldersStart(const Fields& f, uint32_t flags, size_t* folderReserve, size_t* at,
                  std::string* why) {
    if (flags & (kPrevious | kNext)) {
        return fail(why,
                    "one cabinet of a set spanning several files; only single cabinets are read");
    }
    *at = kHeader;
    *folderReserve = 0;
    if (flags & kReserve) {
        if (!f.has(kHeader, 4)) {
            return damaged(why, "the header is cut short");
        }
        *folderReserve = f.u8(kHeader + 2);
        *at = kHeader + 4 + f.u16(kHeader);
    }
    return true;
}

// The folder entries, after which the file entries follow (where the
// header's offset must say: libraries read them from either place).
bool readFolders(const Fields& f, size_t at, size_t count, size_t reserve, std::string* why) {
    for (size_t i = 0; i < count; ++i, at += kFolderEntry + reserve) {
        if (!f.has(at, kFolderEntry + reserve)) {
            return damaged(why, "the folder entries run past the end of the file");
        }
        if (f.u32(at) > f.b.size()) {
            return damaged(why, "folder " + std::to_string(i) + " starts past the end of the file");
        }
    }
    if (f.u32(16) != at) {
        return damaged(why, "the file entries are not where its header says");
    }
    return true;
}

bool readFiles(const Fields& f, size_t at, size_t count, size_t folders,
               std::vector<CabinetEntry>& files, std::string* why) {
    for (size_t i = 0; i < count; ++i) {
        CabinetEntry e;
        const size_t entry = at;
        if (!f.has(entry, kFileEntry) || !f.text(entry + kFileEntry, &e.name, &at)) {
            return damaged(why, "the file entries run past the end of the file");
        }
        e.size = f.u32(entry);
        e.offset = f.u32(entry + 4);
        e.folder = static_cast<uint16_t>(f.u16(entry + 8));
        if (e.name.empty() || e.folder >= folders) {
            return damaged(why, "file entry " + std::to_string(i) + " (\"" + e.name +
                                    "\") names no folder of the cabinet");
        }
        if (e.size > kMaxCabinetFileBytes) {
            return fail(why, "\"" + e.name + "\" would unpack to " + std::to_string(e.size) +
                                 " bytes; at most " + std::to_string(kMaxCabinetFileBytes) +
                                 " are read");
        }
        files.push_back(std::move(e));
    }
    return true;
}

// Files may not overlap in their folder, and all folders unpacked stay
// within kMaxCabinetUnpacked.
bool checkExtents(std::vector<CabinetEntry> files, std::string* why) {
    std::sort(files.begin(), files.end(), [](const CabinetEntry& a, const CabinetEntry& b) {
        return a.folder != b.folder ? a.folder < b.folder : a.offset < b.offset;
    });
    uint64_t unpacked = 0, end = 0;
    for (size_t i = 0; i < files.size(); ++i) {
        const CabinetEntry& e = files[i];
        if (i > 0 && files[i - 1].folder == e.folder && e.offset < end) {
            return damaged(why, "\"" + files[i - 1].name + "\" and \"" + e.name + "\" overlap");
        }
        if (i == 0 || files[i - 1].folder != e.folder) {
            end = 0;
        }
        unpacked += uint64_t{e.offset} + e.size - std::min<uint64_t>(end, e.offset);
        end = uint64_t{e.offset} + e.size;
        if (unpacked > kMaxCabinetUnpacked) {
            return fail(why, "the cabinet would unpack to more than " +
                                 std::to_string(kMaxCabinetUnpacked) + " bytes");
        }
    }
    return true;
}

}  // namespace

bool readCabinetDirectory(std::string_view cabinet, std::vector<CabinetEntry>& files,
                          std::string* why) {
    files.clear();
    const Fields f{{cabinet}};
    if (!f.has(0, kHeader) || cabinet.substr(0, 4) != "MSCF") {
        return fail(why, "not a cabinet file");
    }
    if (cabinet.size() > kMaxCabinetBytes) {
        return fail(why, "larger than " + std::to_string(kMaxCabinetBytes) + " bytes");
    }
    if (f.u32(8) > cabinet.size()) {
        return fail(why, "truncated cabinet: its header says " + std::to_string(f.u32(8)) +
                             " bytes, the file has " + std::to_string(cabinet.size()));
    }
    const size_t folders = f.u16(26), count = f.u16(28);
    size_t reserve = 0, at = 0;
    return foldersStart(f, f.u16(30), &reserve, &at, why) &&
           readFolders(f, at, folders, reserve, why) &&
           readFiles(f, f.u32(16), count, folders, files, why) && checkExtents(files, why);
}

}  // namespace cs::gauge
