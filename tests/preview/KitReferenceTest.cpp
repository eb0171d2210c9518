// The reference tables of the user's kit (docs/kit/reference.md) against the
// module itself, so that they cannot drift from what the module does.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "SharedSession.h"
#include "drawables/DrawParameters.h"

namespace cs::preview {
namespace {

// The rows of the markdown table that follows `heading`, cells trimmed.
std::vector<std::vector<std::string>> tableAfter(const std::string& heading) {
    std::ifstream in(std::string(CS_SOURCE_DIR) + "/docs/kit/reference.md");
    std::vector<std::vector<std::string>> rows;
    std::string line;
    bool inSection = false;
    while (std::getline(in, line)) {
        if (line.rfind("## ", 0) == 0) {
            inSection = line == "## " + heading;
            continue;
        }
        if (!inSection || line.empty() || line[0] != '|' || line.rfind("|---", 0) == 0) {
            continue;
        }
        std::vector<std::string> cells;
        std::stringstream s(line.substr(1));
        std::string cell;
        while (std::getline(s, cell, '|')) {
            cell.erase(0, cell.find_first_not_of(' '));
            cell.erase(cell.find_last_not_of(' ') + 1);
            cells.push_back(cell);
        }
        rows.push_back(cells);
    }
    if (!rows.empty()) {
        rows.erase(rows.begin());  // the header row
    }
    return rows;
}

TEST(KitReference, PropertyTableMatchesTheModule) {
    const auto rows = tableAfter("Properties");
    const auto& module = sharedSession().properties();
    ASSERT_EQ(rows.size(), module.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        const auto& r = rows[i];
        const auto& p = module[i];
        SCOPED_TRACE(p.name);
        ASSERT_GE(r.size(), 6u);
        EXPECT_EQ(r[0], p.name);
        EXPECT_EQ(std::stoi(r[1]), p.id);
        const bool display = r[2] == "display";
        EXPECT_EQ(r[2] == "text", p.kind == -2);
        EXPECT_EQ(display, !p.readable && !p.writable);
        if (!display) {
            EXPECT_EQ(r[4], p.writable ? "R W" : "R");
            EXPECT_TRUE(p.readable);
            if (p.kind == -2) {
                EXPECT_EQ(r[5], "\"\"");
                EXPECT_EQ(p.text, "");
            } else {
                EXPECT_DOUBLE_EQ(std::stod(r[5]), p.number);
            }
        }
    }
}

TEST(KitReference, ParameterTableMatchesTheDeclarations) {
    const auto rows = tableAfter("Draw parameters");
    const auto& declared = sharedSession().vocabulary().parameters;
    ASSERT_EQ(rows.size(), declared.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(declared[i].name);
        ASSERT_GE(rows[i].size(), 3u);
        EXPECT_EQ(rows[i][0], declared[i].name);
        EXPECT_EQ(std::stoi(rows[i][1]), declared[i].id);
        const auto declaredType = static_cast<DrawParameterType>(declared[i].type);
        const char* type = declaredType == DrawParameterType::Real      ? "Real"
                           : declaredType == DrawParameterType::Integer ? "Integer"
                                                                        : "String";
        EXPECT_EQ(rows[i][2], type);
    }
}

}  // namespace
}  // namespace cs::preview
