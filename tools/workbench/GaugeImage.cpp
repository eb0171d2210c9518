#include "tools/workbench/GaugeImage.h"

#include <limits>

#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
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

#include "tools/workbench/BmpDecoder.h"

namespace cs::workbench {

namespace {

// A PNG through stb_image, within the same pixel limit as a bitmap.
bool decodePng(const std::string& bytes, RgbaImage& out, std::string* why) {
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    const int size = static_cast<int>(bytes.size());
    int w = 0, h = 0, channels = 0;
    if (!stbi_info_from_memory(data, size, &w, &h, &channels)) {
        *why = "not a BMP or PNG image";
        return false;
    }
    if (w < 1 || h < 1 || int64_t{w} * h > kMaxImagePixels) {
        *why = "a picture of " + std::to_string(w) + " x " + std::to_string(h) +
               " pixels; at most " + std::to_string(kMaxImagePixels) + " pixels are read";
        return false;
    }
    unsigned char* rgba = stbi_load_from_memory(data, size, &w, &h, &channels, 4);
    if (rgba == nullptr) {
        *why = std::string("a damaged PNG image: ") + stbi_failure_reason();
        return false;
    }
    out.width = w;
    out.height = h;
    out.rgba.assign(rgba, rgba + size_t(w) * size_t(h) * 4);
    stbi_image_free(rgba);
    return true;
}

}  // namespace

bool decodeGaugeImage(const std::string& bytes, GaugeImage& image, std::string* why) {
    RgbaImage decoded;
    const bool bmp = bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M';
    if (bytes.size() > static_cast<size_t>(std::numeric_limits<int>::max()) ||
        !(bmp ? decodeBmp(bytes, decoded, why) : decodePng(bytes, decoded, why))) {
        return false;
    }
    image.width = decoded.width;
    image.height = decoded.height;
    image.argb.resize(static_cast<size_t>(image.width) * static_cast<size_t>(image.height));
    for (size_t i = 0; i < image.argb.size(); ++i) {
        const uint8_t* p = decoded.rgba.data() + i * 4;
        // Pure black is the simulator's transparent key.
        const uint32_t a = (p[0] == 0 && p[1] == 0 && p[2] == 0) ? 0 : p[3];
        image.argb[i] =
            (a << 24) | ((p[0] * a / 255) << 16) | ((p[1] * a / 255) << 8) | (p[2] * a / 255);
    }
    return true;
}

bool GaugeImages::loadOne(const gauge::GaugeFile& gauge, const gauge::GaugeFiles& files,
                          const std::string& name, int line, gauge::Diagnostics& d) {
    if (name.empty() || images_.count(name) != 0) {
        return true;
    }
    const gauge::Origin at{gauge.file, line, "Image"};
    const std::string stored = files.find(name);
    if (stored.empty()) {
        d.error(at, "Name=\"" + name + "\": no such file in the gauge's folder " + files.where());
        return false;
    }
    std::string bytes, why;
    GaugeImage image;
    if (!files.read(stored, &bytes, &why) || !decodeGaugeImage(bytes, image, &why)) {
        d.error(at, "Name=\"" + name + "\": " + files.pathOf(stored) + ": " + why);
        return false;
    }
    images_.emplace(name, std::move(image));
    return true;
}

bool GaugeImages::load(const gauge::GaugeFile& gauge, const gauge::GaugeFiles& files,
                       gauge::Diagnostics& d) {
    bool ok = loadOne(gauge, files, gauge.background, gauge.backgroundLine, d);
    std::vector<const gauge::Node*> stack;
    for (const gauge::Node& n : gauge.elements) {
        stack.push_back(&n);
    }
    while (!stack.empty()) {
        const gauge::Node* n = stack.back();
        stack.pop_back();
        if (n->kind == gauge::NodeKind::Image) {
            ok = loadOne(gauge, files, n->image, n->line, d) && ok;
        }
        if (n->mask.present) {
            ok = loadOne(gauge, files, n->mask.image, n->mask.line, d) && ok;
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
