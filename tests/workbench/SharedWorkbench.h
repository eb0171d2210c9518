// One loaded module for every test of a suite: loading and starting it is
// the slow part of a workbench test.
#pragma once

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "tools/scenario/BuiltinScenarios.h"
#include "tools/scenario/ScenarioParser.h"
#include "tools/session/ModuleSession.h"
#include "tools/workbench/Workbench.h"

namespace cs::workbench {

// A built-in scenario by name, read as the tool reads it.
inline preview::PreviewScenario builtin(const std::string& name) {
    for (size_t i = 0; i < preview::kBuiltinScenarioCount; ++i) {
        if (name == preview::kBuiltinScenarios[i].name) {
            return preview::parseScenario(preview::kBuiltinScenarios[i].text,
                                          preview::kBuiltinScenarios[i].file);
        }
    }
    throw std::runtime_error("no built-in " + name);
}

// A scenario of `duration` ("3 s") without traffic, the own aircraft
// cruising at 5000 ft.
inline preview::PreviewScenario emptySky(const std::string& duration) {
    return preview::parseScenario(
        R"({"duration": ")" + duration +
            R"(", "own": {"latitude": 47, "longitude": 8, "altitude": "5000 ft"}, "traffic": []})",
        "empty-sky.json");
}

class SharedWorkbench : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        bench_ = new Workbench();
        std::string error;
        ASSERT_TRUE(bench_->open(preview::defaultModulePath(), &error)) << error;
    }
    static void TearDownTestSuite() {
        delete bench_;
        bench_ = nullptr;
    }
    static inline Workbench* bench_ = nullptr;
};

}  // namespace cs::workbench
