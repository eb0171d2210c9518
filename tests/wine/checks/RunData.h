// What one run of the scenario host left behind: its log lines and frames.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace cs::winetest {

// An RGB image read from a PNG file.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;
    // 0xRRGGBB; 0x303030-like "untouched" never appears in a drawn frame.
    uint32_t at(int x, int y) const;
    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
};

struct Run {
    std::string folder;
    std::vector<nlohmann::json> events;  // every log line in order
    std::string error;                   // why the run could not be read; empty when fine

    // The cycle lines of one scenario and display, in cycle order.
    std::vector<const nlohmann::json*> cycles(const std::string& scenario,
                                              const std::string& display) const;
    std::vector<const nlohmann::json*> byEvent(const std::string& event) const;
    // The frame of a cycle line (cached); null when it drew none or cannot be read.
    const Image* frame(const nlohmann::json& cycle) const;

  private:
    mutable std::map<std::string, std::unique_ptr<Image>> frames_;
};

// Loads <CS_WINE_OUT>/<name>/log.jsonl (once per process).
const Run& run(const std::string& name);

// Largest difference of the three channels.
int channelDistance(uint32_t a, uint32_t b);

}  // namespace cs::winetest
