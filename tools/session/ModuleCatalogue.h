// What a host learns by asking the loaded module, in one place for both kinds
// of run: the draw parameters a drawable declares; the property catalogue
// (names, value kinds, which properties a gauge lets the host read and write,
// found out as a host does, by reading a fresh gauge and writing each value
// back); the names each registration gives (the two registrations name the
// displays differently); and reading every readable property of a gauge.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "host/PanelInterfaces.h"
#include "tools/scenario/NameResolution.h"

namespace cs::sim {
class GaugeHost;
class SimHost;
}  // namespace cs::sim

namespace cs::preview {

// One property as the module answered its read.
struct PropertyValue {
    int32_t id = 0;
    std::string name;
    bool isText = false;
    bool ok = false;  // the module answered the read
    double number = 0.0;
    std::string text;  // UTF-8 (the module's texts are Windows-1252)
};

// One property of the catalogue as a fresh gauge answers it.
struct PropertyInfo {
    int32_t id = 0;
    std::string name;
    int32_t kind = 0;  // kValueKindNumber or kValueKindText
    bool readable = false, writable = false;
    double number = 0.0;  // value of a fresh gauge
    std::string text;
    bool isText() const { return kind == kValueKindText; }
};

class ModuleCatalogue {
  public:
    // Asks the module through `host`'s registrations and `fresh`, a gauge
    // just created with a display.
    void learn(sim::SimHost& host, sim::GaugeHost& fresh);

    const ModuleVocabulary& vocabulary() const { return vocabulary_; }
    // Every property, ids in order.
    const std::vector<PropertyInfo>& properties() const { return properties_; }

    // Every readable property of a gauge callback, read now; texts as UTF-8.
    std::vector<PropertyValue> read(IGaugeCCallback* gauge) const;
    std::vector<PropertyValue> read(const sim::GaugeHost& gauge) const;

    // The panel callback registered under `name` now; null when none is.
    IPanelCCallback* panel(const std::string& name) const;
    // The names registered now, in the order the module registered them.
    std::vector<std::string> panelNames() const;
    // The property a name leads to through `panel`'s registration; null when none.
    const PropertyInfo* find(IPanelCCallback* panel, const std::string& name) const;
    // Every catalogue name, for did-you-mean.
    std::vector<std::string> names() const;
    // For a display name that the registration `panel` does not know: which
    // other registration has it, for which display, and what `panel` calls
    // that display ("" when no registration has it).
    std::string displayElsewhere(const std::string& panel, const std::string& display) const;

  private:
    void learnProperties(IPanelCCallback* panel, IGaugeCCallback* gauge);
    const PropertyInfo* byId(int32_t id) const;

    sim::SimHost* host_ = nullptr;
    ModuleVocabulary vocabulary_;
    std::vector<PropertyInfo> properties_;
};

// The longest text the module hands over, without its terminator.
constexpr size_t kMaxModuleText = 80;
// A text the module handed over, read no further than that, as UTF-8; ""
// for null.
std::string utf8FromModuleText(const char* text);

}  // namespace cs::preview
