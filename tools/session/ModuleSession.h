// One loaded and started module with its replacement host, shared by both
// kinds of run: the preview's scenarios through the module's displays and
// the workbench's gauges. It holds what the host learns by asking the module
// (the catalogue), and what starting and stopping it did to the host's
// registry of panel names.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "simhost/ModuleLoader.h"
#include "tools/session/ModuleCatalogue.h"

namespace cs::sim {
class SimHost;
}

namespace cs::preview {

class ModuleSession {
  public:
    ModuleSession();
    ~ModuleSession();
    ModuleSession(const ModuleSession&) = delete;
    ModuleSession& operator=(const ModuleSession&) = delete;

    // Loads the module from `path`, hands it the host's services by `route`
    // and starts it; false with error() set.
    bool open(const std::string& path, sim::HandOverRoute route = sim::HandOverRoute::ImportTable);
    const std::string& error() const { return error_; }
    bool isOpen() const { return state_ != nullptr; }

    // The panel names the module registered when it started, in order.
    const std::vector<std::string>& registeredAtStart() const { return registeredAtStart_; }
    // What stopping the module did to the host's registry of panel names.
    struct StopRecord {
        std::vector<std::string> unregistered, registered;
        std::vector<std::string> stillRegistered;  // of the names registered at start
    };
    // Stops and unloads the module (otherwise the destructor does).
    StopRecord close();

    // The names the module offers, taken from a scratch gauge.
    const ModuleVocabulary& vocabulary() const;
    // The module's property catalogue as a fresh gauge answers it.
    const std::vector<PropertyInfo>& properties() const;
    const ModuleCatalogue& catalogue() const { return catalogue_; }

    // The host the module runs in; only while open.
    sim::SimHost& host();

  private:
    struct State;
    std::unique_ptr<State> state_;
    std::string error_;
    std::vector<std::string> registeredAtStart_;
    ModuleCatalogue catalogue_;
};

// The module next to the program (ContactScope.so / ContactScope.dll). If it
// is missing: on Linux the one of this build, on Windows still that path, so
// that the shipped program reports what it lacks.
std::string defaultModulePath();

}  // namespace cs::preview
