// The encounter scenarios the Wine suite runs through the real module on
// both platforms: the own aircraft (id 1) flying north at 250 kt at
// 10000 ft, and traffic placed relative to it.
#pragma once

#include <string>
#include <vector>

namespace cs::sim {
class SimHost;
}

namespace cs::winetest {

struct ScenarioPlan {
    std::string name;
    int cycles;  // traffic cycles (one per simulated second)
    void (*build)(cs::sim::SimHost& host);
};

const std::vector<ScenarioPlan>& scenarios();
const ScenarioPlan* findScenario(const std::string& name);

}  // namespace cs::winetest
