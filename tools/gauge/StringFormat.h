// The text of a <String> or <Tooltip>: literal text with embedded scripts.
//
//   %( script )%!fmt!    the script's value, formatted printf-like: flags
//                        "-+ 0#", width, ".precision", and d (integer,
//                        rounded to the nearest), f (fixed) or s (text)
//   %( script )          the value with the default format
//   %( script )%{if} A %{else} B %{end}
//                        A when the script's value is non-zero, else B
//   %( script )%{case}%{:0} A %{:1} B %{end}
//                        the text after the label equal to the script's
//                        value (taken as a whole number); none when no
//                        label is
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
    // Unclosed "%(", unknown "%!x!" and "%{x}", unbalanced
    // %{if}/%{else}/%{case}/%{end} and labels that are not whole numbers
    // are errors; ok() is then false.
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
        enum class Kind { Literal, Print, If, Else, Case, Label, End } kind = Kind::Literal;
        std::string text;
        int script = -1;
        Conversion conversion;
        // If: the piece after its %{else} or its %{end}; Else, Case and
        // Label: the piece after the %{end}
        size_t jump = 0;
        double label = 0.0;          // Label: its value
        std::vector<size_t> labels;  // Case: its Label pieces, in order
    };
    size_t caseArm(const Piece& casePiece, double value) const;
    bool ok_ = true;
    std::vector<Piece> pieces_;
    std::vector<Script> scripts_;
};

}  // namespace cs::gauge
