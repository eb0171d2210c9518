#include "tests/wine/checks/RunData.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#include <stb_image.h>

namespace cs::winetest {

namespace fs = std::filesystem;

uint32_t Image::at(int x, int y) const {
    if (!inside(x, y)) {
        return 0;
    }
    const size_t i = (static_cast<size_t>(y) * width + x) * 3;
    return (uint32_t{rgb[i]} << 16) | (uint32_t{rgb[i + 1]} << 8) | rgb[i + 2];
}

std::vector<const json*> ScenarioLog::frames(const std::string& display) const {
    std::vector<const json*> out;
    for (const json& line : lines) {
        if (line.value("type", "") == "frame" && line.value("display", "") == display) {
            out.push_back(&line);
        }
    }
    return out;
}

const Image* ScenarioLog::image(const json& frame) const {
    if (!frame.contains("image") || !frame["image"].is_string()) {
        return nullptr;
    }
    const std::string file = frame["image"].get<std::string>();
    auto found = images_.find(file);
    if (found != images_.end()) {
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
    images_[file] = std::move(image);
    return result;
}

namespace {

// The JSON lines of a file; false with `error` set when it cannot be read.
bool readLines(const std::string& path, std::vector<json>* out, std::string* error) {
    std::ifstream in(path);
    if (!in) {
        *error = "no " + path + " (did the preview run?)";
        return false;
    }
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty()) {
            continue;
        }
        json parsed = json::parse(line, nullptr, false);
        if (parsed.is_discarded()) {
            *error = path + ": unreadable line " + line.substr(0, 120);
            return false;
        }
        out->push_back(std::move(parsed));
    }
    return true;
}

}  // namespace

std::unique_ptr<ScenarioLog> readScenarioLog(const std::string& folder) {
    auto log = std::make_unique<ScenarioLog>();
    log->folder = folder;
    if (readLines(log->folder + "/log.jsonl", &log->lines, &log->error)) {
        if (log->lines.empty() || log->lines.front().value("type", "") != "run") {
            log->error = log->folder + "/log.jsonl does not start with its run line";
        } else {
            log->head = log->lines.front();
        }
    }
    return log;
}

std::string difference(const json& a, const json& b, double tolerance, const std::string& at) {
    if (a.is_number() && b.is_number()) {
        return std::fabs(a.get<double>() - b.get<double>()) <= tolerance
                   ? ""
                   : at + ": " + a.dump() + " vs " + b.dump();
    }
    if (a.type() != b.type() || a.size() != b.size()) {
        return at + ": " + a.dump().substr(0, 80) + " vs " + b.dump().substr(0, 80);
    }
    if (a.is_object()) {
        for (auto it = a.begin(); it != a.end(); ++it) {
            if (!b.contains(it.key())) {
                return at + "." + it.key() + ": missing";
            }
            const std::string d =
                difference(it.value(), b[it.key()], tolerance, at + "." + it.key());
            if (!d.empty()) {
                return d;
            }
        }
        return "";
    }
    if (a.is_array()) {
        for (size_t i = 0; i < a.size(); ++i) {
            const std::string d =
                difference(a[i], b[i], tolerance, at + "[" + std::to_string(i) + "]");
            if (!d.empty()) {
                return d;
            }
        }
        return "";
    }
    return a == b ? "" : at + ": " + a.dump() + " vs " + b.dump();
}

const ScenarioLog* Run::scenario(const std::string& name) const {
    auto found = logs_.find(name);
    if (found != logs_.end()) {
        return found->second.get();
    }
    std::unique_ptr<ScenarioLog> log;
    if (std::find(scenarios.begin(), scenarios.end(), name) != scenarios.end()) {
        log = readScenarioLog(folder + "/" + name);
    }
    const ScenarioLog* result = log.get();
    logs_[name] = std::move(log);
    return result;
}

const Run& run(const std::string& name) {
    static std::map<std::string, Run> runs;
    auto found = runs.find(name);
    if (found != runs.end()) {
        return found->second;
    }
    Run& r = runs[name];
    r.folder = std::string(CS_WINE_OUT) + "/" + name;
    if (!readLines(r.folder + "/session.jsonl", &r.session, &r.error)) {
        return r;
    }
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(r.folder, ec)) {
        if (entry.is_directory()) {
            r.scenarios.push_back(entry.path().filename().string());
        }
    }
    std::sort(r.scenarios.begin(), r.scenarios.end());
    return r;
}

const ScenarioLog* onSide(const std::string& side, const std::string& scenario) {
    for (const char* part : {"-library", "-busy"}) {
        const ScenarioLog* log = run(side + part).scenario(scenario);
        if (log != nullptr) {
            return log;
        }
    }
    return nullptr;
}

std::vector<std::string> library() {
    std::vector<std::string> names;
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(CS_SCENARIO_DIR, ec)) {
        if (entry.path().extension() == ".json") {
            names.push_back(entry.path().stem().string());
        }
    }
    std::sort(names.begin(), names.end());
    return names;
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

namespace cs::winetest {
namespace {

// On a machine that cannot run 32-bit programs the Wine side never ran: the
// probe's line in its status file says so, and every check is skipped with it
// (CS_WINE_PROBE_FILE names another status file, for the probe's own test).
class NeedsWine : public ::testing::Environment {
  public:
    void SetUp() override {
        const char* path = std::getenv("CS_WINE_PROBE_FILE");
        std::ifstream in(path != nullptr ? path : CS_WINE_PROBE);
        std::string line;
        std::getline(in, line);
        if (line.rfind("cannot run 32-bit programs", 0) == 0) {
            GTEST_SKIP() << "this machine cannot execute 32-bit programs, so ContactScope.dll was "
                            "not run under Wine ("
                         << line << ")";
        }
    }
};

const ::testing::Environment* const kNeedsWine = ::testing::AddGlobalTestEnvironment(new NeedsWine);

}  // namespace
}  // namespace cs::winetest
