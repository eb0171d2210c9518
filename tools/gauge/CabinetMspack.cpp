// Unpacking a cabinet on Linux: Debian's libmspack, given a file system of
// two memory files - the cabinet to read, and the one file being unpacked,
// which takes no more than the size its entry declares.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

#include <mspack.h>

#include "tools/gauge/Cabinet.h"

namespace cs::gauge {

namespace {

// What libmspack's file handles stand for (its mspack_file is a placeholder
// for the file system's own type).
struct MemoryFile {
    std::string_view in;  // the cabinet, when reading
    size_t at = 0;
    std::string* out = nullptr;  // the file being unpacked, when writing
    size_t limit = 0;
};

MemoryFile* memory(mspack_file* f) {
    return reinterpret_cast<MemoryFile*>(f);
}

constexpr const char* kCabinetName = "cabinet";
constexpr const char* kFileName = "file";

struct MemorySystem {
    mspack_system base{};  // first: libmspack hands back a pointer to it
    std::string_view cabinet;
    std::string* target = nullptr;
    size_t limit = 0;
};

mspack_file* openFile(mspack_system* self, const char* name, int mode) {
    auto* s = reinterpret_cast<MemorySystem*>(self);
    const bool reading = mode == MSPACK_SYS_OPEN_READ && std::strcmp(name, kCabinetName) == 0;
    const bool writing = mode == MSPACK_SYS_OPEN_WRITE && std::strcmp(name, kFileName) == 0;
    if (!reading && !writing) {
        return nullptr;
    }
    auto* f = new (std::nothrow) MemoryFile;
    if (f != nullptr && reading) {
        f->in = s->cabinet;
    } else if (f != nullptr) {
        f->out = s->target;
        f->limit = s->limit;
    }
    return reinterpret_cast<mspack_file*>(f);
}

void closeFile(mspack_file* f) {
    delete memory(f);
}

int readFile(mspack_file* file, void* buffer, int bytes) {
    MemoryFile* f = memory(file);
    if (bytes < 0 || f->out != nullptr) {
        return -1;
    }
    const size_t n = std::min(static_cast<size_t>(bytes), f->in.size() - f->at);
    std::memcpy(buffer, f->in.data() + f->at, n);
    f->at += n;
    return static_cast<int>(n);
}

// More than the entry's size is damage (or a hostile cabinet): refused.
int writeFile(mspack_file* file, void* buffer, int bytes) {
    MemoryFile* f = memory(file);
    if (bytes < 0 || f->out == nullptr || static_cast<size_t>(bytes) > f->limit - f->out->size()) {
        return -1;
    }
    f->out->append(static_cast<const char*>(buffer), static_cast<size_t>(bytes));
    return bytes;
}

int seekFile(mspack_file* file, off_t offset, int mode) {
    MemoryFile* f = memory(file);
    const size_t size = f->out != nullptr ? f->out->size() : f->in.size();
    const off_t base = mode == MSPACK_SYS_SEEK_START ? 0
                       : mode == MSPACK_SYS_SEEK_CUR ? static_cast<off_t>(f->at)
                                                     : static_cast<off_t>(size);
    if (offset < -base || offset > static_cast<off_t>(size) - base) {
        return -1;
    }
    f->at = static_cast<size_t>(base + offset);
    return 0;
}

off_t tellFile(mspack_file* f) {
    return static_cast<off_t>(memory(f)->at);
}
void message(mspack_file*, const char*, ...) {}  // warnings: the result says what counts
void* allocate(mspack_system*, size_t bytes) {
    return std::malloc(bytes);
}
void release(void* p) {
    std::free(p);
}
void copy(void* from, void* to, size_t bytes) {
    std::memmove(to, from, bytes);
}

std::string describe(int error) {
    switch (error) {
        case MSPACK_ERR_SIGNATURE:
            return "not a cabinet file";
        case MSPACK_ERR_NOMEMORY:
            return "out of memory unpacking the cabinet";
        case MSPACK_ERR_CHECKSUM:
            return "damaged cabinet: a data block's checksum does not match";
        case MSPACK_ERR_WRITE:
            return "damaged cabinet: a file unpacks to more than its size";
        default:
            return "damaged cabinet: its data cannot be unpacked (libmspack error " +
                   std::to_string(error) + ")";
    }
}

// The cabinet's files in the order of their data: each folder unpacked once.
std::vector<mscabd_file*> inDataOrder(const mscabd_cabinet* cab) {
    std::vector<std::pair<std::pair<size_t, unsigned>, mscabd_file*>> order;
    for (mscabd_file* f = cab->files; f != nullptr; f = f->next) {
        size_t folder = 0;
        for (const mscabd_folder* d = cab->folders; d != nullptr && d != f->folder; d = d->next) {
            ++folder;
        }
        order.push_back({{folder, f->offset}, f});
    }
    std::stable_sort(order.begin(), order.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<mscabd_file*> files;
    for (const auto& o : order) {
        files.push_back(o.second);
    }
    return files;
}

}  // namespace

bool unpackCabinet(std::string_view cabinet, std::vector<CabinetFile>& files, std::string* why) {
    files.clear();
    int selftest = MSPACK_ERR_OK;
    MSPACK_SYS_SELFTEST(selftest);
    if (selftest != MSPACK_ERR_OK) {
        *why = "libmspack was built for another file offset size";
        return false;
    }
    MemorySystem system;
    system.base = mspack_system{openFile, closeFile, readFile, writeFile, seekFile, tellFile,
                                message,  allocate,  release,  copy,      nullptr};
    system.cabinet = cabinet;
    mscab_decompressor* d = mspack_create_cab_decompressor(&system.base);
    if (d == nullptr) {
        *why = "out of memory unpacking the cabinet";
        return false;
    }
    mscabd_cabinet* cab = d->open(d, kCabinetName);
    int error = cab == nullptr ? d->last_error(d) : MSPACK_ERR_OK;
    for (mscabd_file* f : cab == nullptr ? std::vector<mscabd_file*>{} : inDataOrder(cab)) {
        files.push_back(CabinetFile{f->filename, std::string()});
        system.target = &files.back().bytes;
        system.limit = f->length;
        error = d->extract(d, f, kFileName);
        if (error == MSPACK_ERR_OK && files.back().bytes.size() != f->length) {
            error = MSPACK_ERR_DATAFORMAT;
        }
        if (error != MSPACK_ERR_OK) {
            break;
        }
    }
    if (cab != nullptr) {
        d->close(d, cab);
    }
    mspack_destroy_cab_decompressor(d);
    if (error != MSPACK_ERR_OK) {
        files.clear();
        *why = describe(error);
        return false;
    }
    return true;
}

}  // namespace cs::gauge
