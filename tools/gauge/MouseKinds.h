// The mouse actions a gauge's <Click Kind="..."> answers, as the simulator
// names them. A Kind is a list joined with "+" (or "|"); a click fires the
// script of the innermost area whose list holds the action.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace cs::gauge {

struct MouseKind {
    const char* name;
    uint32_t bits;  // one bit per action; the "All" kinds are several
};

std::span<const MouseKind> mouseKinds();

// The bits of one action's name (case ignored), or 0 when it is none.
uint32_t mouseKind(const std::string& name);

// The bits of a Kind list; each unknown name is added to `unknown`.
uint32_t mouseKinds(const std::string& list, std::vector<std::string>& unknown);

// The name of an action given by a single bit ("LeftSingle"), for (M:Event).
const char* mouseKindName(uint32_t bit);

// Names every kind, for did-you-mean.
std::vector<std::string> mouseKindNames();

constexpr uint32_t kMouseMove = 1u << 9;

}  // namespace cs::gauge
