// The kit's TCAS gauge written in the FS9 and in the FSX schema
// (tests/workbench/fixtures/schemas) runs alike: both load without a word,
// and a scenario gives the same log, line for line, and the same pictures.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "tests/workbench/SharedWorkbench.h"
#include "tools/session/ModuleSession.h"
#include "tools/workbench/Workbench.h"

namespace cs::workbench {
namespace {

namespace fs = std::filesystem;

const std::string kSchemas = CS_SOURCE_DIR "/tests/workbench/fixtures/schemas/";

// The log of the run with the gauge's file name taken out.
std::string logWithoutFile(const ScenarioRun& run, const std::string& file) {
    std::ifstream in(fs::path(run.folder) / "log.jsonl", std::ios::binary);
    std::string log((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    for (size_t at = log.find(file); at != std::string::npos; at = log.find(file, at)) {
        log.replace(at, file.size(), "GAUGE");
    }
    return log;
}

struct Twin {
    std::string log;
    std::vector<sim::Image> pictures;
};

// Each run on a module of its own, as each run of the tool is.
Twin runTwin(const std::string& name) {
    Workbench bench;
    std::string error;
    EXPECT_TRUE(bench.open(preview::defaultModulePath(), &error)) << error;
    WorkbenchOptions options;
    options.gauges = {kSchemas + name};
    options.outDir = (fs::path(CS_TEST_ARTIFACTS) / "schema-twins" / name).string();
    options.keepImages = true;
    gauge::Diagnostics d;
    EXPECT_TRUE(bench.load(options, d)) << name;
    for (const gauge::Problem& p : d.problems()) {
        ADD_FAILURE() << p.text();  // what --check would print
    }
    preview::PreviewScenario scenario = builtin("head-on");
    bench.resolve(scenario);
    gauge::Diagnostics runtime;
    const ScenarioRun run = bench.run(scenario, options, runtime);
    EXPECT_EQ(runtime.problems().size(), 0u) << name;
    Twin twin{logWithoutFile(run, options.gauges[0]), {}};
    for (const ViewFrame& f : run.frames) {
        twin.pictures.push_back(f.picture);
    }
    return twin;
}

TEST(SchemaTwins, TcasGaugeRunsAlikeInBothSchemas) {
    const Twin fs9 = runTwin("tcas_fs9.xml");
    const Twin fsx = runTwin("tcas_fsx.xml");
    ASSERT_NE(fs9.log.find("\"type\":\"summary\""), std::string::npos);
    EXPECT_NE(fs9.log.find("\"string\":\"^\""), std::string::npos) << "the own-aircraft symbol";
    EXPECT_EQ(fsx.log, fs9.log);
    ASSERT_EQ(fsx.pictures.size(), fs9.pictures.size());
    ASSERT_FALSE(fs9.pictures.empty());
    for (size_t i = 0; i < fs9.pictures.size(); ++i) {
        EXPECT_EQ(fsx.pictures[i].width, fs9.pictures[i].width);
        EXPECT_TRUE(fsx.pictures[i].rgba == fs9.pictures[i].rgba) << "frame " << i;
    }
}

}  // namespace
}  // namespace cs::workbench
