// The colour names a gauge may use for Color, FillColor and the like: the
// simulator takes the web's named colours (the SDK's colour list), so
// "green" is #008000 and "lime" #00FF00.
#pragma once

#include <cstdint>
#include <string_view>

namespace cs::gauge {

// The 0xRRGGBB value of a colour name, compared ignoring case; false when
// `name` is not one.
bool colourByName(std::string_view name, uint32_t* rgb);
// How many names there are (for the documentation's check).
int colourNameCount();

}  // namespace cs::gauge
