// What the preview runs of the Wine suite left behind. Each run has a folder
// <CS_WINE_OUT>/<run> with session.jsonl (the module's start and stop) and,
// per scenario, <scenario>/log.jsonl with the kept frames beside it.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace cs::winetest {

using nlohmann::json;

// An RGB image read from a PNG file.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;
    uint32_t at(int x, int y) const;  // 0xRRGGBB; 0 outside
    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
};

// One scenario's log.jsonl.
struct ScenarioLog {
    std::string folder;
    std::string error;        // why the log could not be read; empty when fine
    json head;                // the "run" line
    std::vector<json> lines;  // every line in order

    // The frame lines of one display, in frame order.
    std::vector<const json*> frames(const std::string& display) const;
    // The kept image of a frame line (cached); null when none was kept or it
    // cannot be read.
    const Image* image(const json& frame) const;

  private:
    mutable std::map<std::string, std::unique_ptr<Image>> images_;
};

class Run {
  public:
    std::string folder;
    std::string error;  // why the run could not be read; empty when fine
    std::vector<json> session;
    std::vector<std::string> scenarios;  // the names of its scenario folders

    // The log of one scenario, read on first use; null when the run has none.
    const ScenarioLog* scenario(const std::string& name) const;

  private:
    mutable std::map<std::string, std::unique_ptr<ScenarioLog>> logs_;
};

// Reads <folder>/log.jsonl; its `error` says why when it cannot.
std::unique_ptr<ScenarioLog> readScenarioLog(const std::string& folder);

// Where two log values differ ("" when they agree): texts, flags and the
// structure exactly, numbers within `tolerance` (the log rounds to 1e-4).
std::string difference(const json& a, const json& b, double tolerance, const std::string& at);

// Loads the run <CS_WINE_OUT>/<name> (once per process).
const Run& run(const std::string& name);

// A side of the comparison ("wine" or "linux") runs the library in two runs,
// <side>-library with hover probes and <side>-busy without; the log of one
// scenario there, or null.
const ScenarioLog* onSide(const std::string& side, const std::string& scenario);

// The scenario library: the names of scenarios/*.json, sorted.
std::vector<std::string> library();

// Largest difference of the three channels.
int channelDistance(uint32_t a, uint32_t b);

}  // namespace cs::winetest
