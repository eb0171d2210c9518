// docs/workbench.md names every word of the language's tables: operators,
// units, mouse kinds and the variable kinds the workbench gives.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "tools/gauge/MouseKinds.h"
#include "tools/gauge/Script.h"
#include "tools/workbench/Units.h"

namespace cs::workbench {
namespace {

std::string docs() {
    std::ifstream in(std::string(CS_SOURCE_DIR) + "/docs/workbench.md");
    std::stringstream text;
    text << in.rdbuf();
    std::string s = text.str();
    // A | in a table cell is written \\|.
    for (size_t at = s.find("\\|"); at != std::string::npos; at = s.find("\\|", at)) {
        s.erase(at, 1);
    }
    return s;
}

bool names(const std::string& text, const std::string& word) {
    return text.find("`" + word + "`") != std::string::npos;
}

TEST(DocsTables, NameEveryWordOfTheTables) {
    const std::string text = docs();
    ASSERT_FALSE(text.empty());
    for (const std::string& w : gauge::operatorWords()) {
        const bool registerOrLabel = w == "s0" || w == "sp0" || w == "l0";
        EXPECT_TRUE(names(text, w) ||
                    (registerOrLabel && names(text, w + "-" + w.substr(0, w.size() - 1) + "49")))
            << "operator " << w;
    }
    for (const std::string& u : unitNames()) {
        EXPECT_TRUE(names(text, u)) << "unit " << u;
    }
    for (const std::string& k : gauge::mouseKindNames()) {
        EXPECT_TRUE(names(text, k)) << "click kind " << k;
    }
    for (const char* kind : {"(A:name, unit)", "(E:name, unit)", "(P:name, unit)", "(L:name, unit)",
                             "(G:Var1)", "(M:Event)", "(C:callback:property)", "(>K:EVENT)"}) {
        EXPECT_TRUE(names(text, kind)) << "variable kind " << kind;
    }
}

}  // namespace
}  // namespace cs::workbench
