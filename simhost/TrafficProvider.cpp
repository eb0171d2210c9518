#include "simhost/TrafficProvider.h"

#include <cstddef>
#include <cstring>

namespace cs::sim {

namespace {

struct VarInfo {
    const char* name;
    int32_t id;
    Unit unit;
};

constexpr VarInfo kVars[kVarCount] = {
    {"PLANE LATITUDE", 48, Unit::Degrees},
    {"PLANE LONGITUDE", 49, Unit::Degrees},
    {"PLANE ALTITUDE", 50, Unit::Feet},
    {"INDICATED ALTITUDE", 56, Unit::Feet},
    {"VELOCITY WORLD Y", 39, Unit::FeetPerMinute},
    {"VELOCITY WORLD Z", 40, Unit::Knots},
    {"VELOCITY WORLD X", 38, Unit::Knots},
    {"PLANE HEADING DEGREES TRUE", 55, Unit::Degrees},
    {"ATC ID", 529, Unit::None},
    {"ENG COMBUSTION", 232, Unit::Bool},
    {"IS USER SIM", 549, Unit::Bool},
    {"PLANE ALT ABOVE GROUND", 51, Unit::Feet},
};

struct UnitInfo {
    const char* name;
    int32_t id;
};

constexpr UnitInfo kUnits[kUnitCount] = {
    {"FEET", 2}, {"BOOL", 5}, {"DEGREES", 7}, {"KNOTS", 11}, {"FEET PER MINUTE", 13}, {nullptr, -1},
};

}  // namespace

const char* varName(Var var) {
    return kVars[static_cast<int>(var)].name;
}
int32_t defaultVarId(Var var) {
    return kVars[static_cast<int>(var)].id;
}
Unit varUnit(Var var) {
    return kVars[static_cast<int>(var)].unit;
}
const char* unitName(Unit unit) {
    return kUnits[static_cast<int>(unit)].name;
}
int32_t defaultUnitId(Unit unit) {
    return kUnits[static_cast<int>(unit)].id;
}

Catalogue::Catalogue() {
    for (int i = 0; i < kVarCount; ++i) {
        varIds_[i] = kVars[i].id;
    }
    for (int i = 0; i < kUnitCount; ++i) {
        unitIds_[i] = kUnits[i].id;
    }
}

int32_t Catalogue::lookupVar(const char* name) {
    if (name == nullptr) {
        return -1;
    }
    ++lookups_[name];
    for (int i = 0; i < kVarCount; ++i) {
        if (std::strcmp(name, kVars[i].name) == 0) {
            return varIds_[i];
        }
    }
    return -1;
}

int32_t Catalogue::lookupUnit(const char* name) {
    if (name == nullptr) {
        return -1;
    }
    ++lookups_[name];
    for (int i = 0; i < kUnitCount; ++i) {
        if (kUnits[i].name != nullptr && std::strcmp(name, kUnits[i].name) == 0) {
            return unitIds_[i];
        }
    }
    return -1;
}

int Catalogue::lookupCount(const std::string& name) const {
    auto it = lookups_.find(name);
    return it == lookups_.end() ? 0 : it->second;
}

bool Catalogue::varOfId(int32_t id, Var* var) const {
    for (int i = 0; i < kVarCount; ++i) {
        if (varIds_[i] == id) {
            *var = static_cast<Var>(i);
            return true;
        }
    }
    return false;
}

bool Catalogue::unitMatches(Var var, int32_t unitId) const {
    const Unit unit = varUnit(var);
    return unit != Unit::None && unitIds_[static_cast<int>(unit)] == unitId;
}

double aircraftValue(const Aircraft& a, Var var) {
    switch (var) {
        case Var::Latitude:
            return a.latitude;
        case Var::Longitude:
            return a.longitude;
        case Var::Altitude:
            return a.trueAltitude;
        case Var::IndicatedAltitude:
            return a.indicatedAltitude;
        case Var::VelocityY:
            return a.verticalSpeed;
        case Var::VelocityZ:
            return a.velocityNorth;
        case Var::VelocityX:
            return a.velocityEast;
        case Var::HeadingTrue:
            return a.headingTrue;
        case Var::EngCombustion:
            return a.engineRunning ? 1.0 : 0.0;
        case Var::IsUserSim:
            return a.isUserSim ? 1.0 : 0.0;
        case Var::AltAboveGround:
            return a.altAboveGround;
        case Var::AtcId:
        case Var::Count:
            break;
    }
    return 0.0;
}

// The two host objects, forwarding to the provider. Neither is ever destroyed
// through a release: the host owns them.
class TrafficProvider::Callback final : public IPanelCCallback {
  public:
    explicit Callback(TrafficProvider& owner) : owner_(owner) {}
    uint32_t HOST_MEMBER addRef() override { return ++refCount; }
    uint32_t HOST_MEMBER release() override { return refCount == 0 ? 0 : --refCount; }
    IPanelCCallback* HOST_MEMBER queryByName(const char* name) override {
        if (!owner_.answerQuery || name == nullptr || std::strcmp(name, kTrafficInfoName) != 0) {
            return nullptr;
        }
        // The host hands out its traffic interface through the panel-callback slot.
        return reinterpret_cast<IPanelCCallback*>(owner_.trafficInfo());
    }
    uint32_t HOST_MEMBER version() override { return kPanelCallbackVersion; }
    IAircraftCCallback* HOST_MEMBER createAircraftCallback(uint32_t) override { return nullptr; }
    bool HOST_MEMBER propertyNameToId(const char*, int32_t*) override { return false; }
    bool HOST_MEMBER propertyIdToName(int32_t, char**) override { return false; }
    bool HOST_MEMBER propertyValueKind(int32_t, int32_t*) override { return false; }

    uint32_t refCount = 1;

  private:
    TrafficProvider& owner_;
};

class TrafficProvider::Info final : public ITrafficInfo {
  public:
    explicit Info(TrafficProvider& owner) : owner_(owner) {}
    uint32_t HOST_MEMBER unusedSlot0() override { return 0; }
    uint32_t HOST_MEMBER unusedSlot1() override { return 0; }
    void* HOST_MEMBER unusedSlot2(const char*) override { return nullptr; }
    void HOST_MEMBER unusedSlot3() override {}
    void HOST_MEMBER unusedSlot4() override {}
    void HOST_MEMBER unusedSlot5() override {}
    void HOST_MEMBER unusedSlot6() override {}
    void HOST_MEMBER unusedSlot7() override {}
    int32_t HOST_MEMBER variableIdByName(const char* name) override {
        return owner_.variableIdByName(name);
    }
    int32_t HOST_MEMBER unitIdByName(const char* unitName) override {
        return owner_.unitIdByName(unitName);
    }
    uint32_t HOST_MEMBER listAircraft(double radiusMetres, uint32_t capacity,
                                      uint32_t* ids) override {
        return owner_.listAircraft(radiusMetres, capacity, ids);
    }
    void HOST_MEMBER unusedSlot11() override {}
    int32_t HOST_MEMBER readNumber(int32_t aircraftId, int32_t variableId, int32_t unitId,
                                   double* value, int32_t) override {
        return owner_.readNumber(aircraftId, variableId, unitId, value);
    }
    int32_t HOST_MEMBER readString(int32_t aircraftId, int32_t variableId, char* buffer,
                                   int32_t capacity, int32_t) override {
        return owner_.readString(aircraftId, variableId, buffer, capacity);
    }
    void HOST_MEMBER unusedSlot14() override {}
    int32_t HOST_MEMBER modeQuery() override { return owner_.modeQuery(); }
    const char* HOST_MEMBER aircraftName(int32_t aircraftId) override {
        return owner_.aircraftName(aircraftId);
    }

  private:
    TrafficProvider& owner_;
};

TrafficProvider::TrafficProvider(Scenario& scenario, Catalogue& catalogue, HostileOptions& hostile)
    : scenario_(scenario),
      catalogue_(catalogue),
      hostile_(hostile),
      callback_(new Callback(*this)),
      info_(new Info(*this)) {}

TrafficProvider::~TrafficProvider() = default;

IPanelCCallback* TrafficProvider::panelCallback() {
    return callback_.get();
}
ITrafficInfo* TrafficProvider::trafficInfo() {
    return info_.get();
}
uint32_t TrafficProvider::refCount() const {
    return callback_->refCount;
}

std::vector<uint32_t> TrafficProvider::listing(double radiusMetres) const {
    std::vector<uint32_t> ids;
    const Aircraft& own = scenario_.own();
    const std::vector<Aircraft>& traffic = scenario_.traffic();
    ids.reserve(traffic.size() + 1);
    for (const Aircraft& a : traffic) {
        const double nm =
            greatCircleDistanceNm(own.latitude, own.longitude, a.latitude, a.longitude);
        if (nm * kMetresPerNm <= radiusMetres) {
            ids.push_back(static_cast<uint32_t>(a.id));
        }
    }
    if (scenario_.listOwn) {
        const size_t pos =
            scenario_.ownListPosition < ids.size() ? scenario_.ownListPosition : ids.size();
        ids.insert(ids.begin() + static_cast<std::ptrdiff_t>(pos), static_cast<uint32_t>(own.id));
    }
    return ids;
}

uint32_t TrafficProvider::listAircraft(double radiusMetres, uint32_t capacity, uint32_t* ids) {
    ++counts_.listAircraft;
    counts_.lastRadiusMetres = radiusMetres;
    counts_.lastCapacity = capacity;

    std::vector<uint32_t> listed;
    if (hostile_.overrideListIds) {
        listed = hostile_.listIds;
    } else {
        listed = listing(radiusMetres);
    }
    listedIndex_.clear();
    const std::vector<Aircraft>& traffic = scenario_.traffic();
    for (size_t i = 0; i < traffic.size(); ++i) {
        listedIndex_.emplace(traffic[i].id, i);  // keeps the first of duplicate ids
    }

    uint32_t written = 0;
    if (ids != nullptr) {
        for (uint32_t id : listed) {
            if (written >= capacity) {
                break;
            }
            ids[written++] = id;
        }
    }
    return hostile_.overrideListCount ? hostile_.listCount : written;
}

const Aircraft* TrafficProvider::findAircraft(int32_t id) const {
    const Aircraft& own = scenario_.own();
    if (own.id == id) {
        return &own;
    }
    const std::vector<Aircraft>& traffic = scenario_.traffic();
    auto it = listedIndex_.find(id);
    if (it != listedIndex_.end() && it->second < traffic.size() && traffic[it->second].id == id) {
        return &traffic[it->second];
    }
    for (const Aircraft& a : traffic) {
        if (a.id == id) {
            return &a;
        }
    }
    return nullptr;
}

int32_t TrafficProvider::readNumber(int32_t aircraftId, int32_t variableId, int32_t unitId,
                                    double* value) {
    ++counts_.readNumber;
    Var var;
    if (value == nullptr || !catalogue_.varOfId(variableId, &var) ||
        !catalogue_.unitMatches(var, unitId)) {
        return 0;
    }
    const Aircraft* a = findAircraft(aircraftId);
    if (a == nullptr) {
        return 0;
    }
    if (hostile_.dropReads) {
        return 1;
    }
    double v = aircraftValue(*a, var);
    if (hostile_.forceNumbers && (hostile_.forcedMask >> static_cast<int>(var)) & 1u) {
        v = hostile_.forcedValue;
    }
    if (hostile_.numberHook) {
        hostile_.numberHook(aircraftId, variableId, v);
    }
    *value = v;
    return 1;
}

int32_t TrafficProvider::readString(int32_t aircraftId, int32_t variableId, char* buffer,
                                    int32_t capacity) {
    ++counts_.readString;
    Var var;
    if (buffer == nullptr || capacity <= 0 || !catalogue_.varOfId(variableId, &var) ||
        var != Var::AtcId) {
        return 0;
    }
    const Aircraft* a = findAircraft(aircraftId);
    if (a == nullptr) {
        return 0;
    }
    if (hostile_.dropReads) {
        return 1;
    }
    if (hostile_.fillStringBuffer) {
        std::memset(buffer, 'X', static_cast<size_t>(capacity));
        return 1;
    }
    const size_t room = static_cast<size_t>(capacity) - 1;
    const size_t n = a->atcId.size() < room ? a->atcId.size() : room;
    std::memcpy(buffer, a->atcId.data(), n);
    buffer[n] = '\0';
    return 1;
}

int32_t TrafficProvider::modeQuery() {
    ++counts_.modeQuery;
    if (!hostile_.modeSequence.empty()) {
        const int32_t mode = hostile_.modeSequence[modeIndex_ % hostile_.modeSequence.size()];
        ++modeIndex_;
        return mode;
    }
    return positionOnly_ ? 1 : 0;
}

const char* TrafficProvider::aircraftName(int32_t aircraftId) {
    ++counts_.aircraftName;
    if (hostile_.nullNames) {
        return nullptr;
    }
    if (hostile_.unterminatedNames) {
        // A fresh buffer each time, exactly as long as its characters, so a
        // read past its end is caught by the address sanitizer.
        const size_t n = hostile_.unterminatedLength == 0 ? 1 : hostile_.unterminatedLength;
        unterminated_.reset(new char[n]);
        std::memset(unterminated_.get(), 'N', n);
        return unterminated_.get();
    }
    const Aircraft* a = findAircraft(aircraftId);
    if (a == nullptr || a->nameIsNull) {
        return nullptr;
    }
    return a->name.c_str();
}

int32_t TrafficProvider::variableIdByName(const char* name) {
    ++counts_.variableIdByName;
    return catalogue_.lookupVar(name);
}

int32_t TrafficProvider::unitIdByName(const char* name) {
    ++counts_.unitIdByName;
    return catalogue_.lookupUnit(name);
}

}  // namespace cs::sim
