// The file calls the host and the tools share: folders made with their
// parents, names in any script, reads bounded and sized, files replaced.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "simhost/FilePath.h"

namespace cs::sim {
namespace {

class FilePathTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/cs-filepath.XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        root_ = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(root_); }

    void write(const std::string& path, const std::string& text) {
        std::FILE* f = openFile(path, "wb");
        ASSERT_NE(f, nullptr) << path;
        std::fwrite(text.data(), 1, text.size(), f);
        std::fclose(f);
    }

    std::string root_;
};

TEST_F(FilePathTest, FoldersAreMadeWithTheirParentsUnlessAFileIsInTheWay) {
    std::string deep = root_;
    for (int i = 0; i < 14; ++i) {
        deep = joinPath(deep, "Z\xc3\xbcrich-\xc3\x85ngstr\xc3\xb6m-\xce\xa9");
    }
    ASSERT_GT(deep.size(), 260u);
    EXPECT_EQ(makeFolders(deep), "");
    EXPECT_EQ(fileKind(deep), FileKind::Folder);
    EXPECT_EQ(makeFolders(deep), "") << "an existing folder is fine";

    const std::string file = joinPath(deep, "log.jsonl");
    write(file, "x");
    EXPECT_EQ(fileKind(file), FileKind::File);
    EXPECT_NE(makeFolders(joinPath(file, "below")), "");
    EXPECT_NE(makeFolders(file), "");
    EXPECT_EQ(fileKind(joinPath(deep, "nothing")), FileKind::Missing);
}

TEST_F(FilePathTest, ReadsAreBoundedButSizeTheWholeFile) {
    const std::string path = joinPath(root_, "\xce\xa9.json");
    const std::string text(200000, 'a');
    write(path, text);
    struct Case {
        std::uintmax_t limit;
        size_t expected;
    };
    for (const Case c : {Case{UINTMAX_MAX, 200000}, Case{65536, 65536}, Case{0, 0}}) {
        std::string bytes;
        std::uintmax_t size = 0;
        ASSERT_TRUE(readFile(path, bytes, size, c.limit));
        EXPECT_EQ(bytes.size(), c.expected);
        EXPECT_EQ(size, 200000u);
    }
    std::string bytes;
    std::uintmax_t size = 0;
    EXPECT_FALSE(readFile(joinPath(root_, "missing"), bytes, size));
}

TEST_F(FilePathTest, ReplaceTakesTheOldNameAndTheNameAlone) {
    const std::string target = joinPath(root_, "report.html");
    const std::string temporary = target + ".tmp-1";
    write(target, "old");
    write(temporary, "new");
    ASSERT_TRUE(replaceFile(temporary, target));
    EXPECT_EQ(fileKind(temporary), FileKind::Missing);
    std::string bytes;
    std::uintmax_t size = 0;
    ASSERT_TRUE(readFile(target, bytes, size));
    EXPECT_EQ(bytes, "new");
    EXPECT_EQ(utf8Path(fsPath(joinPath(root_, "Z\xc3\xbcrich.json")).stem()), "Z\xc3\xbcrich");
}

}  // namespace
}  // namespace cs::sim
