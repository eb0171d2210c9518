// A module that cannot be loaded is refused with the reason in words: the
// broken files a user or a build can produce, each made from the real module.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "simhost/ModuleLoader.h"

namespace cs::e2e {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<char>;

Bytes realModule() {
    std::ifstream in(CS_MODULE_PATH, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The smallest PE header of a 32-bit x86 DLL: "MZ", the PE header at 0x40.
Bytes windowsDll() {
    Bytes b(0x40 + 24 + 16, '\0');
    b[0] = 'M';
    b[1] = 'Z';
    b[0x3c] = 0x40;
    b[0x40] = 'P';
    b[0x41] = 'E';
    b[0x44] = 0x4c;  // machine 0x14c
    b[0x45] = 0x01;
    b[0x57] = 0x21;  // characteristics: DLL
    return b;
}

struct BrokenModule {
    const char* name;
    Bytes bytes;
    const char* reason;
};

TEST(ModuleFile, BrokenModulesAreRefusedWithTheReason) {
    const Bytes good = realModule();
    ASSERT_GT(good.size(), 4096u);
    Bytes otherClass = good;
    otherClass[4] = otherClass[4] == 2 ? 1 : 2;  // 32-bit <-> 64-bit
    Bytes otherMachine = good;
    otherMachine[18] = static_cast<char>(0xef);
    otherMachine[19] = static_cast<char>(0xbe);
    const std::vector<BrokenModule> table = {
        {"empty", {}, "is empty"},
        {"text", Bytes{'h', 'e', 'l', 'l', 'o', '\n'}, "no ELF header"},
        {"cut-off", Bytes(good.begin(), good.begin() + 4096), "is truncated: 4096 bytes"},
        {"other-class", otherClass, "-bit library; this program is"},
        {"other-machine", otherMachine, "is built for 64-bit machine 0xbeef"},
        {"windows", windowsDll(), "is a Windows file (32-bit x86)"},
    };
    const fs::path dir = fs::path(CS_TEST_ARTIFACTS) / "module-file";
    fs::remove_all(dir);
    fs::create_directories(dir / "folder.so");
    for (const BrokenModule& row : table) {
        const fs::path path = dir / (std::string(row.name) + ".so");
        std::ofstream(path, std::ios::binary)
            .write(row.bytes.data(), static_cast<std::streamsize>(row.bytes.size()));
        sim::ModuleLoader loader;
        EXPECT_FALSE(loader.load(path.string())) << row.name;
        EXPECT_NE(loader.error().find(row.reason), std::string::npos)
            << row.name << ": " << loader.error();
    }
    const std::vector<std::pair<std::string, const char*>> paths = {
        {(dir / "missing.so").string(), "not found"},
        {(dir / "folder.so").string(), "is a folder"},
        {"libm.so.6", "exports no DLLStart and no DLLStop"},  // searched for by the system
    };
    for (const auto& [path, reason] : paths) {
        sim::ModuleLoader loader;
        EXPECT_FALSE(loader.load(path)) << path;
        EXPECT_NE(loader.error().find(reason), std::string::npos) << path << ": " << loader.error();
    }
}

}  // namespace
}  // namespace cs::e2e
