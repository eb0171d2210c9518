// Texts written as JSON, into log lines and into report pages: a text that
// is not whole UTF-8 (a module's text cut inside a character) costs one
// replacement character, never the whole log or page.
#include <gtest/gtest.h>

#include <string>

#include <nlohmann/json.hpp>

#include "tools/output/HtmlText.h"
#include "tools/output/JsonLine.h"

namespace cs::preview {
namespace {

TEST(JsonText, BrokenUtf8IsReplacedNotThrown) {
    const nlohmann::ordered_json value = {{"tooltip", std::string("N12\xC3")}};
    const std::string line = output::jsonLine(value);
    ASSERT_EQ(line.back(), '\n');
    EXPECT_EQ(nlohmann::json::parse(line)["tooltip"], "N12\xEF\xBF\xBD");
    const std::string script = jsonForScript(value);
    EXPECT_EQ(nlohmann::json::parse(script)["tooltip"], "N12\xEF\xBF\xBD");
}

}  // namespace
}  // namespace cs::preview
