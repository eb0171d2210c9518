// Cost of one surveillance cycle over the replacement host, by traffic count
// and delivery mode, and how much of it is the host's reads.
//
//   TrafficCycle/<n>/<positionOnly>          one TrafficData::update over SimHost
//   TrafficHostCallsOnly/<n>/<positionOnly>  the same host calls, without the module
//   TrafficCycleTrivialHost/<n>/<positionOnly> one cycle over a provider whose reads
//                                     are a few instructions each
//
// items_per_second counts aircraft; the per_aircraft counter is seconds per
// aircraft.
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>

#include "host/ImportTable.h"
#include "host/TrafficInfo.h"
#include "simhost/SimHost.h"
#include "traffic/TrafficData.h"

namespace {

using cs::sim::SimHost;

constexpr double kRangeNm = 40.0;

// n traffic aircraft scattered within 30 nm of the own aircraft, at random
// altitudes and velocities, from a fixed seed.
void populate(SimHost& host, int n) {
    std::mt19937 rng(12345u);
    std::uniform_real_distribution<double> bearing(0.0, 360.0);
    std::uniform_real_distribution<double> distance(0.2, 30.0);
    std::uniform_real_distribution<double> alt(-3000.0, 3000.0);
    std::uniform_real_distribution<double> speed(80.0, 480.0);
    std::uniform_real_distribution<double> vs(-2000.0, 2000.0);
    host.scenario().own().at(47.0, 8.0, 10000.0);
    for (int i = 0; i < n; ++i) {
        host.scenario().addRelative(100 + 7 * i, bearing(rng), distance(rng), alt(rng),
                                    bearing(rng), speed(rng), vs(rng));
    }
}

void setCounters(benchmark::State& state, int n) {
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * n);
    state.counters["per_aircraft"] = benchmark::Counter(
        n, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

uint32_t runCycle(cs::TrafficData& data, uint32_t maxCount) {
    return data.update(maxCount, kRangeNm, 35.0, 20.0, 1.0, 0.1, 1200.0, 300.0);
}

void TrafficCycle(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    SimHost host;
    host.install();
    host.setPositionOnly(state.range(1) != 0);
    populate(host, n);
    cs::TrafficData data;
    const uint32_t maxCount = static_cast<uint32_t>(n + 1);
    runCycle(data, maxCount);  // from now on every aircraft has a twin
    for (auto _ : state) {
        // Only the clock moves, so every cycle does the same work.
        host.setTime(host.time() + 1.0);
        benchmark::DoNotOptimize(runCycle(data, maxCount));
    }
    setCounters(state, n);
}

// The host calls one cycle makes, in the same order, without the module's
// arithmetic, sorting or allocation.
void TrafficHostCallsOnly(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const bool positionOnly = state.range(1) != 0;
    SimHost host;
    host.setPositionOnly(positionOnly);
    populate(host, n);
    cs::ITrafficInfo* info = host.traffic().trafficInfo();
    cs::HostServices* services = host.services();
    const int32_t ft = cs::sim::defaultUnitId(cs::sim::Unit::Feet);
    const int32_t deg = cs::sim::defaultUnitId(cs::sim::Unit::Degrees);
    const int32_t kt = cs::sim::defaultUnitId(cs::sim::Unit::Knots);
    const int32_t fpm = cs::sim::defaultUnitId(cs::sim::Unit::FeetPerMinute);
    const int32_t bl = cs::sim::defaultUnitId(cs::sim::Unit::Bool);
    std::vector<uint32_t> ids(static_cast<size_t>(n + 1));
    cs::TrafficRecord r{};
    cs::HostVariableRecord timeVar{cs::kElapsedTimeToken, 0, 0, 0.0, 0.0};
    for (auto _ : state) {
        const uint32_t count = info->listAircraft(kRangeNm * 1851.8518518518517,
                                                  static_cast<uint32_t>(n + 1), ids.data());
        for (uint32_t i = 0; i < count; ++i) {
            const int32_t id = static_cast<int32_t>(ids[i]);
            info->readNumber(id, 48, deg, &r.latitude, 1);
            info->readNumber(id, 49, deg, &r.longitude, 1);
            if (info->modeQuery() != 0) {
                info->readNumber(id, 50, ft, &r.altitude, 1);
                const char* name = info->aircraftName(id);
                benchmark::DoNotOptimize(name);
                info->readNumber(id, 55, deg, &r.trackAngle, 1);
            } else {
                info->readNumber(id, 56, ft, &r.altitude, 1);
                info->readString(id, 529, r.atcId, 10, 0);
                info->readNumber(id, 232, bl, &r.engineCombustion, 1);
                info->readNumber(id, 549, bl, &r.isUserSim, 1);
                info->readNumber(id, 39, fpm, &r.verticalSpeed, 1);
                info->readNumber(id, 40, kt, &r.velocityNorth, 1);
                info->readNumber(id, 38, kt, &r.velocityEast, 1);
                info->readNumber(id, 51, ft, &r.radAlt, 1);
            }
            benchmark::DoNotOptimize(r);
        }
        services->refreshVariable(&timeVar);
        benchmark::DoNotOptimize(services->readUserVariable(48, deg, 0));
        benchmark::DoNotOptimize(services->readUserVariable(49, deg, 0));
        benchmark::DoNotOptimize(services->readUserVariable(56, ft, 0));
        benchmark::DoNotOptimize(services->readUserVariable(39, fpm, 0));
        // Geometry and classification ask the mode once more each.
        for (uint32_t i = 0; i < 2 * count; ++i) {
            benchmark::DoNotOptimize(info->modeQuery());
        }
    }
    setCounters(state, n);
}

// A provider whose every answer is computed from the id in a few
// instructions: what remains of a cycle is the module's own work.
class TrivialProvider final : public cs::IPanelCCallback, public cs::ITrafficInfo {
  public:
    TrivialProvider(int n, int32_t mode) : n_(n), mode_(mode) {}
    // IPanelCCallback
    uint32_t HOST_MEMBER addRef() override { return 1; }
    uint32_t HOST_MEMBER release() override { return 1; }
    cs::IPanelCCallback* HOST_MEMBER queryByName(const char*) override {
        return reinterpret_cast<cs::IPanelCCallback*>(static_cast<cs::ITrafficInfo*>(this));
    }
    uint32_t HOST_MEMBER version() override { return 0; }
    cs::IAircraftCCallback* HOST_MEMBER createAircraftCallback(uint32_t) override {
        return nullptr;
    }
    bool HOST_MEMBER propertyNameToId(const char*, int32_t*) override { return false; }
    bool HOST_MEMBER propertyIdToName(int32_t, char**) override { return false; }
    bool HOST_MEMBER propertyValueKind(int32_t, int32_t*) override { return false; }
    // ITrafficInfo
    uint32_t HOST_MEMBER unusedSlot0() override { return 0; }
    uint32_t HOST_MEMBER unusedSlot1() override { return 0; }
    void* HOST_MEMBER unusedSlot2(const char*) override { return nullptr; }
    void HOST_MEMBER unusedSlot3() override {}
    void HOST_MEMBER unusedSlot4() override {}
    void HOST_MEMBER unusedSlot5() override {}
    void HOST_MEMBER unusedSlot6() override {}
    void HOST_MEMBER unusedSlot7() override {}
    int32_t HOST_MEMBER variableIdByName(const char* name) override {
        return cs::sim::Catalogue().lookupVar(name);
    }
    int32_t HOST_MEMBER unitIdByName(const char*) override { return 0; }
    uint32_t HOST_MEMBER listAircraft(double, uint32_t capacity, uint32_t* ids) override {
        uint32_t count = 0;
        for (int i = 0; i <= n_ && count < capacity; ++i) {
            ids[count++] = static_cast<uint32_t>(i == 0 ? 1 : 100 + 7 * i);
        }
        return count;
    }
    void HOST_MEMBER unusedSlot11() override {}
    int32_t HOST_MEMBER readNumber(int32_t id, int32_t variable, int32_t, double* value,
                                   int32_t) override {
        const double k = id == 1 ? 0.0 : static_cast<double>(id % 997) - 498.0;
        switch (variable) {
            case 48:
                *value = 47.0 + k * 1e-3;
                break;
            case 49:
                *value = 8.0 + k * 7e-4;
                break;
            case 50:
            case 56:
                *value = 10000.0 + k * 5.0;
                break;
            case 39:
                *value = k * 4.0;
                break;
            case 40:
            case 38:
                *value = 100.0 + k;
                break;
            default:
                *value = 1.0;
                break;
        }
        return 1;
    }
    int32_t HOST_MEMBER readString(int32_t, int32_t, char* buffer, int32_t, int32_t) override {
        std::memcpy(buffer, "TRIVIAL", 8);
        return 1;
    }
    void HOST_MEMBER unusedSlot14() override {}
    int32_t HOST_MEMBER modeQuery() override { return mode_; }
    const char* HOST_MEMBER aircraftName(int32_t) override { return "TRIVIAL"; }

  private:
    int n_;
    int32_t mode_;
};

void TrafficCycleTrivialHost(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    SimHost host;
    host.install();
    host.scenario().own().at(47.0, 8.0, 10000.0);  // where the trivial traffic is
    TrivialProvider provider(n, state.range(1) != 0 ? 1 : 0);
    host.registerDirect(cs::kTrafficInfoName, &provider);
    cs::TrafficData data;
    const uint32_t maxCount = static_cast<uint32_t>(n + 1);
    runCycle(data, maxCount);
    for (auto _ : state) {
        host.setTime(host.time() + 1.0);
        benchmark::DoNotOptimize(runCycle(data, maxCount));
    }
    setCounters(state, n);
}

void counts(benchmark::internal::Benchmark* b) {
    for (int positionOnly = 0; positionOnly <= 1; ++positionOnly) {
        for (int n : {10, 100, 1000, 10000}) {
            b->Args({n, positionOnly});
        }
    }
    b->ArgNames({"aircraft", "positionOnly"});
}

BENCHMARK(TrafficCycle)->Apply(counts);
BENCHMARK(TrafficHostCallsOnly)->Apply(counts);
BENCHMARK(TrafficCycleTrivialHost)->Apply(counts);

}  // namespace
