// One loaded module for every test of a suite: loading and starting it is
// the slow part of a workbench test.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "tools/preview/PreviewRun.h"
#include "tools/workbench/Workbench.h"

namespace cs::workbench {

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
