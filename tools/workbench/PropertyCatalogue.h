// What the loaded module offers a gauge by name: its registered panel
// callbacks and their property catalogue (id, kind, whether a number can be
// read and written), learnt the way a host learns it, through the panel
// callback's name and kind operations and a scratch gauge callback.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/PanelInterfaces.h"

namespace cs::sim {
class SimHost;
class GaugeHost;
}  // namespace cs::sim

namespace cs::workbench {

class PropertyCatalogue {
  public:
    struct Property {
        int32_t id = 0;
        std::string name;
        bool text = false;
        bool readable = false;
        bool writable = false;
    };

    explicit PropertyCatalogue(sim::SimHost& host);
    ~PropertyCatalogue();

    // The panel callback registered under `name`; null when none is.
    IPanelCCallback* panel(const std::string& name) const;
    // The names the module registered, for did-you-mean.
    std::vector<std::string> panelNames() const;

    // The property a name leads to through `panel`; null when none.
    const Property* find(IPanelCCallback* panel, const std::string& name);
    // Every property, learnt through `panel` on first use, by id.
    const std::vector<Property>& all(IPanelCCallback* panel);
    // Every catalogue name, for did-you-mean.
    std::vector<std::string> names();
    // For a display name that the registration `panel` does not know: which
    // other registration has it, for which display, and what `panel` calls
    // that display ("" when no registration has it). The registrations name
    // the displays differently ("va9vedored:radar" and "ContactScope:TCAS").
    std::string displayElsewhere(const std::string& panel, const std::string& display);

  private:
    void learn(IPanelCCallback* panel);

    sim::SimHost& host_;
    std::vector<Property> properties_;  // by id
    bool learnt_ = false;
};

}  // namespace cs::workbench
