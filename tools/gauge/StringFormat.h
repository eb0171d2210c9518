// The text of a <String> or <Tooltip>: literal text with embedded scripts.
//
//   %( script )%!fmt!    the script's value, formatted printf-like: flags
//                        "-+ 0#", width, ".precision", and d (integer,
//                        truncated), f (fixed) or s (text)
//   %( script )          the value with the default format
//   %( script )%{if} A %{else} B %{end}
//                        A when the script's value is non-zero, else B
//
// Anything else is literal text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "tools/gauge/Diagnostics.h"
#include "tools/gauge/Script.h"
#include "tools/gauge/ScriptEvaluator.h"

namespace cs::gauge {

struct Conversion {
    std::string flags;
    int width = -1;
    int precision = -1;
    char letter = 0;  // 'd', 'f' or 's'; 0: the default format
};

// Parses "+03d" (the part between the exclamation marks); false when it is
// not one of the supported forms.
bool parseConversion(std::string_view text, Conversion& conversion);
// The value formatted as `conversion` says.
std::string formatValue(const Value& value, const Conversion& conversion);

class FormattedString {
  public:
    // Unclosed "%(", unknown "%!x!" and "%{x}", and unbalanced
    // %{if}/%{else}/%{end} are errors; ok() is then false.
    static FormattedString parse(std::string_view text, const Origin& origin,
                                 Diagnostics& diagnostics);
    bool ok() const { return ok_; }
    // The scripts, in order, for the host to bind.
    std::vector<Script>& scripts() { return scripts_; }
    const std::vector<Script>& scripts() const { return scripts_; }

    std::string evaluate(Environment& environment, Evaluator& evaluator,
                         Diagnostics* diagnostics) const;

  private:
    struct Piece {
        enum class Kind { Literal, Print, If, Else, End } kind = Kind::Literal;
        std::string text;
        int script = -1;
        Conversion conversion;
        size_t jump = 0;  // If: the piece after its %{else} or its %{end}; Else: after %{end}
    };
    bool ok_ = true;
    std::vector<Piece> pieces_;
    std::vector<Script> scripts_;
};

}  // namespace cs::gauge
