// The files of a gauge folder as the simulator finds them on Windows: names
// in any case, in a folder or in a cabinet the test writes (stored by the
// test's own writer, MSZIP-compressed by Debian's gcab), and cabinets that
// are damaged or hostile refused with what is wrong, before anything large
// is unpacked.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>

#include "testsupport/CabinetWriter.h"
#include "testsupport/TestFolders.h"
#include "tools/gauge/Cabinet.h"
#include "tools/gauge/GaugeFiles.h"

namespace cs::gauge {
namespace {

namespace fs = std::filesystem;
using testsupport::CabinetWriter;

fs::path scratch(const std::string& name) {
    return test::freshFolder(fs::path(CS_TEST_ARTIFACTS) / "gauge-files" / name);
}

void write(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string contents(const GaugeFiles& files, const std::string& name) {
    std::string bytes, why;
    const std::string stored = files.find(name);
    EXPECT_FALSE(stored.empty()) << name;
    EXPECT_TRUE(stored.empty() || files.read(stored, &bytes, &why)) << why;
    return bytes;
}

TEST(GaugeFiles, FolderNamesInAnyCase) {
    const fs::path dir = scratch("folder");
    write(dir / "ALABEOIconMaster.bmp", "icon");
    write(dir / "Sub" / "Needle.BMP", "needle");
    write(dir / "a.bmp", "lower");
    write(dir / "A.bmp", "upper");
    const auto files = folderFiles(dir.string());
    EXPECT_EQ(files->find("alabeoiconmaster.bmp"), "ALABEOIconMaster.bmp");
    EXPECT_EQ(files->find("sub\\needle.bmp"), "Sub/Needle.BMP");
    EXPECT_EQ(files->find("SUB/NEEDLE.bmp"), "Sub/Needle.BMP");
    EXPECT_EQ(contents(*files, "Sub\\needle.bmp"), "needle");
    // The exact name first; of several matches, the first in name order.
    EXPECT_EQ(files->find("a.bmp"), "a.bmp");
    EXPECT_EQ(files->find("a.BMP"), "A.bmp");
    EXPECT_EQ(files->find("missing.bmp"), "");
    EXPECT_EQ(files->find("Sub"), "") << "a folder is no file";
    EXPECT_EQ(folderFiles((dir / "nowhere").string())->find("a.bmp"), "");
}

TEST(GaugeFiles, StoredCabinetUnpackedInMemory) {
    const fs::path dir = scratch("stored");
    CabinetWriter cab;
    std::string art(40000, '\0');  // over one 32 KB data block
    for (size_t i = 0; i < art.size(); ++i) {
        art[i] = static_cast<char>(i * 7);
    }
    cab.files = {{"Dial.xml", "<Gauge/>"}, {"Art\\Dial Face.bmp", art}, {"empty.txt", ""}};
    write(dir / "Set.cab", cab.build());
    std::string why;
    const auto files = cabinetFiles((dir / "Set.cab").string(), &why);
    ASSERT_NE(files, nullptr) << why;
    EXPECT_EQ(files->find("dial.XML"), "Dial.xml");
    EXPECT_EQ(files->find("art/dial face.bmp"), "Art/Dial Face.bmp");
    EXPECT_EQ(contents(*files, "ART\\DIAL FACE.BMP"), art);
    EXPECT_EQ(contents(*files, "Dial.xml"), "<Gauge/>");
    EXPECT_EQ(contents(*files, "empty.txt"), "");
    EXPECT_EQ(files->pathOf("Dial.xml"), ((dir / "Set.cab") / "Dial.xml").string());
    EXPECT_EQ(fs::directory_iterator(dir)->path().filename(), "Set.cab") << "nothing extracted";
}

// The way gauge makers ship them: MSZIP-compressed, made by another tool.
TEST(GaugeFiles, CompressedCabinetOfAnotherTool) {
    const fs::path dir = scratch("mszip");
    std::string big;
    for (int i = 0; i < 5000; ++i) {
        big += "<Element><Position X=\"" + std::to_string(i) + "\" Y=\"0\"/></Element>\n";
    }
    write(dir / "in" / "Big.xml", big);
    write(dir / "in" / "Face.bmp", std::string(70000, 'x'));
    const std::string command =
        "cd '" + (dir / "in").string() + "' && gcab --create --zip ../Set.cab Big.xml Face.bmp";
    ASSERT_EQ(std::system(command.c_str()), 0) << "gcab (scripts/setup.sh installs it)";
    std::string why;
    const auto files = cabinetFiles((dir / "Set.cab").string(), &why);
    ASSERT_NE(files, nullptr) << why;
    EXPECT_EQ(contents(*files, "big.xml"), big);
    EXPECT_EQ(contents(*files, "FACE.BMP"), std::string(70000, 'x'));
}

struct BadCabinet {
    const char* label;
    std::function<std::string()> make;
    const char* says;
};

std::string twoFiles(const std::function<void(std::string&, const CabinetWriter&)>& damage) {
    CabinetWriter w;
    w.files = {{"Gauge.xml", std::string(100, 'g')}, {"Face.bmp", std::string(300, 'f')}};
    std::string b = w.build();
    damage(b, w);
    return b;
}

class CabinetRefusals : public ::testing::TestWithParam<BadCabinet> {};

TEST_P(CabinetRefusals, RefusedWithTheReason) {
    const fs::path dir = scratch(std::string("bad-") + GetParam().label);
    write(dir / "Set.cab", GetParam().make());
    std::string why;
    EXPECT_EQ(cabinetFiles((dir / "Set.cab").string(), &why), nullptr);
    EXPECT_NE(why.find(GetParam().says), std::string::npos) << why;
}

using C = CabinetWriter;

INSTANTIATE_TEST_SUITE_P(
    Cabinets, CabinetRefusals,
    ::testing::Values(
        BadCabinet{"zip", [] { return std::string("PK\x03\x04", 4) + std::string(60, '\0'); },
                   "not a cabinet file"},
        BadCabinet{
            "cut_short",
            [] { return twoFiles([](std::string& b, const C&) { b.resize(b.size() - 9); }); },
            "truncated cabinet: its header says"},
        BadCabinet{"data_changed",
                   [] { return twoFiles([](std::string& b, const C&) { b[b.size() - 5] ^= 1; }); },
                   "checksum does not match"},
        BadCabinet{"file_longer_than_the_data",
                   [] {
                       return twoFiles([](std::string& b, const C& w) {
                           C::put32(b, w.entryAt(1) + C::kEntrySize, 5000);
                       });
                   },
                   "damaged cabinet"},
        BadCabinet{"huge_file",
                   [] {
                       return twoFiles([](std::string& b, const C& w) {
                           C::put32(b, w.entryAt(0) + C::kEntrySize, 0x7FFFFFFF);
                       });
                   },
                   "\"Gauge.xml\" would unpack to 2147483647 bytes; at most 67108864"},
        // Five files of 60 MB said, side by side: 300 MB to unpack.
        BadCabinet{"bomb",
                   [] {
                       CabinetWriter w;
                       w.files.assign(5, {"f", "x"});
                       std::string b = w.build();
                       for (uint32_t i = 0; i < 5; ++i) {
                           C::put32(b, w.entryAt(i) + C::kEntrySize, 60u << 20);
                           C::put32(b, w.entryAt(i) + C::kEntryOffset, i * (60u << 20));
                       }
                       return b;
                   },
                   "would unpack to more than 268435456 bytes"},
        BadCabinet{"no_such_folder",
                   [] {
                       return twoFiles([](std::string& b, const C& w) {
                           C::put16(b, w.entryAt(1) + C::kEntryFolder, 0xFFFD);
                       });
                   },
                   "file entry 1 (\"Face.bmp\") names no folder of the cabinet"},
        BadCabinet{"overlapping_files",
                   [] {
                       return twoFiles([](std::string& b, const C& w) {
                           C::put32(b, w.entryAt(1) + C::kEntryOffset, 50);
                       });
                   },
                   "\"Gauge.xml\" and \"Face.bmp\" overlap"},
        BadCabinet{
            "part_of_a_set",
            [] { return twoFiles([](std::string& b, const C&) { C::put16(b, C::kFlags, 2); }); },
            "one cabinet of a set spanning several files"},
        BadCabinet{"file_entries_elsewhere",
                   [] {
                       return twoFiles(
                           [](std::string& b, const C&) { C::put32(b, C::kFilesAt, 0x7FFFFFF0); });
                   },
                   "the file entries are not where its header says"},
        BadCabinet{"name_without_end",
                   [] {
                       return twoFiles([](std::string& b, const C&) {
                           b.resize(C::kFirstFile + 16 + 4);
                           C::put32(b, C::kCabinetSize, static_cast<uint32_t>(b.size()));
                           C::put32(b, C::kFirstFolder, 0);
                       });
                   },
                   "the file entries run past the end"},
        BadCabinet{"too_many_folders",
                   [] {
                       std::string b = CabinetWriter{}.build();
                       C::put16(b, C::kFolderCount, 0xFFFF);
                       return b;
                   },
                   "the folder entries run past the end"},
        // The folder's data said to start at the cabinet's own header: the
        // unpacker reads the header as data blocks, and stops.
        BadCabinet{"data_looping_back_to_the_header",
                   [] {
                       return twoFiles(
                           [](std::string& b, const C&) { C::put32(b, C::kFirstFolder, 0); });
                   },
                   "damaged cabinet"}),
    [](const auto& info) { return std::string(info.param.label); });

}  // namespace
}  // namespace cs::gauge
