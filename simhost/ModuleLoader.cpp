#include "simhost/ModuleLoader.h"

#include "simhost/FilePath.h"
#include "simhost/ModuleFile.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace cs::sim {

namespace {

#if defined(_WIN32)
void* openLibrary(const std::string& path, bool /*keepMapped*/, std::string& error) {
    HMODULE module = LoadLibraryW(widePath(path).c_str());
    if (module == nullptr) {
        const DWORD code = GetLastError();
        char text[256] = {};
        FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                       text, sizeof text, nullptr);
        std::string reason = text;
        while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' ||
                                   reason.back() == ' ' || reason.back() == '.')) {
            reason.pop_back();
        }
        error = "Windows would not load it (error " + std::to_string(code) +
                (reason.empty() ? "" : ": " + reason) + ")";
        if (code == ERROR_MOD_NOT_FOUND) {
            error += "; a DLL it needs is missing";
        }
    }
    return reinterpret_cast<void*>(module);
}

void* findSymbol(void* handle, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle), name));
}

void closeLibrary(void* handle) {
    FreeLibrary(static_cast<HMODULE>(handle));
}
#else
void* openLibrary(const std::string& path, bool keepMapped, std::string& error) {
    const int flags = RTLD_NOW | RTLD_LOCAL | (keepMapped ? RTLD_NODELETE : 0);
    void* handle = dlopen(path.c_str(), flags);
    if (handle == nullptr) {
        const char* message = dlerror();
        error = std::string("the dynamic loader would not load it: ") +
                (message != nullptr ? message : "dlopen failed");
    }
    return handle;
}

void* findSymbol(void* handle, const char* name) {
    return dlsym(handle, name);
}

void closeLibrary(void* handle) {
    dlclose(handle);
}
#endif

}  // namespace

ModuleLoader::~ModuleLoader() {
    unload();
}

bool ModuleLoader::load(const std::string& path) {
    unload();
    // A bare name that is no file here is the system loader's to search for;
    // anything else is checked first, for a clearer reason than the loader's.
    const bool searched =
        path.find_first_of("/\\") == std::string::npos && fileKind(path) == FileKind::Missing;
    error_ = searched ? std::string() : moduleFileProblem(path);
    if (!error_.empty()) {
        return false;
    }
    handle_ = openLibrary(path, keepMapped, error_);
    if (handle_ == nullptr) {
        return false;
    }
    start_ = reinterpret_cast<ModuleRoutine>(findSymbol(handle_, "DLLStart"));
    stop_ = reinterpret_cast<ModuleRoutine>(findSymbol(handle_, "DLLStop"));
    importTable_ = static_cast<ImportTableRecord*>(findSymbol(handle_, "ImportTable"));
    linkage_ = static_cast<LinkageRecord*>(findSymbol(handle_, "Linkage"));
    panels_ = static_cast<HostServices**>(findSymbol(handle_, "Panels"));
    if (start_ == nullptr || stop_ == nullptr) {
        error_ = std::string("is not a simulator module: it exports no ") +
                 (start_ == nullptr && stop_ == nullptr ? "DLLStart and no DLLStop"
                  : start_ == nullptr                   ? "DLLStart"
                                                        : "DLLStop");
        unload();
        return false;
    }
    return true;
}

void ModuleLoader::unload() {
    if (handle_ == nullptr) {
        return;
    }
    if (started_) {
        stop();
    }
    closeLibrary(handle_);
    handle_ = nullptr;
    start_ = nullptr;
    stop_ = nullptr;
    importTable_ = nullptr;
    linkage_ = nullptr;
    panels_ = nullptr;
}

void* ModuleLoader::symbol(const char* name) const {
    return handle_ != nullptr && name != nullptr ? findSymbol(handle_, name) : nullptr;
}

bool ModuleLoader::handOver(HostServices* services, HandOverRoute route) {
    if (route == HandOverRoute::Panels) {
        if (panels_ == nullptr) {
            return false;
        }
        *panels_ = services;
        return true;
    }
    if (importTable_ == nullptr) {
        return false;
    }
    importTable_->panelServices.table = services;
    return true;
}

bool ModuleLoader::start() {
    if (start_ == nullptr) {
        return false;
    }
    start_();
    started_ = true;
    return true;
}

bool ModuleLoader::stop() {
    if (stop_ == nullptr) {
        return false;
    }
    stop_();
    started_ = false;
    return true;
}

}  // namespace cs::sim
