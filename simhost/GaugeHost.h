// The host side of a gauge: the objects the panel system hands to a gauge's
// custom-draw elements, and a way to run one whole gauge of the module the
// way the simulator does (create through the registered callbacks by name,
// write properties by name, update at the host's rate, draw).
//
//   cs::sim::SimHost host;                     // plus install()/installInto()
//   ... DLLStart() ...
//   cs::sim::GaugeHost gauge(host);
//   if (gauge.create("va9vedored", "tcas")) {
//       gauge.display().set("Range", 10.0);    // a draw parameter, by name
//       gauge.setProperty("mouseRelPosX", 0.5);
//       gauge.run(2.0);                        // 2 s of updates at 18 per second
//       gauge.display().draw(200, 200, canvas.dc());
//       double level = gauge.number("advisory");
//   }
//
// Builds for Linux and Windows alike: the device context is whatever the
// platform's drawing backend draws into (see simhost/Canvas.h).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/PanelInterfaces.h"

namespace cs::sim {

class SimHost;

// One declaration a drawable made while it was created.
struct ParameterDeclaration {
    std::string name;
    int32_t id;
    int32_t type;  // 2 real, 3 integer, 4 string
};

constexpr int32_t kParameterTypeReal = 2;
constexpr int32_t kParameterTypeInteger = 3;
constexpr int32_t kParameterTypeString = 4;

// The object handed to createDrawable: records every declaration in order.
class DrawableDeclarations final : public IDrawableCreateParameters {
  public:
    uint32_t HOST_MEMBER unusedSlot0() override { return 0; }
    uint32_t HOST_MEMBER unusedSlot1() override { return 0; }
    void* HOST_MEMBER unusedSlot2(const char* /*name*/) override { return nullptr; }
    void HOST_MEMBER unusedSlot3() override {}
    bool HOST_MEMBER declareParameter(const char* name, int32_t id, int32_t type) override;

    const std::vector<ParameterDeclaration>& declarations() const { return declarations_; }
    // The declaration of a name, compared ignoring ASCII case; null if none.
    const ParameterDeclaration* find(const std::string& name) const;
    void clear() { declarations_.clear(); }

  private:
    std::vector<ParameterDeclaration> declarations_;
};

// How a drawable read a parameter during a draw.
enum class ParameterRead { Integer, Real, String, HorizontalScale, VerticalScale };

struct ParameterReadEvent {
    ParameterRead kind;
    int32_t id;  // -1 for the two scale reads
};

// The object handed to each draw: the values the gauge supplies, by id, and
// the host's scale from gauge units to device pixels. A parameter the gauge
// did not supply leaves the drawable's destination untouched (read result
// false). A value set with one numeric type and read with the other is
// converted (real to integer truncates toward zero and saturates; NaN reads
// as 0); numbers and texts do not convert.
class DrawParameterValues final : public IDrawParameters {
  public:
    uint32_t HOST_MEMBER unusedSlot0() override { return 0; }
    bool HOST_MEMBER readInteger(int32_t id, int32_t* value) override;
    bool HOST_MEMBER readReal(int32_t id, double* value) override;
    bool HOST_MEMBER readString(int32_t id, const char** value) override;
    double HOST_MEMBER horizontalScale() override;
    double HOST_MEMBER verticalScale() override;

    void setInteger(int32_t id, int32_t value);
    void setReal(int32_t id, double value);
    void setString(int32_t id, const std::string& text);
    void setNullString(int32_t id);  // supplied, but as a null pointer
    void unset(int32_t id);
    void clear();  // nothing supplied

    // By name, through the declarations the drawable made: the value is
    // stored with the declared type (an integer from a real as above, with
    // values from 2^31 to 2^32 - 1 taken as their 32-bit pattern, as for a
    // colour 0xFF000000). False for an unknown name or, for set(), a string
    // parameter; setText() needs a string parameter.
    void useDeclarations(const DrawableDeclarations* declarations) { declarations_ = declarations; }
    bool set(const std::string& name, double value);
    bool setText(const std::string& name, const std::string& text);

    void setScale(double horizontal, double vertical);
    double scaleX() const { return scaleX_; }
    double scaleY() const { return scaleY_; }

    // Every read since the last clearReads(), in order.
    const std::vector<ParameterReadEvent>& reads() const { return reads_; }
    void clearReads() { reads_.clear(); }
    bool recordReads = true;

  private:
    struct Value {
        bool supplied = false;
        int32_t type = 0;
        int32_t integer = 0;
        double real = 0.0;
        std::string text;
        bool nullText = false;
    };
    // Reads never resize the table, so a text handed out stays valid until
    // the value is set again.
    const Value* find(int32_t id) const;
    Value* slot(int32_t id);
    void record(ParameterRead kind, int32_t id);

    std::vector<Value> values_ = std::vector<Value>(32);
    const DrawableDeclarations* declarations_ = nullptr;
    double scaleX_ = 1.0;
    double scaleY_ = 1.0;
    std::vector<ParameterReadEvent> reads_;
};

// Saturating conversion of a host real to a 32-bit integer parameter.
int32_t integerParameterFromReal(double value);

// One custom-draw element of a gauge: its drawable with the declarations it
// made and the values the gauge gives it.
class GaugeDisplay {
  public:
    GaugeDisplay() = default;
    ~GaugeDisplay();
    GaugeDisplay(const GaugeDisplay&) = delete;
    GaugeDisplay& operator=(const GaugeDisplay&) = delete;

    IGaugeCDrawable* drawable() const { return drawable_; }
    int32_t id() const { return id_; }
    DrawableDeclarations& declarations() { return declarations_; }
    DrawParameterValues& parameters() { return parameters_; }

    bool set(const std::string& name, double value) { return parameters_.set(name, value); }
    bool setText(const std::string& name, const std::string& text) {
        return parameters_.setText(name, text);
    }

    // One call of the drawable's update / draw (false without drawable).
    void update();
    bool draw(int32_t widthPx, int32_t heightPx, DeviceContext dc);
    // Gives up the host's reference now; returns the drawable's answer (0
    // when it was destroyed) and forgets it.
    uint32_t release();

  private:
    friend class GaugeHost;
    IGaugeCDrawable* drawable_ = nullptr;
    int32_t id_ = -1;
    DrawableDeclarations declarations_;
    DrawParameterValues parameters_;
};

// Where creating a gauge stopped.
enum class GaugeCreateStage {
    NotStarted,
    PanelNotFound,    // no callback registered under the name
    DisplayNotNamed,  // the panel callback knows no such property name
    NoAircraft,       // createAircraftCallback gave null
    NoGauge,          // createGaugeCallback gave null
    NoDrawable,       // createDrawable gave null
    Created,
};

// One gauge of the module, created through the host's services the way the
// simulator creates it. Owns the host's references to the aircraft callback,
// the gauge callback and every drawable, and releases them (drawables first)
// when destroyed.
class GaugeHost {
  public:
    explicit GaugeHost(SimHost& host);
    ~GaugeHost();
    GaugeHost(const GaugeHost&) = delete;
    GaugeHost& operator=(const GaugeHost&) = delete;

    // findPanelCallback(panelName) -> propertyNameToId(displayName) ->
    // createAircraftCallback -> createGaugeCallback -> createDrawable. True
    // when a drawable was made; stage() tells where it stopped otherwise.
    bool create(const std::string& panelName, const std::string& displayName);
    // The aircraft and gauge callbacks only, without a drawable: a gauge that
    // reads and writes properties but draws no display. True when both exist.
    bool attach(const std::string& panelName);
    // A further custom-draw element of the same gauge; null when it fails.
    GaugeDisplay* addDisplay(const std::string& displayName);
    // Creates a drawable for an id without any name lookup (e.g. kind 2).
    GaugeDisplay* addDisplayById(int32_t id);
    GaugeCreateStage stage() const { return stage_; }

    IPanelCCallback* panel() const { return panel_; }
    IAircraftCCallback* aircraft() const { return aircraft_; }
    IGaugeCCallback* gauge() const { return gauge_; }
    size_t displayCount() const { return displays_.size(); }
    GaugeDisplay& display(size_t index = 0) { return *displays_.at(index); }

    // Property id of a name through the panel callback; -1 when unknown.
    int32_t propertyId(const std::string& name) const;
    bool setProperty(const std::string& name, double value);
    bool getProperty(const std::string& name, double* value) const;
    // The value of a number property, NaN when it cannot be read.
    double number(const std::string& name) const;
    // The text of a text property, empty when it cannot be read.
    std::string text(const std::string& name) const;

    // The host's update cycle: every display updated once.
    void update();
    // `seconds` of simulation at the host's rate: the host advanced one tick
    // (1/18 s) at a time and every display updated after each tick.
    void run(double seconds);
    // Draws every display into the same area; true when any drew a frame.
    bool drawAll(int32_t widthPx, int32_t heightPx, DeviceContext dc);

    // Gives up the host's reference to the gauge callback now (before its
    // drawables, which the gauge then detaches); returns its answer.
    uint32_t releaseGauge();

  private:
    GaugeDisplay* makeDisplay(int32_t id);
    // The aircraft and gauge callbacks, made once; false (with the stage) when refused.
    bool makeCallbacks();

    SimHost& host_;
    GaugeCreateStage stage_ = GaugeCreateStage::NotStarted;
    IPanelCCallback* panel_ = nullptr;  // the module's, no reference taken
    IAircraftCCallback* aircraft_ = nullptr;
    IGaugeCCallback* gauge_ = nullptr;
    std::vector<std::unique_ptr<GaugeDisplay>> displays_;
};

}  // namespace cs::sim
