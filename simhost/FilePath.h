// File names as the replacement host and the tools carry them: UTF-8 text,
// taken to the platform's file calls here. On Windows these are the
// wide-character calls, so that a name outside the user's code page works,
// and a path longer than the classic 260-character limit goes with the
// prefix \\?\ (absolute), which every Windows version and Wine accept
// without the system's long-path setting.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

namespace cs::sim {

// A UTF-8 path as std::filesystem takes it, and back (only for taking
// paths apart and joining them: the file calls below do the rest).
std::filesystem::path fsPath(const std::string& utf8);
std::string utf8Path(const std::filesystem::path& path);

// `folder` / `name`, with this platform's separator.
std::string joinPath(const std::string& folder, const std::string& name);

enum class FileKind { Missing, File, Folder, Other };
FileKind fileKind(const std::string& utf8);

// fopen with the platform's widest reach; nullptr when it cannot.
std::FILE* openFile(const std::string& utf8, const char* mode);

// The whole file into `bytes` (at most `limit` bytes); false when it
// cannot be read. `size` gets the file's full size.
bool readFile(const std::string& utf8, std::string& bytes, std::uintmax_t& size,
              std::uintmax_t limit = UINTMAX_MAX);

// Renames `from` over `to` (replacing it); false when it cannot.
bool replaceFile(const std::string& from, const std::string& to);
void removeFile(const std::string& utf8);

// Creates the folder and its missing parents: empty, or why it could not.
std::string makeFolders(const std::string& utf8);

#if defined(_WIN32)
std::wstring wideText(const std::string& utf8);
std::string utf8Text(const std::wstring& wide);
// The path for a wide-character file call: `utf8` as it is while short
// enough, else absolute in the \\?\ form.
std::wstring widePath(const std::string& utf8);
#endif

}  // namespace cs::sim
