// contactscope-preview: renders traffic scenarios through the module's
// displays. See README.md, "Preview tool".
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include "cs/Version.h"
#include "tools/cli/ProgramStart.h"
#include "tools/output/ExitStatus.h"
#include "tools/output/HtmlText.h"
#include "tools/output/ImageFiles.h"
#include "tools/output/JsonLine.h"
#include "tools/output/Terminal.h"
#include "tools/preview/PreviewRun.h"
#include "tools/preview/Report.h"
#include "tools/preview/ReportIndex.h"
#include "tools/preview/ReportPage.h"
#include "tools/report/ReportWriter.h"
#include "tools/scenario/BuiltinScenarios.h"
#include "tools/scenario/ScenarioParser.h"
#include "tools/workbench/Workbench.h"

namespace {

using namespace cs::preview;

// What the command line asks for.
struct CommandLine {
    std::vector<std::string> files;
    std::vector<std::string> builtins;
    std::string outDir = "preview-out";
    std::string modulePath;
    std::string display = "both";
    double every = -1.0;
    bool noFrames = false, noSheet = false, noLog = false, noProbe = false, noOverlay = false;
    bool noReport = false;
    bool list = false, check = false, quiet = false;
    std::string show;
    std::string progress = "auto";
    std::string commandLine;  // as this platform's shell takes it, for the report pages
    // The Wine suite's options (hidden from --help).
    std::string entry = "importtable";
    std::string sessionLog;
    std::string clearColour = "000000";
};

// Options of the Wine suite, which compares this program's runs under Wine
// and on Linux.
void addWineSuiteOptions(CLI::App& app, CommandLine& cl) {
    app.add_option("--entry", cl.entry,
                   "how the module gets the host's services: its import record or Panels")
        ->check(CLI::IsMember({"importtable", "panels"}))
        ->group("");
    app.add_option("--session-log", cl.sessionLog,
                   "JSON Lines file of the panel names the module registered at start and "
                   "unregistered at stop")
        ->group("");
    app.add_option("--clear-colour", cl.clearColour,
                   "RRGGBB the drawing area holds before each draw (the module paints over it)")
        ->check([](const std::string& v) {
            return v.size() == 6 &&
                           v.find_first_not_of("0123456789abcdefABCDEF") == std::string::npos
                       ? std::string()
                       : std::string("six hex digits expected");
        })
        ->group("");
}

// Stops the module and writes the session log: one line for its start, one
// for its stop.
void writeSessionLog(const std::string& path, const std::string& entry, ModuleSession& session) {
    using Json = nlohmann::ordered_json;
    const Json start = {
        {"type", "start"}, {"entry", entry}, {"registered", session.registeredAtStart()}};
    const ModuleSession::StopRecord stop = session.close();
    const Json end = {{"type", "stop"},
                      {"unregistered", stop.unregistered},
                      {"registered", stop.registered},
                      {"stillRegistered", stop.stillRegistered}};
    writeFileAtomic(path, cs::output::jsonLine(start) + cs::output::jsonLine(end));
}

int listBuiltins() {
    for (size_t i = 0; i < kBuiltinScenarioCount; ++i) {
        std::string title;
        try {
            title = parseScenario(kBuiltinScenarios[i].text, kBuiltinScenarios[i].file).title;
        } catch (const InputError&) {
        }
        std::printf("%-20s %s\n", kBuiltinScenarios[i].name, title.c_str());
    }
    return kDone;
}

int showBuiltin(const std::string& show) {
    for (size_t i = 0; i < kBuiltinScenarioCount; ++i) {
        if (show == kBuiltinScenarios[i].name) {
            std::fputs(kBuiltinScenarios[i].text, stdout);
            return kDone;
        }
    }
    std::fprintf(stderr, "no built-in scenario \"%s\" (see --list)\n", show.c_str());
    return kBadInput;
}

// The files, then the built-ins named, else the whole built-in set; false
// (with the message printed) on bad input.
bool readScenarios(const CommandLine& cl, std::vector<PreviewScenario>& scenarios) {
    try {
        for (const std::string& f : cl.files) {
            scenarios.push_back(loadScenarioFile(f));
        }
        for (const std::string& name : cl.builtins) {
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
                return false;
            }
        }
        if (cl.files.empty() && cl.builtins.empty()) {
            for (size_t i = 0; i < kBuiltinScenarioCount; ++i) {
                scenarios.push_back(
                    parseScenario(kBuiltinScenarios[i].text, kBuiltinScenarios[i].file));
            }
        }
    } catch (const InputError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return false;
    }
    return true;
}

// False (with the message printed) when the module cannot be loaded;
// `ownModule`: it was not named on the command line.
bool openModule(ModuleSession& session, const std::string& modulePath, bool ownModule,
                const std::string& entry) {
    if (!session.open(modulePath, entry == "panels" ? cs::sim::HandOverRoute::Panels
                                                    : cs::sim::HandOverRoute::ImportTable)) {
        std::fprintf(stderr, "%s\n", session.error().c_str());
        if (ownModule) {
            std::fprintf(stderr,
                         "(without -m, the program loads the module from its own folder)\n");
        }
        return false;
    }
    return true;
}

// The gauge workbench's options (docs/workbench.md).
void addWorkbenchOptions(CLI::App& app, cs::workbench::WorkbenchOptions& bench) {
    // One file per --gauge, so that scenario files may follow it.
    app.add_option("--gauge", bench.gauges,
#if defined(_WIN32)
                   "an XML gauge file to run against the module (repeatable; see \"Check your "
                   "own gauges\" in README.txt of the release zip)")
#else
                   "an XML gauge file to run against the module (repeatable; see "
                   "docs/workbench.md)")
#endif
        ->allow_extra_args(false);
    app.add_option("--panel", bench.panel, "a panel.cfg whose window --window N is run");
    app.add_option("--window", bench.window, "the panel.cfg window to run ([WindowNN])")
        ->check(CLI::Range(0, 99));
    app.add_option("--gauges", bench.gaugesDir,
                   "the folder of the panel's gauges (default: beside the panel.cfg)");
}

// Options of one kind of run that mean nothing in the other: given there,
// they are refused rather than silently ignored.
constexpr const char* kPreviewOnly[] = {"--display", "--no-overlay",  "--no-probe",
                                        "--entry",   "--session-log", "--clear-colour"};
constexpr const char* kWorkbenchOnly[] = {"--window", "--gauges"};

// The first option of `names` given on the command line, or null.
const char* givenOf(const CLI::App& app, const char* const* names, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        if (app.count(names[i]) > 0) {
            return names[i];
        }
    }
    return nullptr;
}

// Runs the workbench when its options ask for it; its exit status, or -1
// when they do not (and the preview runs).
int runWorkbenchIfAsked(const CLI::App& app, cs::workbench::WorkbenchOptions& bench,
                        const CommandLine& cl, const std::string& modulePath,
                        std::vector<PreviewScenario>& scenarios) {
    if (bench.gauges.empty() && bench.panel.empty()) {
        if (const char* name = givenOf(app, kWorkbenchOnly, std::size(kWorkbenchOnly))) {
            std::fprintf(stderr,
                         "%s belongs to --panel: it says which window and where the "
                         "gauges are\n",
                         name);
            return kBadInput;
        }
        return -1;
    }
    if (bench.panel.empty() != (bench.window < 0)) {
        std::fprintf(stderr, "--panel and --window go together\n");
        return kBadInput;
    }
    if (const char* name = givenOf(app, kPreviewOnly, std::size(kPreviewOnly))) {
        std::fprintf(stderr,
                     "%s applies to the module's displays in a scenario run; with --gauge or "
                     "--panel the gauges place and set their displays\n",
                     name);
        return kBadInput;
    }
    bench.outDir = cl.outDir;
    bench.frameIntervalS = cl.every;
    bench.writeFrames = !cl.noFrames;
    bench.writeLog = !cl.noLog;
    bench.writeSheet = !cl.noSheet;
    bench.writeReport = !cl.noReport;
    bench.commandLine = cl.commandLine;
    return cs::workbench::runWorkbench(bench, modulePath, scenarios, cl.check, cl.quiet);
}

int printChecked(const std::vector<PreviewScenario>& scenarios) {
    for (const PreviewScenario& s : scenarios) {
        std::printf("%s: ok (%s)\n", s.file.c_str(), s.name.c_str());
    }
    return kDone;
}

// The names of every scenario against the module's; false (with the message
// printed) on bad input.
bool resolveScenarios(const ModuleSession& session, std::vector<PreviewScenario>& scenarios) {
    try {
        for (PreviewScenario& s : scenarios) {
            resolveNames(s, session.vocabulary());
        }
    } catch (const InputError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return false;
    }
    return true;
}

int runScenarios(ModuleSession& session, const std::vector<PreviewScenario>& scenarios,
                 const CommandLine& cl) {
    RunOptions options;
    options.outDir = cl.outDir;
    options.writeFrames = !cl.noFrames;
    options.writeSheet = !cl.noSheet;
    options.writeLog = !cl.noLog;
    options.probe = !cl.noProbe;
    options.overlay = !cl.noOverlay;
    options.frameIntervalS = cl.every;
    options.clearArgb =
        0xFF000000u | static_cast<uint32_t>(std::stoul(cl.clearColour, nullptr, 16));
    if (cl.display == "tcas") {
        options.onlyDisplay = DisplayKind::Tcas;
    } else if (cl.display == "radar") {
        options.onlyDisplay = DisplayKind::Radar;
    }
    ProgressBar bar(cl.progress == "always" || (cl.progress == "auto" && stderrIsTerminal()));
    cs::report::ReportWriter report(cl.outDir, cl.commandLine, "preview");
    try {
        for (size_t n = 0; n < scenarios.size(); ++n) {
            const PreviewScenario& s = scenarios[n];
            options.progress = [&](double f) {
                bar.show((static_cast<double>(n) + f) / static_cast<double>(scenarios.size()),
                         s.name);
            };
            const RunResult result = runScenario(session, s, options);
            if (!cl.noReport) {
                report.addScenario(result.folder, reportPageHtml(s, result, cl.commandLine),
                                   indexEntry(s, result));
            }
            bar.finish();
            if (!cl.quiet) {
                std::fputs(summaryText(s, result).c_str(), stdout);
                std::fflush(stdout);
            }
        }
        if (!cl.noReport) {
            const std::string index = report.writeIndex();
            if (!cl.quiet) {
                std::printf("Report: %s\n", index.c_str());
            }
        }
        if (!cl.sessionLog.empty()) {
            writeSessionLog(cl.sessionLog, cl.entry, session);
        }
    } catch (const std::exception& e) {
        bar.finish();
        std::fprintf(stderr, "%s\n", e.what());
        return kFailure;
    }
    return kDone;
}

}  // namespace

// The program's work on its arguments (UTF-8, the program's name first).
int runProgram(const std::vector<const char*>& args) {
    CLI::App app{
        "contactscope-preview: runs traffic scenarios through the ContactScope module's TCAS "
        "and radar displays and writes a PNG per traffic cycle, a contact sheet, a JSON "
        "Lines log and report pages (index.html). Without scenario files it renders the "
        "built-in encounter set."};
    CommandLine cl;
    app.set_version_flag("--version", "contactscope-preview " CS_VERSION_TEXT);
#if defined(_WIN32)
    // As the release zip has them.
    app.add_option("scenario", cl.files,
                   "scenario files (JSON, see Docs\\scenario-format.txt in the release zip)");
#else
    app.add_option("scenario", cl.files, "scenario files (JSON, see docs/scenario-format.md)");
#endif
    app.add_option("-b,--builtin", cl.builtins, "a built-in scenario by name (see --list)");
    app.add_option("-o,--out", cl.outDir, "output folder (created if missing, never emptied)")
        ->capture_default_str();
#if defined(_WIN32)
    app.add_option("-m,--module", cl.modulePath,
                   "the module to load (default: ContactScope.dll next to this program)");
#else
    app.add_option("-m,--module", cl.modulePath,
                   "the module to load (default: next to this program, else this build's)");
#endif
    app.add_option("-d,--display", cl.display, "tcas, radar or both")
        ->check(CLI::IsMember({"tcas", "radar", "both"}))
        ->capture_default_str();
    app.add_option("-e,--every", cl.every,
                   "seconds between kept images (0: every traffic cycle; default: the "
                   "scenario's frameInterval)")
        ->check(CLI::Range(0.0, 3600.0));
    app.add_flag("--no-frames", cl.noFrames, "write no per-cycle images");
    app.add_flag("--no-sheet", cl.noSheet, "write no contact sheet");
    app.add_flag("--no-log", cl.noLog, "write no log.jsonl");
    app.add_flag("--no-overlay", cl.noOverlay,
                 "keep the module's pixels only (no own-aircraft symbol and 2 nm ring)");
    app.add_flag("--no-report", cl.noReport,
                 "write no report.html per scenario and no index.html for the run");
    app.add_flag("--no-probe", cl.noProbe,
                 "skip the hover probes that read each aircraft's level and values");
    app.add_flag("-l,--list", cl.list, "list the built-in scenarios and exit");
    app.add_option("--show", cl.show, "print a built-in scenario's JSON and exit");
    app.add_flag("-c,--check", cl.check,
                 "only check the scenarios (and their names against the "
                 "module); write nothing");
    app.add_flag("-q,--quiet", cl.quiet, "no summary on the terminal");
    app.add_option("--progress", cl.progress, "progress bar on stderr: auto, always or never")
        ->check(CLI::IsMember({"auto", "always", "never"}))
        ->capture_default_str();
    cs::workbench::WorkbenchOptions bench;
    addWorkbenchOptions(app, bench);
    addWineSuiteOptions(app, cl);
    try {
        app.parse(static_cast<int>(args.size()), args.data());
    } catch (const CLI::ParseError& e) {
        const int code = app.exit(e);
        return code == 0 ? kDone : kBadInput;
    }
    cl.commandLine = nativeCommandLine(static_cast<int>(args.size()), args.data());

    if (cl.list) {
        return listBuiltins();
    }
    if (!cl.show.empty()) {
        return showBuiltin(cl.show);
    }
    // Everything is read and checked before anything is written.
    std::vector<PreviewScenario> scenarios;
    if (!readScenarios(cl, scenarios)) {
        return kBadInput;
    }
    const bool ownModule = cl.modulePath.empty();
    const std::string modulePath = ownModule ? defaultModulePath() : cl.modulePath;
    if (const int status = runWorkbenchIfAsked(app, bench, cl, modulePath, scenarios);
        status >= 0) {
        return status;
    }
    ModuleSession session;
    if (!openModule(session, modulePath, ownModule, cl.entry)) {
        return kFailure;
    }
    if (!resolveScenarios(session, scenarios)) {
        return kBadInput;
    }
    return cl.check ? printChecked(scenarios) : runScenarios(session, scenarios, cl);
}

int main(int argc, char** argv) {
    prepareConsole();
    // UTF-8 on every platform, whatever the user's code page.
    const std::vector<std::string> arguments = programArguments(argc, argv);
    std::vector<const char*> args;
    for (const std::string& a : arguments) {
        args.push_back(a.c_str());
    }
    // Double-clicked in Explorer: the console closes with the program and its
    // own folder may not be writable (Program Files), so the built-in set goes
    // into the user's Documents and the window waits for Enter.
    if (args.size() == 1 && startedInOwnConsole()) {
        const std::string folder = ownConsoleOutputFolder();
        if (folder.empty()) {
            std::fprintf(stderr, "cannot make a folder for the pictures in Documents\n");
            waitForEnter();
            return kFailure;
        }
        std::printf("Rendering the built-in scenarios into %s\n\n", folder.c_str());
        std::fflush(stdout);
        args.insert(args.end(), {"-o", folder.c_str()});
        const int status = runProgram(args);
        if (status == 0) {
            std::printf("\nThe pictures and report pages are in %s: open index.html there.\n",
                        folder.c_str());
        }
        waitForEnter();
        return status;
    }
    return runProgram(args);
}
