// contactscope-preview: renders traffic scenarios through the module's
// displays. See README.md, "Preview tool".
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include "cs/Version.h"
#include "tools/preview/BuiltinScenarios.h"
#include "tools/preview/HtmlText.h"
#include "tools/preview/ImageFiles.h"
#include "tools/preview/PreviewRun.h"
#include "tools/preview/Report.h"
#include "tools/preview/ReportWriter.h"
#include "tools/preview/ScenarioParser.h"
#include "tools/preview/Terminal.h"
#if defined(CS_HAVE_WORKBENCH)
#include "tools/workbench/Workbench.h"
#endif

namespace {

constexpr int kBadInput = 2;
constexpr int kFailure = 1;

// Stops the module and writes the session log: one line for its start, one
// for its stop.
void writeSessionLog(const std::string& path, const std::string& entry,
                     cs::preview::ModuleSession& session) {
    using Json = nlohmann::ordered_json;
    const Json start = {
        {"type", "start"}, {"entry", entry}, {"registered", session.registeredAtStart()}};
    const cs::preview::ModuleSession::StopRecord stop = session.close();
    const Json end = {{"type", "stop"},
                      {"unregistered", stop.unregistered},
                      {"registered", stop.registered},
                      {"stillRegistered", stop.stillRegistered}};
    cs::preview::writeFileAtomic(path, start.dump() + "\n" + end.dump() + "\n");
}

}  // namespace

int main(int argc, char** argv) {
    using namespace cs::preview;
    CLI::App app{
        "contactscope-preview: runs traffic scenarios through the ContactScope module's TCAS "
        "and radar displays and writes a PNG per traffic cycle, a contact sheet, a JSON "
        "Lines log and report pages (index.html). Without scenario files it renders the "
        "built-in encounter set."};
    std::vector<std::string> files;
    std::vector<std::string> builtins;
    std::string outDir = "preview-out";
    std::string modulePath;
    std::string display = "both";
    double every = -1.0;
    bool noFrames = false, noSheet = false, noLog = false, noProbe = false;
    bool list = false, check = false, quiet = false;
    std::string show;
    std::string progress = "auto";
    app.set_version_flag("--version", "contactscope-preview " CS_VERSION_TEXT);
    app.add_option("scenario", files, "scenario files (JSON, see docs/scenario-format.md)");
    app.add_option("-b,--builtin", builtins, "a built-in scenario by name (see --list)");
    app.add_option("-o,--out", outDir, "output folder (created if missing, never emptied)")
        ->capture_default_str();
    app.add_option("-m,--module", modulePath,
                   "the module to load (default: next to this program, else this build's)");
    app.add_option("-d,--display", display, "tcas, radar or both")
        ->check(CLI::IsMember({"tcas", "radar", "both"}))
        ->capture_default_str();
    app.add_option("-e,--every", every,
                   "seconds between kept images (0: every traffic cycle; default: the "
                   "scenario's frameInterval)")
        ->check(CLI::Range(0.0, 3600.0));
    app.add_flag("--no-frames", noFrames, "write no per-cycle images");
    app.add_flag("--no-sheet", noSheet, "write no contact sheet");
    app.add_flag("--no-log", noLog, "write no log.jsonl");
    bool noOverlay = false, noReport = false;
    app.add_flag("--no-overlay", noOverlay,
                 "keep the module's pixels only (no own-aircraft symbol and 2 nm ring)");
    app.add_flag("--no-report", noReport,
                 "write no report.html per scenario and no index.html for the run");
    app.add_flag("--no-probe", noProbe,
                 "skip the hover probes that read each aircraft's level and values");
    app.add_flag("-l,--list", list, "list the built-in scenarios and exit");
    app.add_option("--show", show, "print a built-in scenario's JSON and exit");
    app.add_flag("-c,--check", check,
                 "only check the scenarios (and their names against the "
                 "module); write nothing");
    app.add_flag("-q,--quiet", quiet, "no summary on the terminal");
    app.add_option("--progress", progress, "progress bar on stderr: auto, always or never")
        ->check(CLI::IsMember({"auto", "always", "never"}))
        ->capture_default_str();
#if defined(CS_HAVE_WORKBENCH)
    cs::workbench::WorkbenchOptions bench;
    app.add_option("--gauge", bench.gauges,
                   "an XML gauge file to run against the module (repeatable; see "
                   "docs/workbench.md)");
    app.add_option("--panel", bench.panel, "a panel.cfg whose window --window N is run");
    app.add_option("--window", bench.window, "the panel.cfg window to run ([WindowNN])")
        ->check(CLI::Range(0, 99));
    app.add_option("--gauges", bench.gaugesDir,
                   "the folder of the panel's gauges (default: beside the panel.cfg)");
#endif
    // Options of the Wine suite, which compares this program's runs under Wine
    // and on Linux (hidden from --help).
    std::string entry = "importtable";
    std::string sessionLog;
    std::string clearColour = "000000";
    app.add_option("--entry", entry,
                   "how the module gets the host's services: its import record or Panels")
        ->check(CLI::IsMember({"importtable", "panels"}))
        ->group("");
    app.add_option("--session-log", sessionLog,
                   "JSON Lines file of the panel names the module registered at start and "
                   "unregistered at stop")
        ->group("");
    app.add_option("--clear-colour", clearColour,
                   "RRGGBB the drawing area holds before each draw (the module paints over it)")
        ->check([](const std::string& v) {
            return v.size() == 6 &&
                           v.find_first_not_of("0123456789abcdefABCDEF") == std::string::npos
                       ? std::string()
                       : std::string("six hex digits expected");
        })
        ->group("");
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        const int code = app.exit(e);
        return code == 0 ? 0 : kBadInput;
    }

    if (list) {
        for (size_t i = 0; i < kBuiltinScenarioCount; ++i) {
            std::string title;
            try {
                title = parseScenario(kBuiltinScenarios[i].text, kBuiltinScenarios[i].file).title;
            } catch (const InputError&) {
            }
            std::printf("%-20s %s\n", kBuiltinScenarios[i].name, title.c_str());
        }
        return 0;
    }
    if (!show.empty()) {
        for (size_t i = 0; i < kBuiltinScenarioCount; ++i) {
            if (show == kBuiltinScenarios[i].name) {
                std::fputs(kBuiltinScenarios[i].text, stdout);
                return 0;
            }
        }
        std::fprintf(stderr, "no built-in scenario \"%s\" (see --list)\n", show.c_str());
        return kBadInput;
    }

    // Everything is read and checked before anything is written.
    std::vector<PreviewScenario> scenarios;
    try {
        for (const std::string& f : files) {
            scenarios.push_back(loadScenarioFile(f));
        }
        for (const std::string& name : builtins) {
            bool found = false;
            for (size_t i = 0; i < kBuiltinScenarioCount && !found; ++i) {
                if (name == kBuiltinScenarios[i].name) {
                    scenarios.push_back(
                        parseScenario(kBuiltinScenarios[i].text, kBuiltinScenarios[i].file));
                    found = true;
                }
            }
            if (!found) {
                std::fprintf(stderr, "--builtin %s: no such built-in scenario (see --list)\n",
                             name.c_str());
                return kBadInput;
            }
        }
        if (files.empty() && builtins.empty()) {
            for (size_t i = 0; i < kBuiltinScenarioCount; ++i) {
                scenarios.push_back(
                    parseScenario(kBuiltinScenarios[i].text, kBuiltinScenarios[i].file));
            }
        }
    } catch (const InputError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return kBadInput;
    }

    const bool ownModule = modulePath.empty();
    if (ownModule) {
        modulePath = defaultModulePath();
    }
#if defined(CS_HAVE_WORKBENCH)
    if (!bench.gauges.empty() || !bench.panel.empty()) {
        if (bench.panel.empty() != (bench.window < 0)) {
            std::fprintf(stderr, "--panel and --window go together\n");
            return kBadInput;
        }
        bench.outDir = outDir;
        bench.frameIntervalS = every;
        bench.writeFrames = !noFrames;
        bench.writeLog = !noLog;
        return cs::workbench::runWorkbench(bench, modulePath, scenarios, check, quiet);
    }
#endif
    ModuleSession session;
    if (!session.open(modulePath, entry == "panels" ? cs::sim::HandOverRoute::Panels
                                                    : cs::sim::HandOverRoute::ImportTable)) {
        std::fprintf(stderr, "%s\n", session.error().c_str());
        if (ownModule) {
            std::fprintf(stderr,
                         "(without -m, the program loads the module from its own folder)\n");
        }
        return kFailure;
    }
    try {
        for (PreviewScenario& s : scenarios) {
            resolveNames(s, session.vocabulary());
        }
    } catch (const InputError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return kBadInput;
    }
    if (check) {
        for (const PreviewScenario& s : scenarios) {
            std::printf("%s: ok (%s)\n", s.file.c_str(), s.name.c_str());
        }
        return 0;
    }

    RunOptions options;
    options.outDir = outDir;
    options.writeFrames = !noFrames;
    options.writeSheet = !noSheet;
    options.writeLog = !noLog;
    options.probe = !noProbe;
    options.overlay = !noOverlay;
    options.frameIntervalS = every;
    options.clearArgb = 0xFF000000u | static_cast<uint32_t>(std::stoul(clearColour, nullptr, 16));
    if (display == "tcas") {
        options.onlyDisplay = DisplayKind::Tcas;
    } else if (display == "radar") {
        options.onlyDisplay = DisplayKind::Radar;
    }
    ProgressBar bar(progress == "always" || (progress == "auto" && stderrIsTerminal()));
    ReportWriter report(outDir, shellCommandLine(argc, argv));
    try {
        for (size_t n = 0; n < scenarios.size(); ++n) {
            const PreviewScenario& s = scenarios[n];
            options.progress = [&](double f) {
                bar.show((static_cast<double>(n) + f) / static_cast<double>(scenarios.size()),
                         s.name);
            };
            const RunResult result = session.run(s, options);
            if (!noReport) {
                report.addScenario(s, result);
            }
            bar.finish();
            if (!quiet) {
                std::fputs(summaryText(s, result).c_str(), stdout);
                std::fflush(stdout);
            }
        }
        if (!noReport) {
            const std::string index = report.writeIndex();
            if (!quiet) {
                std::printf("Report: %s\n", index.c_str());
            }
        }
        if (!sessionLog.empty()) {
            writeSessionLog(sessionLog, entry, session);
        }
    } catch (const std::exception& e) {
        bar.finish();
        std::fprintf(stderr, "%s\n", e.what());
        return kFailure;
    }
    return 0;
}
