// Fuzzes the XML property interface: arbitrary sequences of name-to-id,
// id-to-name and value-kind questions on both panel registrations, and of
// number and text reads and writes on gauge callbacks, with arbitrary ids,
// hostile numbers, arbitrary names and null out-addresses.
//
// Besides the sanitizers' findings it checks what a gauge relies on: every
// answered id is a catalogue id, every name handed out is terminated inside
// the 20 bytes the host provides and leads back to its id, a written number
// reads back unchanged (brightness truncated), texts stay terminated inside
// their fields, and reference counts move by exactly one.

#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "FuzzSupport.h"
#include "host/ImportTable.h"
#include "module/ModuleEntry.h"
#include "properties/AircraftCallback.h"
#include "properties/GaugeCallback.h"
#include "properties/PanelCallback.h"
#include "properties/PropertyCatalogue.h"
#include "simhost/SimHost.h"

namespace {

using cs::fuzz::check;

constexpr const char* kKnownNames[] = {
    "radar",
    "tcas",
    "TCAS",
    "range",
    "TCASRange",
    "brightness",
    "TCASBrightness",
    "mouseRelPosX",
    "mouseRelPosY",
    "toolTip",
    "advisory",
    "timeSeparationTA",
    "timeSeparationRA",
    "distSeparationTA",
    "distSeparationRA",
    "altSeparationTA",
    "altSeparationRA",
    "toolTipId",
    "toolTipAlt",
    "toolTipDist",
    "toolTipBrg",
    "toolTipAltDiff",
    "toolTipTrackAngle",
    "toolTipGroundSpeed",
    "advisoryId",
    "advisoryAlt",
    "advisoryDist",
    "advisoryBrg",
    "advisoryAltDiff",
    "advisoryTrackAngle",
    "advisoryGroundSpeed",
    "toolTipRadAlt",
    "advisoryRadAlt",
    "va9vedored",
    "ContactScope",
    "",
};

// A name: a catalogue name, one with its case or a character changed, or
// arbitrary bytes (the host terminates what it passes).
std::string fuzzName(FuzzedDataProvider& in) {
    constexpr size_t n = sizeof(kKnownNames) / sizeof(kKnownNames[0]);
    std::string name = kKnownNames[in.ConsumeIntegralInRange<size_t>(0, n - 1)];
    switch (in.ConsumeIntegralInRange<int>(0, 4)) {
        case 0:
            break;
        case 1:
            for (char& c : name) {
                if (in.ConsumeBool()) {
                    c = static_cast<char>(c ^ 0x20);  // flips the case of letters
                }
            }
            break;
        case 2:
            name.push_back(in.ConsumeIntegral<char>());
            break;
        case 3:
            if (!name.empty()) {
                name[in.ConsumeIntegralInRange<size_t>(0, name.size() - 1)] =
                    in.ConsumeIntegral<char>();
            }
            break;
        default:
            name = in.ConsumeRandomLengthString(64);
            break;
    }
    return name;
}

int32_t fuzzId(FuzzedDataProvider& in) {
    if (in.ConsumeIntegralInRange<int>(0, 3) != 0) {
        return in.ConsumeIntegralInRange<int32_t>(-3, 33);
    }
    return cs::fuzz::hostileInt(in);
}

bool isWritableNumber(int32_t id) {
    return (id >= 2 && id <= 5) || (id >= 8 && id <= 13);
}

bool isReadableNumber(int32_t id) {
    return id >= 2 && id <= 29 && id != 6 && id != 14 && id != 21;
}

bool isText(int32_t id) {
    return id == 6 || id == 14 || id == 21;
}

// The capacity of the text field behind a text id.
size_t textCapacity(int32_t id) {
    return id == 6 ? static_cast<size_t>(cs::kToolTipCapacity)
                   : static_cast<size_t>(cs::kAtcIdLength + 1);
}

bool sameNumber(double a, double b) {
    return (std::isnan(a) && std::isnan(b)) || a == b;
}

// The truncated value a brightness write must read back, when it fits.
bool expectedBrightness(double written, double* expected) {
    if (!(written > -2147483649.0 && written < 2147483648.0)) {
        return false;  // no defined truncation: any answer will do
    }
    *expected = std::trunc(written);
    return true;
}

void panelOperation(FuzzedDataProvider& in, cs::MyPanelCCallback* panel) {
    switch (in.ConsumeIntegralInRange<int>(0, 5)) {
        case 0: {  // name to id
            std::string name = fuzzName(in);
            const bool nullName = in.ConsumeIntegralInRange<int>(0, 15) == 0;
            const bool nullOut = in.ConsumeIntegralInRange<int>(0, 15) == 0;
            int32_t id = 12345;
            bool ok =
                panel->propertyNameToId(nullName ? nullptr : name.c_str(), nullOut ? nullptr : &id);
            if (nullName || nullOut) {
                check(!ok, "name to id accepted a null argument");
                break;
            }
            if (!ok) {
                check(id == 12345, "name to id wrote an id on failure");
                break;
            }
            check(id >= 0 && id < cs::property::kCount, "name to id gave an id out of range", id);
            check(!(panel->variant == cs::kVariantContactScope && id == 1),
                  "ContactScope registration reached id 1 by name");
            break;
        }
        case 1: {  // id to name, into exactly the 20 bytes the host provides
            const int32_t id = fuzzId(in);
            auto buffer = std::make_unique<char[]>(cs::kPropertyNameCapacity);
            std::memset(buffer.get(), 0x7F, cs::kPropertyNameCapacity);
            char* bufferPointer = buffer.get();
            const int how = in.ConsumeIntegralInRange<int>(0, 9);
            bool ok;
            if (how == 0) {
                ok = panel->propertyIdToName(id, nullptr);
                check(!ok, "id to name accepted a null out-address");
                break;
            }
            if (how == 1) {
                char* nullBuffer = nullptr;
                ok = panel->propertyIdToName(id, &nullBuffer);  // must not write through null
                check(!ok, "id to name reported success without a buffer");
                break;
            }
            ok = panel->propertyIdToName(id, &bufferPointer);
            const bool valid = id >= 0 && id < cs::property::kCount;
            check(ok == valid, "id to name answered for the wrong ids", id);
            if (!ok) {
                check(static_cast<unsigned char>(buffer[0]) == 0x7F, "id to name wrote on failure",
                      id);
                break;
            }
            check(cs::fuzz::terminatedWithin(buffer.get(), cs::kPropertyNameCapacity),
                  "property name not terminated within 20 bytes", id);
            // The name leads back to the id in the registration that names it.
            int32_t back = -1;
            if (id >= 2) {
                check(panel->propertyNameToId(buffer.get(), &back) && back == id,
                      "property name does not lead back to its id", id);
            } else {
                check(std::strcmp(buffer.get(), id == 0 ? "radar" : "tcas") == 0, "display id name",
                      id);
            }
            break;
        }
        case 2: {  // value kind
            const int32_t id = fuzzId(in);
            if (in.ConsumeIntegralInRange<int>(0, 15) == 0) {
                check(!panel->propertyValueKind(id, nullptr), "value kind accepted null");
                break;
            }
            int32_t kind = 777;
            const bool ok = panel->propertyValueKind(id, &kind);
            const bool valid = id >= 0 && id < cs::property::kCount;
            check(ok == valid, "value kind answered for the wrong ids", id);
            check(kind == (valid && isText(id) ? cs::kValueKindText : cs::kValueKindNumber),
                  "value kind", id);
            break;
        }
        case 3: {  // query by name
            std::string name = fuzzName(in);
            const bool nullName = in.ConsumeIntegralInRange<int>(0, 7) == 0;
            cs::IPanelCCallback* found = panel->queryByName(nullName ? nullptr : name.c_str());
            check(found == nullptr || found == panel, "query by name gave a foreign object");
            break;
        }
        case 4: {  // reference pair
            const uint32_t before = panel->refCount();
            check(panel->addRef() == before + 1, "panel addRef");
            check(panel->release() == before, "panel release");
            break;
        }
        default:
            check(panel->version() == cs::kPanelCallbackVersion, "panel version");
            break;
    }
}

void gaugeOperation(FuzzedDataProvider& in, cs::MyGaugeCCallback* gauge) {
    switch (in.ConsumeIntegralInRange<int>(0, 5)) {
        case 0: {  // write a number, then read it back
            const int32_t id = fuzzId(in);
            const double value = cs::fuzz::hostileDouble(in);
            double before = 0.0;
            const bool hadValue = gauge->getNumberProperty(id, &before);
            const bool ok = gauge->setNumberProperty(id, value);
            check(ok == isWritableNumber(id), "number write accepted the wrong ids", id);
            double after = 0.0;
            const bool hasValue = gauge->getNumberProperty(id, &after);
            check(hasValue == hadValue, "readability changed with a write", id);
            if (!ok) {
                check(!hasValue || sameNumber(before, after), "refused write changed a value", id);
                break;
            }
            double expected = 0.0;
            if (id == cs::property::Brightness) {
                if (expectedBrightness(value, &expected)) {
                    check(after == expected, "brightness reads back its truncation", value);
                }
            } else {
                check(sameNumber(after, value), "number reads back as written", id);
            }
            break;
        }
        case 1: {  // read a number
            const int32_t id = fuzzId(in);
            if (in.ConsumeIntegralInRange<int>(0, 7) == 0) {
                check(!gauge->getNumberProperty(id, nullptr), "number read accepted null");
                break;
            }
            double value = 42.0;
            const bool ok = gauge->getNumberProperty(id, &value);
            check(ok == isReadableNumber(id), "number read answered the wrong ids", id);
            if (!ok) {
                check(value == 42.0, "refused number read stored a value", id);
            } else if (id == cs::property::Advisory) {
                check(value == 0.0 || value == 1.0 || value == 2.0, "advisory level", value);
            }
            break;
        }
        case 2: {  // read a text
            const int32_t id = fuzzId(in);
            if (in.ConsumeIntegralInRange<int>(0, 7) == 0) {
                check(!gauge->getTextProperty(id, nullptr), "text read accepted null");
                break;
            }
            const char* text = nullptr;
            const bool ok = gauge->getTextProperty(id, &text);
            check(ok == isText(id), "text read answered the wrong ids", id);
            if (ok) {
                check(cs::fuzz::terminatedWithin(text, textCapacity(id)),
                      "text property not terminated inside its field", id);
            }
            break;
        }
        case 3: {  // write a text: always refused
            const int32_t id = fuzzId(in);
            std::string text = in.ConsumeRandomLengthString(200);
            const bool nullText = in.ConsumeBool();
            check(!gauge->setTextProperty(id, nullText ? nullptr : text.c_str()),
                  "a text write was accepted", id);
            break;
        }
        case 4: {  // query by name
            std::string name = fuzzName(in);
            cs::IGaugeCCallback* found =
                gauge->queryByName(in.ConsumeBool() ? nullptr : name.c_str());
            check(found == nullptr || found == gauge, "gauge query gave a foreign object");
            break;
        }
        default: {
            const uint32_t before = gauge->refCount();
            check(gauge->addRef() == before + 1, "gauge addRef");
            gauge->update();
            check(gauge->release() == before, "gauge release");
            break;
        }
    }
}

// Start and stop of the module in any order, the host optionally holding a
// reference to what it registers, and the registered panels used in between.
void moduleOperation(FuzzedDataProvider& in, cs::sim::SimHost& host, bool& started) {
    switch (in.ConsumeIntegralInRange<int>(0, 3)) {
        case 0:
            if (in.ConsumeBool()) {
                Panels = host.services();  // the second hand-over route
            }
            DLLStart();
            started = true;
            break;
        case 1:
            DLLStop();
            started = false;
            check(cs::va9vedoredPanel == nullptr && cs::contactScopePanel == nullptr,
                  "stop left a panel pointer");
            break;
        default: {
            const char* name = in.ConsumeBool() ? cs::kVa9vedoredName : cs::kContactScopeName;
            cs::IPanelCCallback* found = host.find(name);
            check((found != nullptr) == started, "registration does not follow start and stop");
            if (found != nullptr) {
                auto* panel = static_cast<cs::MyPanelCCallback*>(found);
                check(panel->variant == (name == cs::kVa9vedoredName ? cs::kVariantVa9vedored
                                                                     : cs::kVariantContactScope),
                      "registered under the wrong name");
                panelOperation(in, panel);
            }
            break;
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);

    cs::MyPanelCCallback* panels[2] = {cs::createPanelCallback(cs::kVariantVa9vedored),
                                       cs::createPanelCallback(cs::kVariantContactScope)};
    check(panels[0] != nullptr && panels[1] != nullptr, "panel callbacks");

    // One gauge per registration, made the way the host makes them.
    cs::IAircraftCCallback* aircraft[2] = {};
    cs::MyGaugeCCallback* gauges[2] = {};
    for (int i = 0; i < 2; ++i) {
        aircraft[i] = panels[i]->createAircraftCallback(in.ConsumeIntegral<uint32_t>());
        check(aircraft[i] != nullptr, "aircraft callback");
        check(aircraft[i]->queryByName("VA9VEDORED") == aircraft[i], "aircraft query");
        gauges[i] = static_cast<cs::MyGaugeCCallback*>(aircraft[i]->createGaugeCallback());
        check(gauges[i] != nullptr, "gauge callback");
    }

    cs::sim::SimHostOptions options;
    options.addRefOnRegister = in.ConsumeBool();
    cs::sim::SimHost host(options);
    host.install();
    bool started = false;

    int operations = 0;
    while (in.remaining_bytes() > 0 && operations++ < 400) {
        const int which = in.ConsumeIntegralInRange<int>(0, 1);
        if (in.ConsumeIntegralInRange<int>(0, 7) == 0) {
            moduleOperation(in, host, started);
        } else if (in.ConsumeBool()) {
            panelOperation(in, panels[which]);
        } else {
            gaugeOperation(in, gauges[which]);
        }
    }

    DLLStop();
    host.releaseHeldReferences();
    Panels = nullptr;
    ImportTable.panelServices.table = nullptr;

    for (int i = 0; i < 2; ++i) {
        check(gauges[i]->release() == 0, "gauge final release");
        aircraft[i]->update();
        check(aircraft[i]->release() == 0, "aircraft final release");
        check(panels[i]->release() == 0, "panel final release");
    }
    return 0;
}
