// A panel window whose gauge set comes in a cabinet, as gauge makers ship
// them, written byte by byte for the workbench's tests and the Wine suite:
//
//   panel.cfg        [Window00] 200 x 100, gauges named in other case than stored
//   ArtSet.CAB       Dial.xml     background DialFace.bmp (24-bit red, 40 x 20),
//                                 Art\Needle.bmp at 5,5 (8-bit, black border,
//                                 green inside, pixels after a gap), a text
//                    Strip.xml    no <Size>, no background: the tall strip
//                                 Strip.bmp (16-bit 5-6-5 blue, 31 x 7290),
//                                 sized by its panel.cfg line to 31 x 60
#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "testsupport/BmpWriter.h"
#include "testsupport/CabinetWriter.h"

namespace cs::testsupport {

inline std::vector<CabinetWriter::File> artPanelFiles() {
    BmpWriter face;
    face.width = 40;
    face.height = 20;
    std::string red;
    for (int x = 0; x < 40; ++x) {
        red += std::string("\x00\x00\xFF", 3);
    }
    face.rows.assign(20, red);

    BmpWriter needle;
    needle.width = needle.height = 10;
    needle.bits = 8;
    needle.palette = {0x000000, 0x00FF00};
    needle.coloursUsed = 2;
    needle.gap = 6;
    for (int y = 0; y < 10; ++y) {
        std::string row;
        for (int x = 0; x < 10; ++x) {
            row += (x == 0 || y == 0 || x == 9 || y == 9) ? '\0' : '\1';
        }
        needle.rows.push_back(row);
    }

    BmpWriter strip;
    strip.width = 31;
    strip.height = 7290;
    strip.bits = 16;
    strip.compression = 3;
    strip.masks = {0xF800, 0x07E0, 0x001F};
    std::string blue;
    for (int x = 0; x < 31; ++x) {
        blue += std::string("\x1F\x00", 2);
    }
    strip.rows.assign(7290, blue);

    return {{"Dial.xml",
             "<Gauge Name=\"Dial\" Version=\"1.0\">\n"
             "  <Image Name=\"DIALFACE.BMP\"/>\n"
             "  <Element>\n"
             "    <Position X=\"5\" Y=\"5\"/>\n"
             "    <Image Name=\"art\\needle.bmp\"/>\n"
             "  </Element>\n"
             "  <Element>\n"
             "    <Position X=\"20\" Y=\"12\"/>\n"
             "    <Text X=\"20\" Y=\"8\" Color=\"white\"><String>CAB</String></Text>\n"
             "  </Element>\n"
             "</Gauge>\n"},
            {"Strip.xml",
             "<Gauge Name=\"Strip\" Version=\"1.0\">\n"
             "  <Element>\n"
             "    <Image Name=\"strip.bmp\"/>\n"
             "  </Element>\n"
             "</Gauge>\n"},
            {"DialFace.bmp", face.build()},
            {"Art\\Needle.bmp", needle.build()},
            {"Strip.bmp", strip.build()}};
}

inline std::string artPanelCabinet() {
    CabinetWriter cab;
    cab.files = artPanelFiles();
    return cab.build();
}

inline const char* artPanelConfig() {
    return "[Window Titles]\nWindow00=Art\n\n"
           "[Window00]\nsize_mm=200,100\n"
           "gauge00=artset!dial, 0, 0\n"
           "gauge01=ArtSet!STRIP, 100, 0, 31, 60\n";
}

// Writes panel.cfg and ArtSet.CAB into `dir`; returns the panel.cfg's path.
inline std::string writeArtPanel(const std::filesystem::path& dir) {
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "ArtSet.CAB", std::ios::binary) << artPanelCabinet();
    std::ofstream(dir / "panel.cfg") << artPanelConfig();
    return (dir / "panel.cfg").string();
}

}  // namespace cs::testsupport
