// Fuzzes the designers' art the workbench reads from their files: the input
// as a BMP file, and as a gauge cabinet walked and - when its directory is
// accepted - unpacked in memory by the platform's library (libmspack here).
//
// Checks: a decoded bitmap has the pixels its size says and stays within the
// pixel limit, every refusal says why, an unpacked cabinet holds the files
// its directory lists with their sizes; nothing crashes, reads out of bounds
// or leaks (ASan, UBSan).
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzSupport.h"
#include "tools/gauge/Cabinet.h"
#include "tools/workbench/BmpDecoder.h"

namespace {

using cs::fuzz::check;

void bitmap(std::string_view bytes) {
    cs::workbench::RgbaImage image;
    std::string why;
    if (!cs::workbench::decodeBmp(bytes, image, &why)) {
        check(!why.empty(), "a refused bitmap says why");
        return;
    }
    const int64_t pixels = int64_t{image.width} * image.height;
    check(image.width > 0 && image.height > 0, "a bitmap has pixels", static_cast<double>(pixels));
    check(pixels <= cs::workbench::kMaxImagePixels, "within the pixel limit",
          static_cast<double>(pixels));
    check(image.rgba.size() == static_cast<size_t>(pixels) * 4, "four bytes a pixel");
}

void cabinet(std::string_view bytes) {
    std::vector<cs::gauge::CabinetEntry> directory;
    std::string why;
    if (!cs::gauge::readCabinetDirectory(bytes, directory, &why)) {
        check(!why.empty(), "a refused cabinet says why");
        return;
    }
    std::vector<cs::gauge::CabinetFile> files;
    if (!cs::gauge::unpackCabinet(bytes, files, &why)) {
        check(!why.empty() && files.empty(), "a cabinet that cannot be unpacked says why");
        return;
    }
    check(files.size() == directory.size(), "every listed file unpacked",
          static_cast<double>(files.size()));
    uint64_t listed = 0, unpacked = 0;
    for (size_t i = 0; i < files.size(); ++i) {
        listed += directory[i].size;
        unpacked += files[i].bytes.size();
    }
    check(listed == unpacked, "each file as large as listed", static_cast<double>(unpacked));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    bitmap(bytes);
    cabinet(bytes);
    return 0;
}
