#include "tools/workbench/PropertyCatalogue.h"

#include "simhost/SimHost.h"
#include "tools/gauge/Diagnostics.h"

namespace cs::workbench {

namespace {

constexpr int32_t kLastProbedId = 63;

}  // namespace

PropertyCatalogue::PropertyCatalogue(sim::SimHost& host) : host_(host) {}
PropertyCatalogue::~PropertyCatalogue() = default;

IPanelCCallback* PropertyCatalogue::panel(const std::string& name) const {
    return host_.services()->findPanelCallback(name.c_str());
}

std::vector<std::string> PropertyCatalogue::panelNames() const {
    std::vector<std::string> names;
    for (const sim::RegistrationEvent& e : host_.registrationLog()) {
        if (e.callback != nullptr && host_.find(e.name) == e.callback) {
            names.push_back(e.name);
        }
    }
    return names;
}

void PropertyCatalogue::learn(IPanelCCallback* panel) {
    learnt_ = true;
    // A scratch gauge of the panel callback: read each number and write it
    // back unchanged to learn what can be read and written.
    IAircraftCCallback* aircraft = panel->createAircraftCallback(0);
    IGaugeCCallback* gauge = aircraft != nullptr ? aircraft->createGaugeCallback() : nullptr;
    for (int32_t id = 0; id <= kLastProbedId; ++id) {
        char name[64] = {};
        char* buffer = name;
        if (!panel->propertyIdToName(id, &buffer)) {
            continue;
        }
        Property p;
        p.id = id;
        p.name = name;
        int32_t kind = kValueKindNumber;
        panel->propertyValueKind(id, &kind);
        p.text = kind == kValueKindText;
        if (gauge != nullptr) {
            if (p.text) {
                const char* t = nullptr;
                p.readable = gauge->getTextProperty(id, &t);
            } else {
                double v = 0.0;
                p.readable = gauge->getNumberProperty(id, &v);
                p.writable = p.readable && gauge->setNumberProperty(id, v);
            }
        }
        if (properties_.size() <= static_cast<size_t>(id)) {
            properties_.resize(static_cast<size_t>(id) + 1);
        }
        properties_[static_cast<size_t>(id)] = p;
    }
    if (gauge != nullptr) {
        gauge->release();
    }
    if (aircraft != nullptr) {
        aircraft->release();
    }
}

const PropertyCatalogue::Property* PropertyCatalogue::find(IPanelCCallback* panel,
                                                           const std::string& name) {
    if (panel == nullptr) {
        return nullptr;
    }
    if (!learnt_) {
        learn(panel);
    }
    int32_t id = -1;
    if (!panel->propertyNameToId(name.c_str(), &id) || id < 0 ||
        static_cast<size_t>(id) >= properties_.size() ||
        properties_[static_cast<size_t>(id)].name.empty()) {
        return nullptr;
    }
    return &properties_[static_cast<size_t>(id)];
}

const std::vector<PropertyCatalogue::Property>& PropertyCatalogue::all(IPanelCCallback* panel) {
    if (!learnt_ && panel != nullptr) {
        learn(panel);
    }
    return properties_;
}

std::vector<std::string> PropertyCatalogue::names() {
    std::vector<std::string> out;
    for (const Property& p : properties_) {
        if (!p.name.empty()) {
            out.push_back(p.name);
        }
    }
    return out;
}

std::string PropertyCatalogue::displayElsewhere(const std::string& panel,
                                                const std::string& display) {
    const char* const kDisplayNames[] = {"radar", "TCAS"};
    for (const std::string& other : panelNames()) {
        if (gauge::equalIgnoringCase(other, panel)) {
            continue;
        }
        const Property* p = find(this->panel(other), display);
        if (p == nullptr || p->readable) {
            continue;  // not a display there either
        }
        const std::string kind =
            "the " + (p->name == "tcas" ? std::string("TCAS") : p->name) + " display";
        std::string here;
        for (const char* name : kDisplayNames) {
            const Property* q = find(this->panel(panel), name);
            if (q != nullptr && q->id == p->id) {
                here = name;
            }
        }
        return "; \"" + other + ":" + display + "\" is " + kind +
               (here.empty() ? ", which \"" + panel + "\" does not offer"
                             : ", which is \"" + panel + ":" + here + "\" in this registration");
    }
    return "";
}

}  // namespace cs::workbench
