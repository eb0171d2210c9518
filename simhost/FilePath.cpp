#include "simhost/FilePath.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#if defined(_WIN32)
#include <windows.h>
#else
#include <sys/stat.h>
#endif

namespace cs::sim {

std::filesystem::path fsPath(const std::string& utf8) {
#if defined(_WIN32)
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
#else
    return std::filesystem::path(utf8);
#endif
}

std::string utf8Path(const std::filesystem::path& path) {
#if defined(_WIN32)
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
#else
    return path.string();
#endif
}

std::string joinPath(const std::string& folder, const std::string& name) {
    return utf8Path(fsPath(folder) / fsPath(name));
}

#if defined(_WIN32)
std::wstring wideText(const std::string& utf8) {
    if (utf8.empty()) {
        return std::wstring();
    }
    const int n =
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
    return out;
}

std::string utf8Text(const std::wstring& wide) {
    if (wide.empty()) {
        return std::string();
    }
    const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                      nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n,
                        nullptr, nullptr);
    return out;
}

std::wstring widePath(const std::string& utf8) {
    std::wstring path = wideText(utf8);
    // Room for a file name appended by the call's own handling (8.3 names,
    // a folder's "\*"): well below MAX_PATH the plain form is kept.
    if (path.size() < MAX_PATH - 12 || path.rfind(L"\\\\?\\", 0) == 0) {
        return path;
    }
    const DWORD n = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (n == 0) {
        return path;
    }
    std::wstring full(n, L'\0');
    const DWORD written = GetFullPathNameW(path.c_str(), n, full.data(), nullptr);
    full.resize(written);
    // The \\?\ form is taken as it is: no / for \, no . or .. resolved, which
    // GetFullPathNameW has done.
    if (full.rfind(L"\\\\", 0) == 0) {
        return L"\\\\?\\UNC\\" + full.substr(2);  // \\server\share
    }
    return L"\\\\?\\" + full;
}
#endif

FileKind fileKind(const std::string& utf8) {
#if defined(_WIN32)
    const DWORD attributes = GetFileAttributesW(widePath(utf8).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD code = GetLastError();
        return code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND ? FileKind::Missing
                                                                            : FileKind::Other;
    }
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? FileKind::Folder : FileKind::File;
#else
    struct stat st {};
    if (stat(utf8.c_str(), &st) != 0) {
        return errno == ENOENT || errno == ENOTDIR ? FileKind::Missing : FileKind::Other;
    }
    return S_ISDIR(st.st_mode)   ? FileKind::Folder
           : S_ISREG(st.st_mode) ? FileKind::File
                                 : FileKind::Other;
#endif
}

std::FILE* openFile(const std::string& utf8, const char* mode) {
#if defined(_WIN32)
    return _wfopen(widePath(utf8).c_str(), wideText(mode).c_str());
#else
    return std::fopen(utf8.c_str(), mode);
#endif
}

bool readFile(const std::string& utf8, std::string& bytes, std::uintmax_t& size,
              std::uintmax_t limit) {
    bytes.clear();
    size = 0;
    std::FILE* file = openFile(utf8, "rb");
    if (file == nullptr) {
        return false;
    }
    char buffer[65536];
    bool ok = true;
    for (;;) {
        const size_t n = std::fread(buffer, 1, sizeof buffer, file);
        size += n;
        if (bytes.size() < limit) {
            bytes.append(buffer,
                         static_cast<size_t>(std::min<std::uintmax_t>(n, limit - bytes.size())));
        }
        if (n < sizeof buffer) {
            ok = std::ferror(file) == 0;
            break;
        }
    }
    std::fclose(file);
    return ok;
}

bool replaceFile(const std::string& from, const std::string& to) {
#if defined(_WIN32)
    return MoveFileExW(widePath(from).c_str(), widePath(to).c_str(), MOVEFILE_REPLACE_EXISTING) !=
           0;
#else
    return std::rename(from.c_str(), to.c_str()) == 0;
#endif
}

void removeFile(const std::string& utf8) {
#if defined(_WIN32)
    DeleteFileW(widePath(utf8).c_str());
#else
    std::remove(utf8.c_str());
#endif
}

std::string makeFolders(const std::string& utf8) {
    const FileKind kind = fileKind(utf8);
    if (kind == FileKind::Folder) {
        return std::string();
    }
    if (kind != FileKind::Missing) {
        return "a file of that name is in the way";
    }
    const std::string parent = utf8Path(fsPath(utf8).parent_path());
    if (!parent.empty() && parent != utf8) {
        const std::string problem = makeFolders(parent);
        if (!problem.empty()) {
            return problem;
        }
    }
#if defined(_WIN32)
    if (CreateDirectoryW(widePath(utf8).c_str(), nullptr) == 0 &&
        GetLastError() != ERROR_ALREADY_EXISTS) {
        const DWORD code = GetLastError();
        return code == ERROR_ACCESS_DENIED ? "access denied"
                                           : "Windows error " + std::to_string(code);
    }
#else
    if (mkdir(utf8.c_str(), 0777) != 0 && errno != EEXIST) {
        return std::strerror(errno);
    }
#endif
    return std::string();
}

}  // namespace cs::sim
