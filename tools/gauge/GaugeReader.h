// Reads gauge files in the simulator's FS9 schema (<Gauge>) and FSX schema
// (<SimBase.Document>) with pugixml, keeping the line of every element for
// messages.
//
// Malformed XML, a file that is a gauge of neither schema, a file too large or
// nested too deep, and scripts that do not compile are errors. Elements and
// attributes the schema has but the workbench does not draw, and those it
// does not know at all, are warnings: the simulator ignores them too.
#pragma once

#include <string>
#include <string_view>

#include "tools/gauge/Diagnostics.h"
#include "tools/gauge/GaugeModel.h"

namespace cs::gauge {

constexpr size_t kMaxGaugeFileBytes = 4u << 20;
constexpr int kMaxElementDepth = 32;

// False when the file could not be read or has errors (see diagnostics).
bool readGaugeFile(const std::string& path, GaugeFile& gauge, Diagnostics& diagnostics);
// The same from text in memory; `file` names it in messages.
bool readGaugeText(std::string_view xml, const std::string& file, const std::string& folder,
                   GaugeFile& gauge, Diagnostics& diagnostics);

// "#RRGGBB", "0xRRGGBB" or a plain colour name; false for anything else.
bool parseColour(const std::string& text, uint32_t* rgb);

}  // namespace cs::gauge
