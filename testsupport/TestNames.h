// GoogleTest names from the labels of table-driven cases: every character
// that is not a letter or a digit becomes '_'.
//
//   INSTANTIATE_TEST_SUITE_P(Table, Cases, ::testing::ValuesIn(kCases), cs::test::ByLabel());
#pragma once

#include <gtest/gtest.h>

#include <cctype>
#include <string>

namespace cs::test {

inline std::string testName(std::string label) {
    for (char& ch : label) {
        ch = std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
    }
    return label;
}

// Names each case of a table by its `label`.
struct ByLabel {
    template <class Case>
    std::string operator()(const ::testing::TestParamInfo<Case>& info) const {
        return testName(info.param.label);
    }
};

}  // namespace cs::test
