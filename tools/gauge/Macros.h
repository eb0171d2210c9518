// The gauge's <Macro Name="X">...</Macro> texts, which scripts and strings
// use as @X, or @X(a, b) with the arguments standing for @1, @2, ... in the
// macro's text. A macro may use others; one that ends up using itself is
// refused rather than expanded forever, and a use of an undefined macro is an
// error at its line.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "tools/gauge/Diagnostics.h"

namespace cs::gauge {

class Macros {
  public:
    // A second definition of a name replaces the first, with a warning.
    void define(const std::string& name, std::string text, const Origin& at, Diagnostics& d);
    bool empty() const { return macros_.empty(); }

    // `text` as it stands at `at` (its first line) with every use expanded.
    // A macro's line breaks become spaces, so the lines after a use stay
    // where the file has them.
    std::string expand(const std::string& text, const Origin& at, Diagnostics& d) const;

  private:
    std::string expandIn(const std::string& text, const Origin& at, int line,
                         std::vector<std::string>& using_, Diagnostics& d) const;
    std::vector<std::string> names() const;

    std::map<std::string, std::string> macros_;
};

}  // namespace cs::gauge
