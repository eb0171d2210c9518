// The replacement host: a test double for the simulator's panel system.
//
// A SimHost owns a working services table (variable refresh with the tick
// counter and the time in seconds, user-aircraft reads, the panel-callback
// registry), a Scenario, and a traffic provider registered as "ITrafficInfo".
// The services are stdcall free functions without a context argument, so
// they reach the active SimHost through one global pointer: the most recently
// constructed (or activated) SimHost. Only one host is active at a time.
//
// Typical use in a test:
//
//   cs::sim::SimHost host;
//   host.install();                                  // module in this process
//   host.scenario().addRelative(7, 90.0, 3.0, 500.0, 270.0, 250.0);
//   cs::TrafficData data;                            // resolves ids now
//   data.update(100, 40.0, ...);
//   host.advance(5.0);                               // 5 s, 90 ticks
//   data.update(100, 40.0, ...);
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/HostServices.h"
#include "host/ImportTable.h"
#include "host/PanelInterfaces.h"
#include "simhost/Scenario.h"
#include "simhost/TrafficProvider.h"

namespace cs::sim {

// One call of the registerPanelCallback service (callback null: unregister).
struct RegistrationEvent {
    std::string name;
    IPanelCCallback* callback;
};

struct SimHostOptions {
    // Register the traffic provider as "ITrafficInfo" at construction.
    bool registerTraffic = true;
    // Take a reference (addRef) on every callback the module registers, and
    // release it on unregistration, replacement or host destruction.
    bool addRefOnRegister = false;
};

// Call counters of the services table.
struct ServiceCallCounts {
    int refreshTick = 0;  // refreshVariable with token 1
    int refreshTime = 0;  // refreshVariable with token 604
    int refreshOther = 0;
    int readUserVariable = 0;
    int registerPanelCallback = 0;
    int findPanelCallback = 0;
};

class SimHost {
  public:
    SimHost();
    explicit SimHost(const SimHostOptions& options);
    ~SimHost();
    SimHost(const SimHost&) = delete;
    SimHost& operator=(const SimHost&) = delete;

    // Makes this host the one the services reach (done by the constructor).
    void activate();
    static SimHost* active();

    // The services table, and writing it into an import record: install()
    // fills the import record of the module linked into this process;
    // installInto() fills any record (e.g. the export of a loaded library).
    HostServices* services() { return &services_; }
    void install();
    void installInto(ImportTableRecord* record);

    Scenario& scenario() { return scenario_; }
    TrafficProvider& traffic() { return traffic_; }
    Catalogue& catalogue() { return catalogue_; }
    HostileOptions& hostile() { return hostile_; }
    ServiceCallCounts& counts() { return counts_; }

    // Shortcut for traffic().setPositionOnly().
    void setPositionOnly(bool positionOnly) { traffic_.setPositionOnly(positionOnly); }

    // Advances the scenario and the host time by `seconds` and the tick counter
    // by `ticks`; a negative `ticks` (the default) means 18 ticks per second,
    // the simulator's rate.
    void advance(double seconds, double ticks = -1.0);
    // Sets the reported values directly (e.g. backwards, or NaN); the
    // scenario's aircraft do not move.
    void setTime(double seconds) { time_ = seconds; }
    void setTicks(double ticks) { ticks_ = ticks; }
    double time() const { return time_; }
    double ticks() const { return ticks_; }

    // The panel-callback registry.
    IPanelCCallback* find(const std::string& name) const;
    // Host-side registration, not logged and without references: used for
    // the traffic provider and for callbacks a test wants the module to find.
    void registerDirect(const std::string& name, IPanelCCallback* callback);
    void setTrafficRegistered(bool registered);
    const std::vector<RegistrationEvent>& registrationLog() const { return log_; }
    void clearRegistrationLog() { log_.clear(); }
    bool addRefOnRegister = false;
    // Releases every reference the host holds and empties the registry of
    // module-registered callbacks (the traffic provider stays).
    void releaseHeldReferences();

    // The services' implementation (public for the stdcall entry points).
    void refreshVariable(HostVariableRecord* variable);
    double readUserVariable(int32_t variableId, int32_t unitId, int32_t index);
    int32_t registerPanelCallback(const char* name, IPanelCCallback* callback);
    IPanelCCallback* findPanelCallback(const char* name);

  private:
    struct Entry {
        std::string name;
        IPanelCCallback* callback;
        bool referenced;  // the host holds a reference it must release
    };
    Entry* entry(const std::string& name);

    HostServices services_{};
    Scenario scenario_;
    Catalogue catalogue_;
    HostileOptions hostile_;
    TrafficProvider traffic_;
    ServiceCallCounts counts_;
    std::vector<Entry> registry_;
    std::vector<RegistrationEvent> log_;
    double time_ = 0.0;
    double ticks_ = 0.0;
    SimHost* previousActive_ = nullptr;
};

}  // namespace cs::sim
