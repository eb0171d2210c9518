#include "tools/session/ModuleCatalogue.h"

#include <algorithm>
#include <cstring>

#include "properties/PropertyCatalogue.h"
#include "simhost/GaugeHost.h"

namespace cs::preview {

namespace {

constexpr int32_t kPropertyIdsAsked = 64;  // ids 0..63; the catalogue uses fewer
constexpr size_t kMaxModuleText = 80;      // the module's texts, without the terminator

bool readText(IGaugeCCallback* gauge, int32_t id, std::string* text) {
    const char* t = nullptr;
    const bool ok = gauge->getTextProperty(id, &t);
    if (ok && t != nullptr && text != nullptr) {
        *text = t;
    }
    return ok;
}

}  // namespace

void ModuleCatalogue::learn(IPanelCCallback* panel, sim::GaugeHost& fresh) {
    for (const sim::ParameterDeclaration& d : fresh.display().declarations().declarations()) {
        vocabulary_.parameters.push_back({d.name, d.id, d.type});
    }
    learnProperties(panel, fresh.gauge());
    std::vector<int32_t> writable;
    for (const PropertyInfo& p : properties_) {
        if (p.writable) {
            writable.push_back(p.id);
        }
    }
    vocabulary_.propertyId = [panel](const std::string& name, int32_t* id) {
        return panel->propertyNameToId(name.c_str(), id);
    };
    vocabulary_.propertyWritable = [writable](int32_t id) {
        return std::find(writable.begin(), writable.end(), id) != writable.end();
    };
}

void ModuleCatalogue::learnProperties(IPanelCCallback* panel, IGaugeCCallback* gauge) {
    for (int32_t id = 0; id < kPropertyIdsAsked; ++id) {
        char name[64] = {};
        char* buffer = name;
        if (!panel->propertyIdToName(id, &buffer)) {
            continue;
        }
        PropertyInfo info;
        info.id = id;
        info.name = name;
        panel->propertyValueKind(id, &info.kind);
        const bool text = info.kind == kValueKindText;
        info.readable =
            text ? readText(gauge, id, nullptr) : gauge->getNumberProperty(id, &info.number);
        if (text) {
            readText(gauge, id, &info.text);
        }
        // Which properties a gauge may write is part of the catalogue.
        const PropertyEntry* entry = findProperty(id);
        info.writable = entry != nullptr && entry->access == PropertyAccess::ReadWrite;
        properties_.push_back(info);
        if (info.readable) {
            PropertyValue p;
            p.id = id;
            p.name = name;
            p.isText = text;
            readable_.push_back(p);
        }
    }
}

std::vector<PropertyValue> ModuleCatalogue::read(const sim::GaugeHost& gauge) const {
    std::vector<PropertyValue> out = readable_;
    IGaugeCCallback* cb = gauge.gauge();
    for (PropertyValue& p : out) {
        if (p.isText) {
            const char* t = nullptr;
            p.ok = cb->getTextProperty(p.id, &t) && t != nullptr;
            // Read no further than the module's longest text.
            p.text = p.ok ? utf8FromWindows1252(std::string(t, strnlen(t, kMaxModuleText + 1)))
                          : std::string();
        } else {
            p.ok = cb->getNumberProperty(p.id, &p.number);
        }
    }
    return out;
}

std::string utf8FromWindows1252(const std::string& text) {
    // 0x80-0x9F differ from Latin-1; the module's own texts use only 0xB0 (degree).
    static const uint16_t kHigh[32] = {
        0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};
    std::string out;
    for (unsigned char c : text) {
        uint32_t u = c;
        if (c >= 0x80 && c < 0xA0) {
            u = kHigh[c - 0x80];
        }
        if (u < 0x80) {
            out += static_cast<char>(u);
        } else if (u < 0x800) {
            out += static_cast<char>(0xC0 | (u >> 6));
            out += static_cast<char>(0x80 | (u & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (u >> 12));
            out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (u & 0x3F));
        }
    }
    return out;
}

}  // namespace cs::preview
