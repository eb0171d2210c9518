// What the preview host learns by asking the module, in one place: the draw
// parameters a drawable declares, the property catalogue (names, value
// kinds, which properties a gauge lets the host read, and from the module's
// own catalogue which it lets the host write), and reading every readable
// property of a gauge.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/PanelInterfaces.h"
#include "tools/scenario/NameResolution.h"

namespace cs::sim {
class GaugeHost;
}

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
};

class ModuleCatalogue {
  public:
    // Asks the panel callback and `fresh`, a gauge just created; which
    // properties are writable comes from the catalogue the module is built
    // from.
    void learn(IPanelCCallback* panel, sim::GaugeHost& fresh);

    const ModuleVocabulary& vocabulary() const { return vocabulary_; }
    const std::vector<PropertyInfo>& properties() const { return properties_; }

    // Every readable property of `gauge`, read now; texts as UTF-8.
    std::vector<PropertyValue> read(const sim::GaugeHost& gauge) const;

  private:
    void learnProperties(IPanelCCallback* panel, IGaugeCCallback* gauge);

    ModuleVocabulary vocabulary_;
    std::vector<PropertyInfo> properties_;
    std::vector<PropertyValue> readable_;  // with names and kinds, no values
};

// Windows-1252 text (the module's narrow strings) as UTF-8.
std::string utf8FromWindows1252(const std::string& text);

}  // namespace cs::preview
