// Folders for the files a test writes, under the build's test artifacts.
#pragma once

#include <filesystem>

namespace cs::test {

// `path` made anew and empty: what an earlier run left there is removed.
inline std::filesystem::path freshFolder(const std::filesystem::path& path) {
    std::filesystem::remove_all(path);
    std::filesystem::create_directories(path);
    return path;
}

}  // namespace cs::test
