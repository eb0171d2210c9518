// One gauge file running against the loaded module, as the simulator runs
// it: the gauge gets, for every panel callback it names (in a <CustomDraw>
// or a (C:callback:property) variable), an aircraft callback and a gauge
// callback of its own, and a drawable per <CustomDraw> created with the
// parameters it declares. Each host tick (see docs/workbench.md):
//   1. the <Update> script;
//   2. the module's update of every drawable;
//   3. every <CustomDraw>'s parameters evaluated into its draw-parameters
//      object, and its draw into its own drawing area;
//   4. the elements' <Visible>, <Rotate>/<Shift>, <Select>/<Value> and
//      <String> scripts, in file order (children of hidden elements are not
//      evaluated);
//   5. the tool-tip of the mouse area under the mouse.
// A mouse move runs the <Click Kind="Move"> script of the innermost area
// under the mouse before the tick; a click (LeftSingle, WheelUp, ...) runs
// the <Click> of the innermost area whose Kind lists it, and logs its Event.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "simhost/Canvas.h"
#include "simhost/GaugeHost.h"
#include "tools/gauge/GaugeModel.h"
#include "tools/workbench/GaugeVariables.h"

namespace cs::workbench {

// Where a gauge sits in the output image, in pixels; the gauge's units are
// scaled to fill it.
struct Placement {
    double x = 0.0, y = 0.0, width = 0.0, height = 0.0;
};

struct NodeState {
    bool visible = true;
    std::string text;   // Text: the last evaluated string
    int selected = -1;  // Select: the index of the chosen case
    // Element: where its rotation points (radians clockwise from 12
    // o'clock) and its shift's offset (gauge units), as shown now: with a
    // delay they follow the value tick by tick.
    double angle = 0.0;
    double shiftX = 0.0, shiftY = 0.0;
    bool moved = false;  // evaluated once: a delay starts from there
};

// When a text element first showed (visible with a non-empty text).
struct TextShown {
    int node = 0;
    int line = 0;
    double time = -1.0;  // negative: never
    std::string text;
};

class GaugeRuntime {
  public:
    GaugeRuntime(gauge::GaugeFile& file, sim::SimHost& host, LocalVariables& locals,
                 const AircraftInputs& inputs, const preview::ModuleCatalogue& catalogue,
                 const Placement& placement);
    ~GaugeRuntime();
    GaugeRuntime(const GaugeRuntime&) = delete;
    GaugeRuntime& operator=(const GaugeRuntime&) = delete;

    // Creates the callbacks and drawables and binds every script and
    // parameter. Problems go to `diagnostics`; false when any is an error.
    bool prepare(gauge::Diagnostics& diagnostics);

    // Writes a number property into every gauge callback of this gauge.
    void setProperty(int32_t id, double value);
    // The mouse in gauge units; `moved` runs the Move script under it.
    void mouse(double x, double y, bool moved, gauge::Diagnostics& diagnostics);
    // A click of one kind (a single bit of MouseKinds.h) at (x, y) in gauge
    // units; the line of the <Click> that took it, or 0 when none did.
    int click(double x, double y, uint32_t kind, gauge::Diagnostics& diagnostics);
    // The key events sent since the last call: (>K:...) writes and the
    // Event of each click taken.
    std::vector<SentEvent> takeEvents();
    // One host tick at `time` seconds; `update` false skips the module's
    // update (the first tick, right after creation).
    void tick(bool update, double time, gauge::Diagnostics& diagnostics);
    // The scripts of a tick alone, without the module's update and draw:
    // Update (at its frequency, or always), the draw parameters, the
    // elements, the tool-tip.
    void evaluateScripts(double time, gauge::Diagnostics& diagnostics, bool alwaysUpdate);

    const gauge::GaugeFile& file() const { return file_; }
    const Placement& placement() const { return placement_; }
    double scaleX() const { return placement_.width / file_.width; }
    double scaleY() const { return placement_.height / file_.height; }
    const std::vector<NodeState>& states() const { return states_; }
    const std::vector<TextShown>& texts() const { return texts_; }
    const std::string& tooltip() const { return tooltip_; }
    // What the module last drew for a <CustomDraw> node; null if none.
    const sim::Canvas* displayCanvas(int node) const;
    // Every readable property of each of this gauge's gauge callbacks, as
    // "callback:name" with its value now, by callback then id; `written`
    // marks those its scripts wrote since the last call.
    std::vector<PropertyAccess> properties();

  private:
    struct Parameter {
        int32_t id = -1;
        int32_t type = 0;
        const gauge::Script* script = nullptr;  // null: `text` is the value
        std::string text;
    };
    struct Display {
        gauge::Node* node = nullptr;
        sim::GaugeDisplay* display = nullptr;
        std::unique_ptr<sim::Canvas> canvas;
        std::vector<Parameter> parameters;
    };

    IGaugeCCallback* callbacksFor(const std::string& panel);
    // `rotation`: the line of the innermost rotation around the node, or 0.
    void prepareNode(gauge::Node& node, gauge::Diagnostics& d, int rotation);
    void prepareDisplay(gauge::Node& node, gauge::Diagnostics& d);
    bool attachDisplay(Display& slot, gauge::Diagnostics& d);
    bool makeCanvas(Display& slot, gauge::Diagnostics& d);
    void prepareParameter(Display& slot, gauge::DrawParameter& p,
                          const std::vector<std::string>& declared, gauge::Diagnostics& d);
    void walk(gauge::Node& node, bool visible, double time, gauge::Diagnostics& d);
    // An element's rotation and shift for this tick.
    void move(const gauge::Node& node, NodeState& st, gauge::Diagnostics& d);
    // Parts the simulator's drawing under a rotation is not known for.
    void warnUnrotated(const gauge::Node& node, int rotation, gauge::Diagnostics& d) const;
    void setParameters(Display& display, gauge::Diagnostics& d);
    void elementsAndTooltip(double time, gauge::Diagnostics& d);
    // <Update> and the elements' ones, at the gauge's frequency (or always).
    void runUpdates(bool always, gauge::Diagnostics& d);

    gauge::GaugeFile& file_;
    sim::SimHost& host_;
    const preview::ModuleCatalogue& catalogue_;
    Placement placement_;
    GaugeVariables variables_;
    gauge::Evaluator evaluator_;
    // Per panel callback name (lower case): this gauge's callbacks.
    std::map<std::string, std::unique_ptr<sim::GaugeHost>> callbacks_;
    std::vector<Display> displays_;
    std::vector<NodeState> states_;
    std::vector<TextShown> texts_;
    double mouseX_ = -1e9, mouseY_ = -1e9;
    long ticks_ = 0;  // ticks run, for the Update frequency
    double lastTime_ = 0.0;
    double step_ = 0.0;  // seconds since the elements were last evaluated
    std::string tooltip_;
    std::vector<SentEvent> clickEvents_;
};

}  // namespace cs::workbench
