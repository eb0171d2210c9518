#include <cmath>
#include <cstdio>
#include <filesystem>
#include <set>

#include "tools/output/ExitStatus.h"
#include "tools/workbench/Workbench.h"

namespace cs::workbench {

namespace fs = std::filesystem;

namespace {

std::string seconds(double t) {
    char buffer[32];
    if (std::fabs(t - std::round(t)) < 1e-6) {
        std::snprintf(buffer, sizeof buffer, "%.0f", t);
    } else {
        std::snprintf(buffer, sizeof buffer, "%.2f", t);
    }
    return buffer;
}

}  // namespace

std::string Workbench::summary(const preview::PreviewScenario& scenario, const ScenarioRun& run) {
    std::string out = scenario.name;
    if (!scenario.title.empty()) {
        out += " - " + scenario.title;
    }
    out += " (" + seconds(scenario.durationS) + " s)\n";
    for (const GaugeTexts& g : run.texts) {
        const std::string file = fs::path(g.file).filename().string();
        for (const TextShown& t : g.texts) {
            char line[512];
            const std::string where = file + ":" + std::to_string(t.line);
            if (t.time < 0.0) {
                std::snprintf(line, sizeof line, "  %-28s (text) never showed\n", where.c_str());
            } else {
                std::snprintf(line, sizeof line, "  %-28s %s appeared at %s s\n", where.c_str(),
                              t.text.substr(0, 60).c_str(), seconds(t.time).c_str());
            }
            out += line;
        }
    }
    size_t taken = 0;
    for (const ClickLog& c : run.clicks) {
        taken += c.line != 0 ? 1 : 0;
    }
    if (!run.clicks.empty()) {
        out += "  " + std::to_string(run.clicks.size()) + " click(s), " + std::to_string(taken) +
               " taken by a <Click>\n";
    }
    if (!run.events.empty()) {
        std::string names;
        for (const EventLog& e : run.events) {
            if (names.find(e.name) == std::string::npos && names.size() < 60) {
                names += (names.empty() ? "" : ", ") + e.name;
            }
        }
        out += "  " + std::to_string(run.events.size()) + " key event(s) sent (" + names +
               "), logged; what the simulator would do with them is not simulated\n";
    }
    if (!run.folder.empty()) {
        out += "  -> " + run.folder + "\n";
    }
    return out;
}

namespace {

// Each problem once: a macro used twice on a line brings its mistake twice.
void printProblems(const gauge::Diagnostics& d) {
    std::set<std::string> printed;
    for (const gauge::Problem& p : d.problems()) {
        if (printed.insert(p.text()).second) {
            std::fprintf(stderr, "%s\n", p.text().c_str());
        }
    }
    if (d.dropped() > 0) {
        std::fprintf(stderr, "... and %zu more problems\n", d.dropped());
    }
}

}  // namespace

int runWorkbench(const WorkbenchOptions& options, const std::string& modulePath,
                 std::vector<preview::PreviewScenario>& scenarios, bool check, bool quiet) {
    Workbench bench;
    std::string error;
    if (!bench.open(modulePath, &error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return preview::kFailure;
    }
    // The scenarios first: the aircraft variables they give are bound as
    // the gauges load.
    try {
        for (preview::PreviewScenario& s : scenarios) {
            bench.resolve(s);
        }
    } catch (const preview::InputError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return preview::kBadInput;
    }
    gauge::Diagnostics d;
    const bool ok = bench.load(options, d);
    printProblems(d);
    if (!ok) {
        std::fprintf(stderr, "%zu error(s), %zu warning(s); nothing was run\n", d.errorCount(),
                     d.warningCount());
        return preview::kBadInput;
    }
    if (check) {
        std::printf("ok: %zu warning(s)\n", d.warningCount());
        return preview::kDone;
    }
    gauge::Diagnostics runtime;
    try {
        for (const preview::PreviewScenario& s : scenarios) {
            const ScenarioRun run = bench.run(s, options, runtime);
            if (!quiet) {
                std::fputs(Workbench::summary(s, run).c_str(), stdout);
                std::fflush(stdout);
            }
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return preview::kFailure;
    }
    printProblems(runtime);
    return preview::kDone;
}

}  // namespace cs::workbench
