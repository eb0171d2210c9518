// What the program writes: bad input stops it with status 2 before any file
// is written; an existing output folder keeps its other files; every file of
// a run is complete, and the log is one JSON object per line.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <nlohmann/json.hpp>

#include "testsupport/TestFolders.h"
#include "tools/output/ImageFiles.h"
#include "tools/preview/PreviewRun.h"

namespace cs::preview {
namespace {

namespace fs = std::filesystem;

fs::path scratchFolder(const std::string& name) {
    return test::freshFolder(fs::path(CS_TEST_ARTIFACTS) / "preview" / name);
}

std::string readFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

fs::path program() {
    return fs::path(CS_BINARY_DIR) / "tools/cli/contactscope-preview";
}

int runProgram(const std::string& args, const fs::path& errFile) {
    const std::string command =
        program().string() + " " + args + " >/dev/null 2>" + errFile.string();
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

const char* kGood = R"({
  "duration": "4 s",
  "own": {"latitude": 10, "longitude": 20, "altitude": "5000 ft"},
  "traffic": [{"id": 2, "bearing": 0, "distance": "3 nm", "relativeAltitude": "500 ft"}]
})";

TEST(PreviewProgram, BadInputExitsWithTwoAndWritesNothing) {
    if (!fs::exists(program())) {
        GTEST_SKIP() << "build contactscope-preview first";
    }
    const fs::path dir = scratchFolder("bad-input");
    std::ofstream(dir / "good.json") << kGood;
    std::ofstream(dir / "bad.json") << "{\n  \"duration\": \"4 s\",\n  \"own\": {\"latitude\": "
                                       "95, \"longitude\": 0, \"altitude\": \"1 ft\"},\n"
                                       "  \"traffic\": []\n}\n";
    std::ofstream(dir / "badname.json")
        << R"({"duration": "4 s", "own": {"latitude": 1, "longitude": 0, "altitude": "1 ft"},
"traffic": [], "parameters": {"TADetial": 3}})";
    const fs::path out = dir / "out";
    // The good file comes first: still nothing may be written for it.
    EXPECT_EQ(runProgram((dir / "good.json").string() + " " + (dir / "bad.json").string() + " -o " +
                             out.string(),
                         dir / "err.txt"),
              2);
    const std::string err = readFile(dir / "err.txt");
    EXPECT_NE(err.find("bad.json:3: own.latitude:"), std::string::npos) << err;
    EXPECT_FALSE(fs::exists(out));
    EXPECT_EQ(runProgram((dir / "badname.json").string() + " -o " + out.string(), dir / "err2.txt"),
              2);
    EXPECT_NE(readFile(dir / "err2.txt").find("parameters.TADetial"), std::string::npos);
    EXPECT_FALSE(fs::exists(out));
    EXPECT_EQ(runProgram("--no-such-option", dir / "err3.txt"), 2);
}

TEST(PreviewProgram, KeepsOtherFilesAndWritesCompleteOnes) {
    if (!fs::exists(program())) {
        GTEST_SKIP() << "build contactscope-preview first";
    }
    const fs::path dir = scratchFolder("keeps");
    std::ofstream(dir / "good.json") << kGood;
    const fs::path out = dir / "out";
    fs::create_directories(out / "good");
    std::ofstream(out / "mine.txt") << "keep me";
    std::ofstream(out / "good" / "notes.txt") << "keep me too";
    ASSERT_EQ(runProgram((dir / "good.json").string() + " -o " + out.string(), dir / "e.txt"), 0)
        << readFile(dir / "e.txt");
    EXPECT_EQ(readFile(out / "mine.txt"), "keep me");
    EXPECT_EQ(readFile(out / "good" / "notes.txt"), "keep me too");
    int pngs = 0;
    for (const auto& entry : fs::directory_iterator(out / "good")) {
        const std::string name = entry.path().filename().string();
        EXPECT_EQ(name.find(".tmp-"), std::string::npos) << "left over: " << name;
        if (entry.path().extension() == ".png") {
            ++pngs;
            const std::string bytes = readFile(entry.path());
            ASSERT_GT(bytes.size(), 8u);
            EXPECT_EQ(bytes.substr(1, 3), "PNG") << name;
            EXPECT_EQ(bytes.substr(bytes.size() - 8, 4), "IEND") << name;  // complete
        }
    }
    // Frames 0..4 of both displays and two contact sheets.
    EXPECT_EQ(pngs, 12);
    std::ifstream log(out / "good" / "log.jsonl");
    std::string line;
    int frames = 0, summaries = 0, runs = 0;
    while (std::getline(log, line)) {
        const nlohmann::json j = nlohmann::json::parse(line);
        const std::string type = j.at("type");
        runs += type == "run";
        summaries += type == "summary";
        if (type == "frame") {
            ++frames;
            EXPECT_TRUE(j.at("properties").contains("advisoryId"));
            EXPECT_TRUE(j.at("properties").contains("toolTip"));
            EXPECT_FALSE(j.at("properties").contains("radar"));  // no value
            if (j.at("frame") >= 2) {
                const auto& a = j.at("aircraft").at(0);
                EXPECT_EQ(a.at("atcId"), "T2");
                EXPECT_EQ(a.at("level"), "Proximity");  // 3 nm, 500 ft above
                EXPECT_NEAR(a.at("distance").get<double>(), 3.0, 1e-3);
            }
        }
    }
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(frames, 10);
    EXPECT_EQ(summaries, 2);
}

TEST(ImageFiles, AtomicWriteReplacesWholeFiles) {
    const fs::path dir = scratchFolder("atomic");
    const std::string path = (dir / "a.txt").string();
    writeFileAtomic(path, std::string("first version, rather long"));
    writeFileAtomic(path, std::string("second"));
    EXPECT_EQ(readFile(path), "second");
    EXPECT_THROW(writeFileAtomic((dir / "missing" / "b.txt").string(), std::string("x")),
                 std::runtime_error);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}

TEST(ImageFiles, ContactSheetPlacesFramesAndCaptions) {
    Image frame;
    frame.width = 20;
    frame.height = 10;
    frame.rgba.assign(20 * 10 * 4, 0);
    for (size_t i = 0; i < frame.rgba.size(); i += 4) {
        frame.rgba[i] = 200;  // red frames
        frame.rgba[i + 3] = 255;
    }
    const Image sheet =
        contactSheet({{frame, "t = 1 s"}, {frame, "t = 2 s"}, {frame, "t"}}, "T", 2);
    // Two columns, two rows of frames with their captions under them.
    ASSERT_GT(sheet.width, 2 * 20);
    ASSERT_GT(sheet.height, 2 * 10);
    int red = 0, light = 0;
    for (size_t i = 0; i < sheet.rgba.size(); i += 4) {
        red += sheet.rgba[i] == 200 && sheet.rgba[i + 1] == 0;
        light += sheet.rgba[i] == 0xE0 && sheet.rgba[i + 1] == 0xE0;
    }
    EXPECT_EQ(red, 3 * 20 * 10);
    EXPECT_GT(light, 0);  // caption pixels
    EXPECT_FALSE(encodePng(sheet).empty());
    EXPECT_TRUE(encodePng(Image{}).empty());
}

}  // namespace
}  // namespace cs::preview
