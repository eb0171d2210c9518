#include "tests/wine/checks/RunData.h"

#include <cstdlib>
#include <fstream>

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#include <stb_image.h>

namespace cs::winetest {

uint32_t Image::at(int x, int y) const {
    if (!inside(x, y)) {
        return 0;
    }
    const size_t i = (static_cast<size_t>(y) * width + x) * 3;
    return (uint32_t{rgb[i]} << 16) | (uint32_t{rgb[i + 1]} << 8) | rgb[i + 2];
}

std::vector<const nlohmann::json*> Run::cycles(const std::string& scenario,
                                               const std::string& display) const {
    std::vector<const nlohmann::json*> out;
    for (const nlohmann::json& e : events) {
        if (e.value("event", "") == "cycle" && e.value("scenario", "") == scenario &&
            e.value("display", "") == display) {
            out.push_back(&e);
        }
    }
    return out;
}

std::vector<const nlohmann::json*> Run::byEvent(const std::string& event) const {
    std::vector<const nlohmann::json*> out;
    for (const nlohmann::json& e : events) {
        if (e.value("event", "") == event) {
            out.push_back(&e);
        }
    }
    return out;
}

const Image* Run::frame(const nlohmann::json& cycle) const {
    if (!cycle.contains("frame") || !cycle["frame"].is_string()) {
        return nullptr;
    }
    const std::string file = cycle["frame"].get<std::string>();
    auto found = frames_.find(file);
    if (found != frames_.end()) {
        return found->second.get();
    }
    int w = 0, h = 0, n = 0;
    unsigned char* data = stbi_load((folder + "/" + file).c_str(), &w, &h, &n, 3);
    std::unique_ptr<Image> image;
    if (data != nullptr) {
        image = std::make_unique<Image>();
        image->width = w;
        image->height = h;
        image->rgb.assign(data, data + static_cast<size_t>(w) * h * 3);
        stbi_image_free(data);
    }
    const Image* result = image.get();
    frames_[file] = std::move(image);
    return result;
}

const Run& run(const std::string& name) {
    static std::map<std::string, std::unique_ptr<Run>> runs;
    auto found = runs.find(name);
    if (found != runs.end()) {
        return *found->second;
    }
    auto r = std::make_unique<Run>();
    r->folder = std::string(CS_WINE_OUT) + "/" + name;
    std::ifstream in(r->folder + "/log.jsonl");
    if (!in) {
        r->error = "no log in " + r->folder + " (did the host test run?)";
    }
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty()) {
            continue;
        }
        nlohmann::json parsed = nlohmann::json::parse(line, nullptr, false);
        if (parsed.is_discarded()) {
            r->error = "unreadable log line: " + line.substr(0, 120);
            break;
        }
        r->events.push_back(std::move(parsed));
    }
    const Run& result = *r;
    runs[name] = std::move(r);
    return result;
}

int channelDistance(uint32_t a, uint32_t b) {
    int worst = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int d =
            std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF));
        worst = d > worst ? d : worst;
    }
    return worst;
}

}  // namespace cs::winetest
