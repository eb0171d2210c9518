// One loaded module for every test of this program.
#pragma once

#include <memory>

#include <gtest/gtest.h>

#include "tools/preview/PreviewRun.h"

namespace cs::preview {

inline ModuleSession& sharedSession() {
    static std::unique_ptr<ModuleSession> session = [] {
        auto s = std::make_unique<ModuleSession>();
        if (!s->open(defaultModulePath())) {
            ADD_FAILURE() << s->error();
        }
        return s;
    }();
    return *session;
}

}  // namespace cs::preview
