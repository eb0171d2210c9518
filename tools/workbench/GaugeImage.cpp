#include "tools/workbench/GaugeImage.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_BMP
#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wsign-compare"
#endif
#include <stb_image.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

namespace cs::workbench {

namespace {

constexpr int kMaxImageSide = 4096;
constexpr size_t kMaxFileBytes = 64u << 20;

}  // namespace

bool decodeGaugeImage(const std::string& bytes, GaugeImage& image, std::string* why) {
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    int w = 0, h = 0, channels = 0;
    unsigned char* rgba = nullptr;
    if (bytes.size() < kMaxFileBytes &&
        stbi_info_from_memory(data, static_cast<int>(bytes.size()), &w, &h, &channels) && w > 0 &&
        h > 0 && w <= kMaxImageSide && h <= kMaxImageSide) {
        rgba = stbi_load_from_memory(data, static_cast<int>(bytes.size()), &w, &h, &channels, 4);
    }
    if (rgba == nullptr) {
        *why = "not a BMP or PNG image of at most 4096 x 4096";
        return false;
    }
    image.width = w;
    image.height = h;
    image.argb.resize(static_cast<size_t>(w) * static_cast<size_t>(h));
    for (size_t i = 0; i < image.argb.size(); ++i) {
        const unsigned char* p = rgba + i * 4;
        const uint32_t a = (p[0] == 0 && p[1] == 0 && p[2] == 0) ? 0 : p[3];
        image.argb[i] =
            (a << 24) | ((p[0] * a / 255) << 16) | ((p[1] * a / 255) << 8) | (p[2] * a / 255);
    }
    stbi_image_free(rgba);
    return true;
}

bool GaugeImages::loadOne(const gauge::GaugeFile& gauge, const std::string& name, int line,
                          gauge::Diagnostics& d) {
    if (name.empty() || images_.count(name) != 0) {
        return true;
    }
    const gauge::Origin at{gauge.file, line, "Image"};
    const std::filesystem::path path = std::filesystem::path(gauge.folder) / name;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        d.error(at, "Name=\"" + name + "\": no such file in the gauge's folder " + gauge.folder);
        return false;
    }
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    GaugeImage image;
    std::string why;
    if (!decodeGaugeImage(bytes, image, &why)) {
        d.error(at, "Name=\"" + name + "\": " + why);
        return false;
    }
    images_.emplace(name, std::move(image));
    return true;
}

bool GaugeImages::load(const gauge::GaugeFile& gauge, gauge::Diagnostics& d) {
    bool ok = loadOne(gauge, gauge.background, gauge.backgroundLine, d);
    std::vector<const gauge::Node*> stack;
    for (const gauge::Node& n : gauge.elements) {
        stack.push_back(&n);
    }
    while (!stack.empty()) {
        const gauge::Node* n = stack.back();
        stack.pop_back();
        if (n->kind == gauge::NodeKind::Image) {
            ok = loadOne(gauge, n->image, n->line, d) && ok;
        }
        if (n->mask.present) {
            ok = loadOne(gauge, n->mask.image, n->mask.line, d) && ok;
        }
        for (const gauge::Node& c : n->children) {
            stack.push_back(&c);
        }
    }
    return ok;
}

const GaugeImage* GaugeImages::find(const std::string& name) const {
    auto it = images_.find(name);
    return it == images_.end() ? nullptr : &it->second;
}

}  // namespace cs::workbench
