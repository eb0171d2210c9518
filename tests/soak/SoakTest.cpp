// Soak runs: long scenarios with aircraft appearing and leaving, checking
// every cycle's invariants and that the live allocations and the resident
// memory stay flat once the run has settled.
//
// The CTest runs are short (a few seconds). CS_SOAK_LONG=1 selects the long
// run (a million traffic cycles, a hundred thousand simulated seconds of a
// whole gauge); CS_SOAK_CYCLES=<n> sets the traffic cycles directly (the
// gauge run gets a tenth of them).

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <random>
#include <string>

#include "drawables/GaugeDrawable.h"
#include "host/ImportTable.h"
#include "module/ModuleEntry.h"
#include "render/GdiPlusRadar.h"
#include "simhost/GaugeHost.h"
#include "simhost/SimHost.h"
#include "tests/soak/AllocationCounter.h"
#include "testsupport/TestDrawingBackend.h"
#include "traffic/TrafficData.h"

#if defined(__SANITIZE_ADDRESS__)
#define CS_SOAK_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define CS_SOAK_ASAN 1
#endif
#endif

#if defined(CS_SOAK_ASAN)
// Freed memory waits in ASan's quarantine (256 MB by default), which would
// read as growth; a small quarantine keeps the resident-memory check honest.
extern "C" const char* __asan_default_options() {
    return "quarantine_size_mb=4";
}
constexpr long kShortCycles = 5000;  // sanitized code runs about ten times slower
// Shadow memory and the sanitizer's allocator caches move the resident size
// by a few megabytes; the live allocation and byte counts stay exact.
constexpr long kRssToleranceKb = 16384;
#else
constexpr long kShortCycles = 20000;
constexpr long kRssToleranceKb = 4096;
#endif

namespace cs {
namespace {

long trafficCycles() {
    if (const char* n = std::getenv("CS_SOAK_CYCLES")) {
        const long v = std::atol(n);
        if (v > 0) {
            return v;
        }
    }
    if (const char* l = std::getenv("CS_SOAK_LONG"); l != nullptr && l[0] == '1') {
        return 1000000;
    }
    return kShortCycles;
}

// Traffic that keeps coming and going: a fixed number of aircraft, the
// oldest replaced by new ones every cycle, a sixth of the newcomers on a
// converging course so advisories come and go too. Ids are recycled from a
// pool, so an id that left can come back as a different aircraft.
class ChurningTraffic {
  public:
    explicit ChurningTraffic(sim::SimHost& host, int population = 40)
        : host_(host), population_(population) {
        for (int i = 0; i < population_; ++i) {
            addOne();
        }
    }

    void churn() {
        const int leaving = static_cast<int>(random_() % 3);  // 0, 1 or 2
        for (int i = 0; i < leaving && !live_.empty(); ++i) {
            host_.scenario().remove(live_.front());
            live_.pop_front();
        }
        while (static_cast<int>(live_.size()) < population_) {
            addOne();
        }
    }

  private:
    double uniform(double lo, double hi) {
        return std::uniform_real_distribution<double>(lo, hi)(random_);
    }

    void addOne() {
        const int32_t id = 100 + static_cast<int32_t>(next_++ % 5000);
        host_.scenario().remove(id);  // a recycled id is a new aircraft
        const double bearing = uniform(0.0, 360.0);
        if (random_() % 6 == 0) {
            // Converging: heads for the own aircraft.
            host_.scenario().addRelative(id, bearing, uniform(1.5, 8.0), uniform(-900.0, 900.0),
                                         std::fmod(bearing + 180.0 + uniform(-3.0, 3.0), 360.0),
                                         uniform(250.0, 500.0), uniform(-1500.0, 1500.0));
        } else {
            host_.scenario().addRelative(id, bearing, uniform(0.5, 35.0), uniform(-5000.0, 5000.0),
                                         uniform(0.0, 360.0), uniform(0.0, 450.0),
                                         uniform(-3000.0, 3000.0));
        }
        live_.push_back(id);
    }

    sim::SimHost& host_;
    int population_;
    std::deque<int32_t> live_;
    std::mt19937 random_{20240611u};
    uint32_t next_ = 0;
};

bool finite(double v) {
    return std::isfinite(v);
}

// The invariants of one snapshot; returns the first broken one, or null.
const char* snapshotFault(const TrafficData& data, uint32_t maxCount) {
    if (data.recordCount() < 0 || static_cast<uint32_t>(data.recordCount()) > maxCount) {
        return "record count outside 0..capacity";
    }
    if (data.recordCount() > 0 && data.records() == nullptr) {
        return "records missing";
    }
    for (int32_t i = 0; i < data.recordCount(); ++i) {
        const TrafficRecord& r = data.records()[i];
        if (r.threatLevel < -2 || r.threatLevel > 2) {
            return "threat level outside -2..2";
        }
        if (!finite(r.latitude) || !finite(r.longitude) || !finite(r.altitude) ||
            !finite(r.verticalSpeed) || !finite(r.bearing) || !finite(r.distance) ||
            !finite(r.slantRange) || !finite(r.closureRate) || !finite(r.altDiff) ||
            !finite(r.trackAngle) || !finite(r.groundSpeed) || !finite(r.radAlt)) {
            return "non-finite number in a record";
        }
        if (r.bearing < 0.0 || r.bearing >= 360.0 || r.distance < 0.0) {
            return "bearing or distance out of range";
        }
    }
    const int32_t advisory = data.advisory().threatLevel;
    if (advisory < 0 || advisory > 2) {
        return "advisory level outside 0..2";
    }
    if (advisory != 0 && (!finite(data.advisory().distance) || !finite(data.advisory().altDiff))) {
        return "non-finite advisory";
    }
    return nullptr;
}

// Tracks the live allocations and the resident memory after the settling
// phase and checks that they stay flat.
class Flatness {
  public:
    explicit Flatness(long settleCycles) : settle_(settleCycles) {}

    void sample(long cycle) {
        const long live = soak::liveAllocations();
        const long bytes = soak::liveBytes();
        if (cycle == settle_) {
            baselineRss_ = soak::residentKilobytes();
        }
        if (cycle >= settle_ && cycle < 2 * settle_) {
            settledMax_ = std::max(settledMax_, live);  // the settled range
            settledMaxBytes_ = std::max(settledMaxBytes_, bytes);
        }
        last_ = live;
        lastBytes_ = bytes;
    }

    void expectFlat(const char* what) const {
        if (soak::totalAllocations() == 0) {
            // Under Valgrind its own allocator replaces the counting one and
            // the resident memory is Valgrind's; it checks leaks itself.
            std::printf("[soak] %s: allocation counters inactive, flatness not measured\n", what);
            return;
        }
        const long rss = soak::residentKilobytes();
        std::printf(
            "[soak] %s: live allocations settled <= %ld (%ld bytes), at end %ld (%ld bytes); "
            "RSS %ld kB -> %ld kB\n",
            what, settledMax_, settledMaxBytes_, last_, lastBytes_, baselineRss_, rss);
        // A leak of one allocation per thousand cycles would already show,
        // and so would a buffer that keeps growing.
        EXPECT_LE(last_, settledMax_ + 32) << what << ": live allocations grew";
        EXPECT_LE(lastBytes_, settledMaxBytes_ + 64 * 1024) << what << ": live bytes grew";
        EXPECT_LE(rss, baselineRss_ + kRssToleranceKb) << what << ": resident memory grew";
    }

  private:
    long settle_;
    long settledMax_ = 0;
    long settledMaxBytes_ = 0;
    long last_ = 0;
    long lastBytes_ = 0;
    long baselineRss_ = 0;
};

TEST(Soak, TrafficCycleStaysFlatWithAircraftComingAndGoing) {
    const long cycles = trafficCycles();
    sim::SimHost host;
    host.install();
    ChurningTraffic traffic(host);
    auto* data = new TrafficData();
    ASSERT_TRUE(data->hasTrafficSource());

    constexpr uint32_t kMaxCount = 100;
    Flatness flat(std::max(500L, cycles / 10));
    long advisoryCycles = 0;
    long raCycles = 0;
    long classified = 0;
    const auto start = std::chrono::steady_clock::now();
    for (long cycle = 0; cycle < cycles; ++cycle) {
        traffic.churn();
        host.advance(1.0);
        const uint32_t listed = data->update(kMaxCount, 40.0, 35.0, 20.0, 1.0, 0.1, 1200.0, 300.0);
        ASSERT_LE(listed, kMaxCount);
        if (const char* fault = snapshotFault(*data, kMaxCount)) {
            FAIL() << fault << " at cycle " << cycle;
        }
        advisoryCycles += data->advisory().threatLevel > 0 ? 1 : 0;
        raCycles += data->advisory().threatLevel == 2 ? 1 : 0;
        for (int32_t i = 0; i < data->recordCount(); ++i) {
            classified += data->records()[i].threatLevel > -2 ? 1 : 0;
        }
        flat.sample(cycle);
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("[soak] %ld traffic cycles in %.1f s; advisory in %ld cycles (RA in %ld)\n", cycles,
                seconds, advisoryCycles, raCycles);
    flat.expectFlat("traffic cycle");
    // The run exercised the classification and the advisory choice.
    EXPECT_GT(classified, cycles);
    EXPECT_GT(advisoryCycles, 0);
    delete data;
    ImportTable.panelServices.table = nullptr;
}

TEST(Soak, WholeGaugeStaysFlatWithUpdatesDrawsAndHover) {
    const long seconds = std::max(200L, trafficCycles() / 10);
    TestDrawingBackend checker;
    checker.recordCalls = false;  // counts and checks only, so memory stays flat
    overrideDrawingBackend(&checker);
    {
        sim::SimHost host;
        host.install();
        DLLStart();
        ChurningTraffic traffic(host, 30);
        {
            sim::GaugeHost gauge(host);
            ASSERT_TRUE(gauge.create("va9vedored", "tcas"));
            ASSERT_NE(gauge.addDisplay("radar"), nullptr);
            // The host double records every parameter read unless told not to.
            gauge.display(0).parameters().recordReads = false;
            gauge.display(1).parameters().recordReads = false;
            gauge.display(0).set("Range", 12.0);
            gauge.display(1).set("Range", 30.0);
            auto* tcas = static_cast<MyGaugeCDrawable*>(gauge.display(0).drawable());
            ASSERT_NE(tcas->renderer(), nullptr);
            const TrafficData* data = tcas->renderer()->trafficData();
            ASSERT_NE(data, nullptr);

            std::mt19937 random(7u);
            std::uniform_real_distribution<double> mouse(0.0, 1.0);
            Flatness flat(std::max(100L, seconds / 10));
            long frames = 0;
            long toolTips = 0;
            for (long second = 0; second < seconds; ++second) {
                traffic.churn();
                gauge.setProperty("mouseRelPosX", mouse(random));
                gauge.setProperty("mouseRelPosY", mouse(random));
                gauge.run(1.0);  // 18 ticks: one traffic cycle per display
                frames += gauge.drawAll(200, 200, testDeviceContext()) ? 1 : 0;
                if (const char* fault = snapshotFault(*data, 100)) {
                    FAIL() << fault << " at second " << second;
                }
                // Every published number is finite and the advisory a level.
                for (int32_t id = 2; id <= 29; ++id) {
                    double value = 0.0;
                    if (gauge.gauge()->getNumberProperty(id, &value)) {
                        ASSERT_TRUE(std::isfinite(value)) << "property " << id;
                    }
                }
                const double level = gauge.number("advisory");
                ASSERT_TRUE(level == 0.0 || level == 1.0 || level == 2.0) << level;
                toolTips += gauge.text("toolTip").empty() ? 0 : 1;
                flat.sample(second);
            }
            std::printf(
                "[soak] %ld gauge seconds: %ld frames, %ld with a tool-tip, %zu drawing "
                "calls\n",
                seconds, frames, toolTips, checker.drawingCallCount());
            flat.expectFlat("whole gauge");
            EXPECT_GE(frames, seconds);  // each display draws after each cycle
            EXPECT_EQ(checker.liveResources(), 0);
        }
        DLLStop();
        ImportTable.panelServices.table = nullptr;
    }
    EXPECT_EQ(checker.liveContexts(), 0);
    overrideDrawingBackend(nullptr);
}

}  // namespace
}  // namespace cs
