#include "tools/gauge/PanelConfig.h"

#include <cstdlib>
#include <set>
#include <sstream>

namespace cs::gauge {

namespace {

std::string trim(const std::string& s) {
    const char* ws = " \t\r\n";
    const size_t b = s.find_first_not_of(ws);
    return b == std::string::npos ? std::string() : s.substr(b, s.find_last_not_of(ws) - b + 1);
}

// "Window09" -> 9; -1 for anything else.
int windowNumber(const std::string& name) {
    const std::string lower = lowerAscii(name);
    if (lower.size() < 7 || lower.compare(0, 6, "window") != 0 || lower.size() > 9) {
        return -1;
    }
    int n = 0;
    for (size_t i = 6; i < lower.size(); ++i) {
        if (lower[i] < '0' || lower[i] > '9') {
            return -1;
        }
        n = n * 10 + (lower[i] - '0');
    }
    return n;
}

bool number(const std::string& text, double* out) {
    const std::string t = trim(text);
    char* end = nullptr;
    const double v = std::strtod(t.c_str(), &end);
    if (t.empty() || end != t.c_str() + t.size() || !(v > -1e6 && v < 1e6)) {
        return false;
    }
    *out = v;
    return true;
}

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::stringstream in(text);
    std::string part;
    while (std::getline(in, part, separator)) {
        parts.push_back(trim(part));
    }
    if (!text.empty() && text.back() == separator) {
        parts.emplace_back();
    }
    return parts;
}

const char* const kWindowKeys[] = {
    "size_mm",     "window_size_ratio", "position",         "visible",  "ident",    "window_size",
    "window_pos",  "background_color",  "zorder",           "sizeable", "nomenu",   "no_luminous",
    "alpha_blend", "child_3d",          "render_3d_window", "type",     "file",     "file_1024",
    "file_640",    "file_800",          "pixel_size",       "hidden",   "windowed", "draggable",
    "transparent"};

}  // namespace

bool readPanelWindow(std::string_view text, const std::string& file, int number,
                     PanelWindow& window, Diagnostics& diagnostics) {
    window = PanelWindow{};
    window.number = number;
    const size_t errors = diagnostics.errorCount();
    std::set<int> sections;
    std::string section;
    const std::string windowName =
        "Window" + std::string(number < 10 ? "0" : "") + std::to_string(number);
    std::istringstream in{std::string(text)};
    std::string raw;
    int line = 0;
    bool inWindow = false;
    std::vector<std::string> known(std::begin(kWindowKeys), std::end(kWindowKeys));
    while (std::getline(in, raw)) {
        ++line;
        std::string s = raw;
        for (const char* comment : {"//", ";"}) {
            const size_t c = s.find(comment);
            if (c != std::string::npos) {
                s = s.substr(0, c);
            }
        }
        s = trim(s);
        if (s.empty()) {
            continue;
        }
        if (s.front() == '[') {
            if (s.back() != ']') {
                diagnostics.error(Origin{file, line, ""},
                                  "\"" + s + "\": a section header ends with ]");
                continue;
            }
            section = trim(s.substr(1, s.size() - 2));
            const int n = windowNumber(section);
            if (n >= 0) {
                sections.insert(n);
            }
            inWindow = n == number;
            if (inWindow) {
                window.line = line;
            }
            continue;
        }
        const size_t eq = s.find('=');
        if (eq == std::string::npos) {
            diagnostics.warn(Origin{file, line, section},
                             "\"" + s + "\" is no key=value line; ignored");
            continue;
        }
        const std::string key = lowerAscii(trim(s.substr(0, eq)));
        const std::string value = trim(s.substr(eq + 1));
        if (lowerAscii(section) == "window titles" && windowNumber(key) == number) {
            window.title = value;
            continue;
        }
        if (!inWindow) {
            continue;
        }
        const Origin at{file, line, section};
        if (key == "size_mm") {
            const std::vector<std::string> p = split(value, ',');
            if (p.size() != 2 || !gauge::number(p[0], &window.width) ||
                !gauge::number(p[1], &window.height) || window.width < 1 || window.height < 1) {
                diagnostics.error(at, "size_mm=" + value + ": expected width,height");
            }
        } else if (key.compare(0, 5, "gauge") == 0 && key.size() > 5 &&
                   key.find_first_not_of("0123456789", 5) == std::string::npos) {
            const std::vector<std::string> p = split(value, ',');
            PanelGauge g;
            g.line = line;
            const size_t bang = p.empty() ? std::string::npos : p[0].find('!');
            bool ok = p.size() >= 3 && bang != std::string::npos && bang > 0 &&
                      bang + 1 < p[0].size() && gauge::number(p[1], &g.x) &&
                      gauge::number(p[2], &g.y);
            // Width and height may be left empty before a parameter: the
            // gauge's own size.
            if (ok && p.size() >= 4 && !p[3].empty()) {
                ok = gauge::number(p[3], &g.width) && g.width > 0;
            }
            if (ok && p.size() >= 5 && !p[4].empty()) {
                ok = gauge::number(p[4], &g.height) && g.height > 0;
            }
            if (!ok) {
                diagnostics.error(at, key + "=" + value +
                                          ": expected Folder!Name, x, y[, width[, height[, "
                                          "parameter]]]");
                continue;
            }
            // The parameter is the rest of the line, commas and all.
            for (size_t i = 5; i < p.size(); ++i) {
                g.parameter += (i > 5 ? "," : "") + p[i];
            }
            g.folder = p[0].substr(0, bang);
            g.name = p[0].substr(bang + 1);
            window.gauges.push_back(std::move(g));
        } else {
            bool isKnown = false;
            for (const std::string& k : known) {
                isKnown = isKnown || k == key;
            }
            if (!isKnown) {
                diagnostics.warn(at,
                                 "unknown key \"" + key + "\"; ignored" + didYouMean(key, known));
            }
        }
    }
    if (window.line == 0) {
        std::string have;
        for (int n : sections) {
            have += (have.empty() ? "" : ", ") + std::to_string(n);
        }
        diagnostics.error(Origin{file, line, ""},
                          "no [" + windowName + "] section" +
                              (have.empty() ? "" : "; the file has windows " + have));
        return false;
    }
    for (int n = 0; n < number; ++n) {
        if (sections.count(n) == 0) {
            diagnostics.warn(
                Origin{file, window.line, windowName},
                "[Window" + std::string(n < 10 ? "0" : "") + std::to_string(n) +
                    "] is missing and the simulator stops reading windows at the first gap: in "
                    "an aircraft's panel.cfg, number this window right after the last one");
            break;
        }
    }
    if (window.gauges.empty()) {
        diagnostics.error(Origin{file, window.line, windowName}, "the window lists no gauges");
    }
    return diagnostics.errorCount() == errors;
}

}  // namespace cs::gauge
