#include "tools/session/ModuleCatalogue.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "simhost/GaugeHost.h"
#include "simhost/SimHost.h"
#include "tools/gauge/TextEncoding.h"

namespace cs::preview {

namespace {

constexpr int32_t kPropertyIdsAsked = 64;  // ids 0..63; the catalogue uses fewer

bool equalIgnoringAsciiCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

bool readText(IGaugeCCallback* gauge, int32_t id, std::string* text) {
    const char* t = nullptr;
    const bool ok = gauge->getTextProperty(id, &t);
    if (ok && t != nullptr && text != nullptr) {
        *text = t;
    }
    return ok;
}

}  // namespace

void ModuleCatalogue::learn(sim::SimHost& host, sim::GaugeHost& fresh) {
    host_ = &host;
    for (const sim::ParameterDeclaration& d : fresh.display().declarations().declarations()) {
        vocabulary_.parameters.push_back({d.name, d.id, d.type});
    }
    IPanelCCallback* panel = fresh.panel();
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
        if (info.isText()) {
            info.readable = readText(gauge, id, &info.text);
        } else {
            info.readable = gauge->getNumberProperty(id, &info.number);
            // Writing the value just read back changes nothing, and a
            // read-only property refuses it: the way a host finds out.
            info.writable = info.readable && gauge->setNumberProperty(id, info.number);
        }
        properties_.push_back(info);
    }
}

const PropertyInfo* ModuleCatalogue::byId(int32_t id) const {
    for (const PropertyInfo& p : properties_) {
        if (p.id == id) {
            return &p;
        }
    }
    return nullptr;
}

std::vector<PropertyValue> ModuleCatalogue::read(IGaugeCCallback* gauge) const {
    std::vector<PropertyValue> out;
    for (const PropertyInfo& info : properties_) {
        if (!info.readable) {
            continue;
        }
        PropertyValue p;
        p.id = info.id;
        p.name = info.name;
        p.isText = info.isText();
        if (p.isText) {
            const char* t = nullptr;
            p.ok = gauge->getTextProperty(p.id, &t) && t != nullptr;
            p.text = p.ok ? utf8FromModuleText(t) : std::string();
        } else {
            p.ok = gauge->getNumberProperty(p.id, &p.number);
        }
        out.push_back(std::move(p));
    }
    return out;
}

std::vector<PropertyValue> ModuleCatalogue::read(const sim::GaugeHost& gauge) const {
    return read(gauge.gauge());
}

IPanelCCallback* ModuleCatalogue::panel(const std::string& name) const {
    return host_ != nullptr ? host_->services()->findPanelCallback(name.c_str()) : nullptr;
}

std::vector<std::string> ModuleCatalogue::panelNames() const {
    std::vector<std::string> names;
    if (host_ == nullptr) {
        return names;
    }
    for (const sim::RegistrationEvent& e : host_->registrationLog()) {
        if (e.callback != nullptr && host_->find(e.name) == e.callback) {
            names.push_back(e.name);
        }
    }
    return names;
}

const PropertyInfo* ModuleCatalogue::find(IPanelCCallback* panel, const std::string& name) const {
    int32_t id = -1;
    if (panel == nullptr || !panel->propertyNameToId(name.c_str(), &id)) {
        return nullptr;
    }
    return byId(id);
}

std::vector<std::string> ModuleCatalogue::names() const {
    std::vector<std::string> out;
    for (const PropertyInfo& p : properties_) {
        out.push_back(p.name);
    }
    return out;
}

std::string ModuleCatalogue::displayElsewhere(const std::string& panelName,
                                              const std::string& display) const {
    const char* const kDisplayNames[] = {"radar", "TCAS"};
    for (const std::string& other : panelNames()) {
        if (equalIgnoringAsciiCase(other, panelName)) {
            continue;
        }
        const PropertyInfo* p = find(panel(other), display);
        if (p == nullptr || p->readable) {
            continue;  // not a display there either
        }
        const std::string kind =
            "the " + (p->name == "tcas" ? std::string("TCAS") : p->name) + " display";
        std::string here;
        for (const char* name : kDisplayNames) {
            const PropertyInfo* q = find(panel(panelName), name);
            if (q != nullptr && q->id == p->id) {
                here = name;
            }
        }
        return "; \"" + other + ":" + display + "\" is " + kind +
               (here.empty()
                    ? ", which \"" + panelName + "\" does not offer"
                    : ", which is \"" + panelName + ":" + here + "\" in this registration");
    }
    return "";
}

std::string utf8FromModuleText(const char* text) {
    if (text == nullptr) {
        return std::string();
    }
    return gauge::utf8FromWindows1252(std::string_view(text, strnlen(text, kMaxModuleText + 1)));
}

}  // namespace cs::preview
