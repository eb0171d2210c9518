#include "tools/preview/DisplayRun.h"

#include <stdexcept>
#include <string>

namespace cs::preview {

namespace {

// The detail word's name of each level, by levelIndex().
constexpr const char* kDetailNames[kDrawnLevels] = {"OtherDetail", "ProximityDetail", "TADetail",
                                                    "RADetail"};

int32_t declared(sim::GaugeDisplay& d, const char* name) {
    const sim::ParameterDeclaration* p = d.declarations().find(name);
    return p ? p->id : -1;
}

HostParameterIds hostParameterIds(sim::GaugeDisplay& d) {
    HostParameterIds ids;
    ids.range = declared(d, "Range");
    ids.heading = declared(d, "Heading");
    ids.centerX = declared(d, "CenterX");
    ids.centerY = declared(d, "CenterY");
    ids.fixedResolution = declared(d, "FixedResolution");
    ids.symbolSize = declared(d, "SymbolSize");
    ids.padSymbols = declared(d, "PadSymbols");
    ids.maxDisplayed = declared(d, "MaxDispNumAct");
    ids.antiAlias = declared(d, "AntiAlias");
    for (int k = 0; k < kDrawnLevels; ++k) {
        ids.detail[k] = declared(d, kDetailNames[k]);
    }
    return ids;
}

}  // namespace

void applyValues(sim::DrawParameterValues& values, const std::vector<NamedValue>& list) {
    for (const NamedValue& v : list) {
        if (v.type == sim::kParameterTypeString) {
            values.setString(v.id, v.text);
        } else if (v.type == sim::kParameterTypeInteger) {
            values.setInteger(v.id, sim::integerParameterFromReal(v.number));
        } else {
            values.setReal(v.id, v.number);
        }
    }
}

DisplayRun::DisplayRun(sim::SimHost& host, const PreviewScenario& scenario, const DisplayPlan& plan)
    : kind_(plan.kind), gauge_(std::make_unique<sim::GaugeHost>(host)) {
    result.kind = plan.kind;
    if (!gauge_->create(kPanelName, displayName(plan.kind))) {
        throw std::runtime_error(std::string("the module would not create the ") +
                                 displayName(plan.kind) + " display");
    }
    values_ = scenario.parameters;
    values_.insert(values_.end(), plan.parameters.begin(), plan.parameters.end());
    sim::DrawParameterValues& params = display().parameters();
    params.recordReads = false;
    params.setScale(scenario.hostScale, scenario.hostScale);
    applyValues(params, values_);
    ids_ = hostParameterIds(display());
    for (const NamedValue& v : scenario.gauge) {
        gauge_->gauge()->setNumberProperty(v.id, v.number);
    }
    for (const AircraftPlan& a : scenario.traffic) {
        IntruderSummary summary;
        summary.id = a.id;
        summary.atcId = scenario.positionOnly && !a.name.empty() ? a.name : a.atcId;
        result.intruders.push_back(summary);
    }
}

const NamedValue* DisplayRun::value(int32_t id) const {
    const NamedValue* found = nullptr;
    for (const NamedValue& v : values_) {
        if (v.id == id) {
            found = &v;  // the last one given wins
        }
    }
    return found;
}

double DisplayRun::range() const {
    const NamedValue* v = value(ids_.range);
    return v ? v->number : gauge_->number("range");
}

void DisplayRun::setMouse(double x, double y) {
    gauge_->setProperty("mouseRelPosX", x);
    gauge_->setProperty("mouseRelPosY", y);
}

}  // namespace cs::preview
