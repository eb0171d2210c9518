// The replacement host's traffic provider: the panel callback registered as
// "ITrafficInfo", whose query by that name yields an ITrafficInfo answering
// from a Scenario. It also owns the host's catalogue of variable and unit ids,
// which the user-aircraft reads of the services table share.
//
// A hostile mode lets robustness tests and fuzzers make the host misbehave:
// non-finite or huge numbers, listing counts above the capacity, forced id
// lists (duplicates, id 0), null, unterminated or overlong names, a flipping
// mode, undelivered reads.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "host/PanelInterfaces.h"
#include "host/TrafficInfo.h"
#include "simhost/Scenario.h"

namespace cs::sim {

// The simulation variables the host knows, with their default ids.
enum class Var : int {
    Latitude,           // "PLANE LATITUDE", 48, DEGREES
    Longitude,          // "PLANE LONGITUDE", 49, DEGREES
    Altitude,           // "PLANE ALTITUDE", 50, FEET
    IndicatedAltitude,  // "INDICATED ALTITUDE", 56, FEET
    VelocityY,          // "VELOCITY WORLD Y", 39, FEET PER MINUTE
    VelocityZ,          // "VELOCITY WORLD Z", 40, KNOTS
    VelocityX,          // "VELOCITY WORLD X", 38, KNOTS
    HeadingTrue,        // "PLANE HEADING DEGREES TRUE", 55, DEGREES
    AtcId,              // "ATC ID", 529, text
    EngCombustion,      // "ENG COMBUSTION", 232, BOOL
    IsUserSim,          // "IS USER SIM", 549, BOOL
    AltAboveGround,     // "PLANE ALT ABOVE GROUND", 51, FEET
    Count
};
constexpr int kVarCount = static_cast<int>(Var::Count);

enum class Unit : int { Feet, Bool, Degrees, Knots, FeetPerMinute, None, Count };
constexpr int kUnitCount = static_cast<int>(Unit::Count);

const char* varName(Var var);
int32_t defaultVarId(Var var);
Unit varUnit(Var var);             // Unit::None for the text variable
const char* unitName(Unit unit);   // null for Unit::None
int32_t defaultUnitId(Unit unit);  // FEET 2, BOOL 5, DEGREES 7, KNOTS 11, FEET PER MINUTE 13

// The ids the host hands out for names, and how often each name was asked.
class Catalogue {
  public:
    Catalogue();
    void setVarId(Var var, int32_t id) { varIds_[static_cast<int>(var)] = id; }
    void setUnitId(Unit unit, int32_t id) { unitIds_[static_cast<int>(unit)] = id; }
    int32_t varId(Var var) const { return varIds_[static_cast<int>(var)]; }
    int32_t unitId(Unit unit) const { return unitIds_[static_cast<int>(unit)]; }

    // Id of a name (exact match, as the host's names are upper case); -1 for
    // an unknown or null name. Counts the lookup.
    int32_t lookupVar(const char* name);
    int32_t lookupUnit(const char* name);
    int lookupCount(const std::string& name) const;  // variable and unit names alike
    void resetLookupCounts() { lookups_.clear(); }

    // The variable an id stands for; false for an unknown id.
    bool varOfId(int32_t id, Var* var) const;
    // Whether `unitId` is the id of the unit that belongs to `var`.
    bool unitMatches(Var var, int32_t unitId) const;

  private:
    int32_t varIds_[kVarCount];
    int32_t unitIds_[kUnitCount];
    std::map<std::string, int> lookups_;
};

// The numeric value of one variable of one aircraft, as the host keeps it.
double aircraftValue(const Aircraft& aircraft, Var var);

// Ways the host can misbehave. Everything is off by default.
struct HostileOptions {
    // Every numeric read (readNumber and readUserVariable) of a variable whose
    // bit (1 << Var) is set in forcedMask delivers `forcedValue` instead.
    bool forceNumbers = false;
    double forcedValue = 0.0;
    uint32_t forcedMask = 0xFFFFFFFFu;
    // Reads report success but deliver nothing (the destination is untouched).
    bool dropReads = false;
    // listAircraft returns this count whatever it wrote (e.g. above the capacity).
    bool overrideListCount = false;
    uint32_t listCount = 0;
    // listAircraft writes these ids (at most the capacity) instead of the scenario's.
    bool overrideListIds = false;
    std::vector<uint32_t> listIds;
    // modeQuery answers these values in turn (cycling) when not empty.
    std::vector<int32_t> modeSequence;
    // aircraftName: null for everyone, or a heap buffer of exactly
    // `unterminatedLength` non-NUL bytes without a terminator.
    bool nullNames = false;
    bool unterminatedNames = false;
    size_t unterminatedLength = 10;
    // readString fills the whole buffer with non-NUL bytes and no terminator.
    bool fillStringBuffer = false;
    // Called after every numeric read that delivers, with the delivered value
    // (aircraft id, variable id); may change it. For fuzzers.
    std::function<void(int32_t aircraftId, int32_t variableId, double& value)> numberHook;
};

// Call counters of the provider, for tests that check how the module uses it.
struct TrafficCallCounts {
    int listAircraft = 0;
    int readNumber = 0;
    int readString = 0;
    int modeQuery = 0;
    int aircraftName = 0;
    int variableIdByName = 0;
    int unitIdByName = 0;
    double lastRadiusMetres = 0.0;
    uint32_t lastCapacity = 0;
};

class TrafficProvider {
  public:
    TrafficProvider(Scenario& scenario, Catalogue& catalogue, HostileOptions& hostile);
    ~TrafficProvider();
    TrafficProvider(const TrafficProvider&) = delete;
    TrafficProvider& operator=(const TrafficProvider&) = delete;

    // The object registered under "ITrafficInfo".
    IPanelCCallback* panelCallback();
    // What its query by "ITrafficInfo" returns.
    ITrafficInfo* trafficInfo();

    // Full-data mode (modeQuery 0) or position-only mode (modeQuery 1).
    void setPositionOnly(bool positionOnly) { positionOnly_ = positionOnly; }
    bool positionOnly() const { return positionOnly_; }

    // When false, the panel callback's query by name answers null.
    bool answerQuery = true;

    TrafficCallCounts& counts() { return counts_; }
    // Reference count of the panel callback (host-owned; starts at 1, never destroyed).
    uint32_t refCount() const;

    // The ids listAircraft would write now, before the capacity limit.
    std::vector<uint32_t> listing(double radiusMetres) const;

    // The implementation of the interface slots (public for the adapters).
    uint32_t listAircraft(double radiusMetres, uint32_t capacity, uint32_t* ids);
    int32_t readNumber(int32_t aircraftId, int32_t variableId, int32_t unitId, double* value);
    int32_t readString(int32_t aircraftId, int32_t variableId, char* buffer, int32_t capacity);
    int32_t modeQuery();
    const char* aircraftName(int32_t aircraftId);
    int32_t variableIdByName(const char* name);
    int32_t unitIdByName(const char* name);

  private:
    class Callback;
    class Info;
    const Aircraft* findAircraft(int32_t id) const;

    Scenario& scenario_;
    Catalogue& catalogue_;
    HostileOptions& hostile_;
    std::unique_ptr<Callback> callback_;
    std::unique_ptr<Info> info_;
    bool positionOnly_ = false;
    size_t modeIndex_ = 0;
    TrafficCallCounts counts_;
    std::unordered_map<int32_t, size_t> listedIndex_;  // id -> traffic index at the last listing
    std::unique_ptr<char[]> unterminated_;
};

}  // namespace cs::sim
