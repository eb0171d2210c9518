// Writes the art panel of testsupport/ArtPanel.h for the Wine suite: its
// panel.cfg into the folder given, and the gauge set's files loose into
// src/ beside it, for Debian's gcab to pack MSZIP-compressed into ArtSet.CAB
// as gauge makers' tools do.
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "testsupport/ArtPanel.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: write_art_panel FOLDER\n");
        return 2;
    }
    namespace fs = std::filesystem;
    const fs::path dir = argv[1];
    fs::remove_all(dir);
    fs::create_directories(dir / "src");
    std::ofstream(dir / "panel.cfg") << cs::testsupport::artPanelConfig();
    for (auto f : cs::testsupport::artPanelFiles()) {
        for (char& c : f.name) {
            c = c == '\\' ? '/' : c;
        }
        const fs::path path = dir / "src" / f.name;
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << f.bytes;
    }
    return 0;
}
