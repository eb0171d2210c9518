// Fuzzes the traffic cycle against a host that answers every question from
// the fuzzer's input: arbitrary listing counts (beyond the capacity too),
// arbitrary ids (0, duplicates, negative), arbitrary doubles for every read,
// reads that deliver nothing, names of any length without a terminator, the
// mode flipping between reads, and a clock that jumps, stalls, runs
// backwards or reads NaN. The fuzzer also picks whether the host offers a
// traffic provider at all and which ids it hands out for the names.
//
// The checks are the ones the display and the gauge properties rely on:
// counts within what was asked for, levels within Hidden..RA, an advisory
// level of 0, TA or RA, and terminated ATC ids. ASan catches any read past
// the id buffer or a name; UBSan any undefined conversion of a hostile value.

#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "FuzzSupport.h"
#include "host/HostServices.h"
#include "host/ImportTable.h"
#include "host/PanelInterfaces.h"
#include "host/TrafficInfo.h"
#include "traffic/TrafficData.h"

namespace {

using cs::fuzz::check;

FuzzedDataProvider* gInput = nullptr;  // the current run's input
double gTime = 0.0;

double fuzzTime() {
    FuzzedDataProvider& in = *gInput;
    switch (in.ConsumeIntegralInRange<int>(0, 7)) {
        case 0:
            return gTime;  // the clock stands still
        case 1:
            gTime -= in.ConsumeFloatingPointInRange<double>(0.0, 100.0);  // backwards
            return gTime;
        case 2:
            return cs::fuzz::hostileDouble(in);  // anything, the clock is not touched
        default:
            gTime += in.ConsumeFloatingPointInRange<double>(0.0, 20.0);
            return gTime;
    }
}

void HOST_STDCALL refreshVariable(cs::HostVariableRecord* variable) {
    check(variable != nullptr, "refreshVariable with a null record");
    if (gInput->ConsumeIntegralInRange<int>(0, 15) == 0) {
        return;  // the host delivers nothing
    }
    variable->value =
        variable->token == cs::kElapsedTimeToken ? fuzzTime() : cs::fuzz::hostileDouble(*gInput);
}

double HOST_STDCALL readUserVariable(int32_t, int32_t, int32_t) {
    if (gInput->ConsumeBool()) {
        return gInput->ConsumeFloatingPointInRange<double>(-10000.0, 40000.0);
    }
    return cs::fuzz::hostileDouble(*gInput);
}

int32_t HOST_STDCALL registerPanelCallback(const char*, cs::IPanelCCallback*) {
    return 1;
}

cs::IPanelCCallback* gProvider = nullptr;  // what findPanelCallback answers

cs::IPanelCCallback* HOST_STDCALL findPanelCallback(const char* name) {
    check(name != nullptr, "findPanelCallback with a null name");
    return std::strcmp(name, cs::kTrafficInfoName) == 0 ? gProvider : nullptr;
}

// The host's traffic interface, every answer taken from the input.
class FuzzTrafficInfo final : public cs::ITrafficInfo {
  public:
    uint32_t HOST_MEMBER unusedSlot0() override { fail(); }
    uint32_t HOST_MEMBER unusedSlot1() override { fail(); }
    void* HOST_MEMBER unusedSlot2(const char*) override { fail(); }
    void HOST_MEMBER unusedSlot3() override { fail(); }
    void HOST_MEMBER unusedSlot4() override { fail(); }
    void HOST_MEMBER unusedSlot5() override { fail(); }
    void HOST_MEMBER unusedSlot6() override { fail(); }
    void HOST_MEMBER unusedSlot7() override { fail(); }
    void HOST_MEMBER unusedSlot11() override { fail(); }
    void HOST_MEMBER unusedSlot14() override { fail(); }

    int32_t HOST_MEMBER variableIdByName(const char* name) override {
        check(name != nullptr, "variableIdByName with a null name");
        return in().ConsumeBool() ? in().ConsumeIntegralInRange<int32_t>(0, 8)
                                  : cs::fuzz::hostileInt(in());
    }
    int32_t HOST_MEMBER unitIdByName(const char* name) override {
        check(name != nullptr, "unitIdByName with a null name");
        return in().ConsumeBool() ? in().ConsumeIntegralInRange<int32_t>(0, 8)
                                  : cs::fuzz::hostileInt(in());
    }

    uint32_t HOST_MEMBER listAircraft(double, uint32_t capacity, uint32_t* ids) override {
        lastCapacity = capacity;
        check(capacity == 0 || ids != nullptr, "listAircraft without a buffer");
        // Ids drawn from a small pool make duplicates and twins across cycles.
        const uint32_t written =
            in().ConsumeIntegralInRange<uint32_t>(0, capacity < 64 ? capacity : 64);
        for (uint32_t i = 0; i < written; ++i) {
            switch (in().ConsumeIntegralInRange<int>(0, 5)) {
                case 0:
                    ids[i] = 0;
                    break;
                case 1:
                    ids[i] = static_cast<uint32_t>(cs::fuzz::hostileInt(in()));
                    break;
                default:
                    ids[i] = in().ConsumeIntegralInRange<uint32_t>(1, 12);
                    break;
            }
        }
        switch (in().ConsumeIntegralInRange<int>(0, 5)) {
            case 0:
                return capacity + in().ConsumeIntegralInRange<uint32_t>(1, 1000);  // a lie
            case 1:
                return in().ConsumeIntegral<uint32_t>();
            default:
                return written;
        }
    }

    int32_t HOST_MEMBER readNumber(int32_t, int32_t, int32_t, double* value, int32_t one) override {
        check(one == 1, "readNumber's last argument");
        check(value != nullptr, "readNumber without a destination");
        if (in().ConsumeIntegralInRange<int>(0, 7) != 0) {
            *value = in().ConsumeBool() ? in().ConsumeFloatingPointInRange<double>(-1000.0, 1000.0)
                                        : cs::fuzz::hostileDouble(in());
        }
        return in().ConsumeIntegral<int32_t>();
    }

    int32_t HOST_MEMBER readString(int32_t, int32_t, char* buffer, int32_t capacity,
                                   int32_t zero) override {
        check(zero == 0, "readString's last argument");
        check(capacity >= 0 && capacity <= cs::kAtcIdLength,
              "readString capacity beyond the ATC id field", capacity);
        check(capacity == 0 || buffer != nullptr, "readString without a buffer");
        // Fills up to the whole capacity, with or without a terminator.
        const int32_t n = in().ConsumeIntegralInRange<int32_t>(0, capacity);
        for (int32_t i = 0; i < n; ++i) {
            buffer[i] = in().ConsumeIntegral<char>();
        }
        return in().ConsumeIntegral<int32_t>();
    }

    int32_t HOST_MEMBER modeQuery() override {
        switch (in().ConsumeIntegralInRange<int>(0, 3)) {
            case 0:
                return 0;
            case 1:
                return 1;
            default:
                return in().ConsumeIntegral<int32_t>();
        }
    }

    const char* HOST_MEMBER aircraftName(int32_t) override {
        // A heap buffer of exactly the chosen length, terminated or not, so
        // ASan sees any read beyond what the host handed over.
        const int kind = in().ConsumeIntegralInRange<int>(0, 3);
        if (kind == 0) {
            return nullptr;
        }
        const size_t length = in().ConsumeIntegralInRange<size_t>(0, 40);
        name_ = std::make_unique<char[]>(length + 1);
        for (size_t i = 0; i < length; ++i) {
            char c = in().ConsumeIntegral<char>();
            name_[i] = c == '\0' ? 'X' : c;
        }
        if (kind == 1) {
            name_[length] = '\0';
            return name_.get();
        }
        // Unterminated: the buffer ends right after the characters. No
        // reader can find the end of an unterminated text shorter than what
        // it reads, so the host's part of the bargain is at least the ten
        // characters an ATC id holds; the module must not read past them.
        const size_t unterminatedLength = length < cs::kAtcIdLength ? cs::kAtcIdLength : length;
        unterminated_ = std::make_unique<char[]>(unterminatedLength);
        std::memset(unterminated_.get(), 'Y', unterminatedLength);
        std::memcpy(unterminated_.get(), name_.get(), length);
        return unterminated_.get();
    }

    uint32_t lastCapacity = 0;

  private:
    [[noreturn]] static void fail() { cs::fuzz::fail("an unused traffic slot was called"); }
    static FuzzedDataProvider& in() { return *gInput; }
    std::unique_ptr<char[]> name_;
    std::unique_ptr<char[]> unterminated_;
};

// The provider as a panel callback; only its query by name is used.
class FuzzProvider final : public cs::IPanelCCallback {
  public:
    explicit FuzzProvider(cs::ITrafficInfo* info) : info_(info) {}
    uint32_t HOST_MEMBER addRef() override { cs::fuzz::fail("module took a provider reference"); }
    uint32_t HOST_MEMBER release() override { cs::fuzz::fail("module released the provider"); }
    cs::IPanelCCallback* HOST_MEMBER queryByName(const char* name) override {
        check(name != nullptr, "provider query with a null name");
        return answer && std::strcmp(name, cs::kTrafficInfoName) == 0
                   ? reinterpret_cast<cs::IPanelCCallback*>(info_)
                   : nullptr;
    }
    uint32_t HOST_MEMBER version() override { return 0; }
    cs::IAircraftCCallback* HOST_MEMBER createAircraftCallback(uint32_t) override {
        return nullptr;
    }
    bool HOST_MEMBER propertyNameToId(const char*, int32_t*) override { return false; }
    bool HOST_MEMBER propertyIdToName(int32_t, char**) override { return false; }
    bool HOST_MEMBER propertyValueKind(int32_t, int32_t*) override { return false; }
    bool answer = true;

  private:
    cs::ITrafficInfo* info_;
};

cs::HostServices gServices{};

uint32_t fuzzMaxCount(FuzzedDataProvider& in) {
    switch (in.ConsumeIntegralInRange<int>(0, 7)) {
        case 0:
            return 0;
        case 1:
            // An id buffer whose size does not fit in 32 bits: never allocated.
            return in.ConsumeIntegralInRange<uint32_t>(0x40000000u, UINT32_MAX);
        case 2:
            return in.ConsumeIntegralInRange<uint32_t>(0, 5000);
        default:
            return in.ConsumeIntegralInRange<uint32_t>(1, 40);
    }
}

void checkSnapshot(const cs::TrafficData& data, uint32_t maxCount, int32_t countBefore,
                   uint32_t listed) {
    const int32_t count = data.recordCount();
    check(count >= 0, "negative record count", count);
    check(count == countBefore || static_cast<uint32_t>(count) <= maxCount,
          "more records than the capacity asked for", count);
    check(listed <= maxCount, "update reported more aircraft than the capacity", listed);
    check(count == 0 || data.records() != nullptr, "records missing for a nonzero count");
    for (int32_t i = 0; i < count; ++i) {
        const cs::TrafficRecord& r = data.records()[i];
        check(r.threatLevel >= -2 && r.threatLevel <= 2, "threat level out of range",
              r.threatLevel);
        check(cs::fuzz::terminatedWithin(r.atcId, sizeof r.atcId), "unterminated ATC id");
    }
    const cs::TrafficRecord& advisory = data.advisory();
    check(advisory.threatLevel == 0 || advisory.threatLevel == 1 || advisory.threatLevel == 2,
          "advisory level out of range", advisory.threatLevel);
    check(cs::fuzz::terminatedWithin(advisory.atcId, sizeof advisory.atcId),
          "unterminated advisory ATC id");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    gInput = &in;
    gTime = in.ConsumeFloatingPointInRange<double>(0.0, 1e6);

    gServices.refreshVariable = refreshVariable;
    gServices.readUserVariable = readUserVariable;
    gServices.registerPanelCallback = registerPanelCallback;
    gServices.findPanelCallback = findPanelCallback;
    ImportTable.panelServices.table = &gServices;

    FuzzTrafficInfo info;
    FuzzProvider provider(&info);
    const int providerChoice = in.ConsumeIntegralInRange<int>(0, 15);
    gProvider = providerChoice == 0 ? nullptr : &provider;
    provider.answer = providerChoice != 1;

    auto* traffic = new (std::nothrow) cs::TrafficData();
    check(traffic != nullptr, "TrafficData allocation");

    int cycles = 0;
    while (in.remaining_bytes() > 0 && cycles++ < 60) {
        switch (in.ConsumeIntegralInRange<int>(0, 9)) {
            case 0:
                traffic->setDisplayThresholds(
                    cs::fuzz::hostileDouble(in), cs::fuzz::hostileDouble(in),
                    cs::fuzz::hostileDouble(in), cs::fuzz::hostileDouble(in),
                    cs::fuzz::hostileDouble(in), cs::fuzz::hostileDouble(in));
                break;
            case 1: {
                cs::TrafficRecord record{};
                const int32_t id = cs::fuzz::hostileInt(in);
                traffic->readRecord(record, id);
                check(cs::fuzz::terminatedWithin(record.atcId, sizeof record.atcId),
                      "readRecord left the ATC id unterminated");
                break;
            }
            case 2: {
                const double a = cs::fuzz::hostileDouble(in), b = cs::fuzz::hostileDouble(in);
                const double c = cs::fuzz::hostileDouble(in), d = cs::fuzz::hostileDouble(in);
                (void)cs::TrafficData::greatCircle(a, b, c, d);
                break;
            }
            default: {
                const uint32_t maxCount = fuzzMaxCount(in);
                const double range = in.ConsumeBool() ? in.ConsumeFloatingPointInRange(0.0, 200.0)
                                                      : cs::fuzz::hostileDouble(in);
                double seps[6];
                for (double& s : seps) {
                    s = in.ConsumeBool() ? in.ConsumeFloatingPointInRange(-10.0, 2000.0)
                                         : cs::fuzz::hostileDouble(in);
                }
                const int32_t before = traffic->recordCount();
                const uint32_t listed = traffic->update(maxCount, range, seps[0], seps[1], seps[2],
                                                        seps[3], seps[4], seps[5]);
                checkSnapshot(*traffic, maxCount, before, listed);
                break;
            }
        }
    }

    delete traffic;
    check(cs::TrafficData::compareRecordIds(nullptr, nullptr) == 0, "compare of null records");
    ImportTable.panelServices.table = nullptr;
    gInput = nullptr;
    return 0;
}
