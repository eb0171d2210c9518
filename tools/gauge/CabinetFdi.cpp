// Unpacking a cabinet on Windows: the system's cabinet API (FDI in
// cabinet.dll), as the simulator itself reads gauge cabinets. FDI opens its
// "files" through callbacks: the cabinet's name is the address of the bytes
// in memory, and each file it unpacks goes into a memory buffer that takes
// no more than the size its entry declares.
#include <windows.h>

#include <fdi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

#include "tools/gauge/Cabinet.h"

namespace cs::gauge {

namespace {

struct Stream {
    std::string_view in;  // the cabinet, when reading
    size_t at = 0;
    bool writing = false;
    std::string out;  // the file being unpacked
    size_t limit = 0;
    std::string name;
};

// What one FDICopy works with; every stream it opened lives here until the
// end, whether FDI closed it or gave up first.
struct Unpacking {
    std::string_view cabinet;
    std::vector<std::unique_ptr<Stream>> streams;
    std::vector<CabinetFile>* files = nullptr;
    std::string failure;

    INT_PTR add(std::unique_ptr<Stream> s) {
        streams.push_back(std::move(s));
        return reinterpret_cast<INT_PTR>(streams.back().get());
    }
};

Stream* stream(INT_PTR hf) {
    return reinterpret_cast<Stream*>(hf);
}

FNALLOC(allocate) {
    return std::malloc(cb);
}
FNFREE(release) {
    std::free(pv);
}

// The cabinet's name is "<address of its Unpacking>".
FNOPEN(openFile) {
    (void)oflag;
    (void)pmode;
    void* address = nullptr;
    if (std::sscanf(pszFile, "%p", &address) != 1 || address == nullptr) {
        return -1;
    }
    auto* u = static_cast<Unpacking*>(address);
    auto s = std::make_unique<Stream>();
    s->in = u->cabinet;
    return u->add(std::move(s));
}

FNREAD(readFile) {
    Stream* s = stream(hf);
    if (s->writing) {
        return static_cast<UINT>(-1);
    }
    const size_t n = std::min<size_t>(cb, s->in.size() - s->at);
    std::memcpy(pv, s->in.data() + s->at, n);
    s->at += n;
    return static_cast<UINT>(n);
}

// More than the entry's size is damage (or a hostile cabinet): refused.
FNWRITE(writeFile) {
    Stream* s = stream(hf);
    if (!s->writing || cb > s->limit - s->out.size()) {
        return static_cast<UINT>(-1);
    }
    s->out.append(static_cast<const char*>(pv), cb);
    return cb;
}

FNCLOSE(closeFile) {
    (void)hf;  // freed with the Unpacking
    return 0;
}

FNSEEK(seekFile) {
    Stream* s = stream(hf);
    const long long size = static_cast<long long>(s->writing ? s->out.size() : s->in.size());
    const long long base = seektype == SEEK_SET   ? 0
                           : seektype == SEEK_CUR ? static_cast<long long>(s->at)
                                                  : size;
    const long long to = base + dist;
    if (to < 0 || to > size) {
        return -1;
    }
    s->at = static_cast<size_t>(to);
    return static_cast<__LONG32>(to);
}

INT_PTR copyFile(Unpacking& u, PFDINOTIFICATION n) {
    if (n->cb < 0 || static_cast<uint64_t>(n->cb) > kMaxCabinetFileBytes) {
        u.failure = std::string(1, '"').append(n->psz1).append("\" is too large");
        return -1;
    }
    auto s = std::make_unique<Stream>();
    s->writing = true;
    s->limit = static_cast<size_t>(n->cb);
    s->name = n->psz1;
    return u.add(std::move(s));
}

FNFDINOTIFY(notify) {
    Unpacking& u = *static_cast<Unpacking*>(pfdin->pv);
    switch (fdint) {
        case fdintCOPY_FILE:
            return copyFile(u, pfdin);
        case fdintCLOSE_FILE_INFO: {
            Stream* s = stream(pfdin->hf);
            if (s->out.size() != s->limit) {
                u.failure =
                    "damaged cabinet: \"" + s->name + "\" unpacks to fewer bytes than its size";
                return FALSE;
            }
            u.files->push_back(CabinetFile{s->name, std::move(s->out)});
            return TRUE;
        }
        case fdintPARTIAL_FILE:
        case fdintNEXT_CABINET:
            u.failure =
                "one cabinet of a set spanning several files; only single cabinets are read";
            return -1;
        default:
            return 0;
    }
}

std::string describe(const ERF& erf, const Unpacking& u) {
    if (!u.failure.empty()) {
        return u.failure;
    }
    switch (erf.erfOper) {
        case FDIERROR_NOT_A_CABINET:
            return "not a cabinet file";
        case FDIERROR_ALLOC_FAIL:
            return "out of memory unpacking the cabinet";
        case FDIERROR_TARGET_FILE:
            return "damaged cabinet: a file unpacks to more than its size";
        case FDIERROR_UNKNOWN_CABINET_VERSION:
            return "a cabinet of a version Windows does not read";
        default:
            return "damaged cabinet: its data cannot be unpacked (FDI error " +
                   std::to_string(erf.erfOper) + ")";
    }
}

}  // namespace

bool unpackCabinet(std::string_view cabinet, std::vector<CabinetFile>& files, std::string* why) {
    files.clear();
    ERF erf{};
    HFDI fdi = FDICreate(allocate, release, openFile, readFile, writeFile, closeFile, seekFile,
                         cpuUNKNOWN, &erf);
    if (fdi == nullptr) {
        *why = "the cabinet API cannot start (cabinet.dll)";
        return false;
    }
    Unpacking u;
    u.cabinet = cabinet;
    u.files = &files;
    char name[32];
    std::snprintf(name, sizeof name, "%p", static_cast<void*>(&u));
    char path[1] = {0};
    const bool ok = FDICopy(fdi, name, path, 0, notify, nullptr, &u) && u.failure.empty();
    FDIDestroy(fdi);
    if (!ok) {
        files.clear();
        *why = describe(erf, u);
    }
    return ok;
}

}  // namespace cs::gauge
