#include "simhost/GaugeHost.h"

#include <cmath>
#include <limits>

#include "host/Saturate.h"
#include "simhost/SimHost.h"

namespace cs::sim {

namespace {

constexpr double kTicksPerSecond = 18.0;

char lowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equalIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (lowerAscii(a[i]) != lowerAscii(b[i])) {
            return false;
        }
    }
    return true;
}

}  // namespace

int32_t integerParameterFromReal(double value) {
    const double truncated = std::trunc(value);
    if (truncated >= 2147483648.0 && truncated <= 4294967295.0) {
        // A colour such as 0xFF000000 written as a number: keep its bits.
        return static_cast<int32_t>(static_cast<uint32_t>(truncated));
    }
    return saturatingCast<int32_t>(truncated);
}

// --- DrawableDeclarations ---------------------------------------------------

bool DrawableDeclarations::declareParameter(const char* name, int32_t id, int32_t type) {
    declarations_.push_back(ParameterDeclaration{name != nullptr ? name : "", id, type});
    return true;
}

const ParameterDeclaration* DrawableDeclarations::find(const std::string& name) const {
    for (const ParameterDeclaration& declaration : declarations_) {
        if (equalIgnoringCase(declaration.name, name)) {
            return &declaration;
        }
    }
    return nullptr;
}

// --- DrawParameterValues ----------------------------------------------------

const DrawParameterValues::Value* DrawParameterValues::find(int32_t id) const {
    if (id < 0 || static_cast<size_t>(id) >= values_.size()) {
        return nullptr;
    }
    return &values_[static_cast<size_t>(id)];
}

DrawParameterValues::Value* DrawParameterValues::slot(int32_t id) {
    if (id < 0 || id > 1000) {
        return nullptr;
    }
    if (static_cast<size_t>(id) >= values_.size()) {
        values_.resize(static_cast<size_t>(id) + 1);
    }
    return &values_[static_cast<size_t>(id)];
}

void DrawParameterValues::record(ParameterRead kind, int32_t id) {
    if (recordReads) {
        reads_.push_back(ParameterReadEvent{kind, id});
    }
}

bool DrawParameterValues::readInteger(int32_t id, int32_t* value) {
    record(ParameterRead::Integer, id);
    const Value* v = find(id);
    if (value == nullptr || v == nullptr || !v->supplied) {
        return false;
    }
    if (v->type == kParameterTypeInteger) {
        *value = v->integer;
        return true;
    }
    if (v->type == kParameterTypeReal) {
        *value = integerParameterFromReal(v->real);
        return true;
    }
    return false;
}

bool DrawParameterValues::readReal(int32_t id, double* value) {
    record(ParameterRead::Real, id);
    const Value* v = find(id);
    if (value == nullptr || v == nullptr || !v->supplied) {
        return false;
    }
    if (v->type == kParameterTypeReal) {
        *value = v->real;
        return true;
    }
    if (v->type == kParameterTypeInteger) {
        *value = v->integer;
        return true;
    }
    return false;
}

bool DrawParameterValues::readString(int32_t id, const char** value) {
    record(ParameterRead::String, id);
    const Value* v = find(id);
    if (value == nullptr || v == nullptr || !v->supplied || v->type != kParameterTypeString) {
        return false;
    }
    *value = v->nullText ? nullptr : v->text.c_str();
    return true;
}

double DrawParameterValues::horizontalScale() {
    record(ParameterRead::HorizontalScale, -1);
    return scaleX_;
}

double DrawParameterValues::verticalScale() {
    record(ParameterRead::VerticalScale, -1);
    return scaleY_;
}

void DrawParameterValues::setInteger(int32_t id, int32_t value) {
    if (Value* v = slot(id)) {
        *v = Value{};
        v->supplied = true;
        v->type = kParameterTypeInteger;
        v->integer = value;
    }
}

void DrawParameterValues::setReal(int32_t id, double value) {
    if (Value* v = slot(id)) {
        *v = Value{};
        v->supplied = true;
        v->type = kParameterTypeReal;
        v->real = value;
    }
}

void DrawParameterValues::setString(int32_t id, const std::string& text) {
    if (Value* v = slot(id)) {
        *v = Value{};
        v->supplied = true;
        v->type = kParameterTypeString;
        v->text = text;
    }
}

void DrawParameterValues::setNullString(int32_t id) {
    if (Value* v = slot(id)) {
        *v = Value{};
        v->supplied = true;
        v->type = kParameterTypeString;
        v->nullText = true;
    }
}

void DrawParameterValues::unset(int32_t id) {
    if (Value* v = slot(id)) {
        *v = Value{};
    }
}

void DrawParameterValues::clear() {
    values_.clear();
}

bool DrawParameterValues::set(const std::string& name, double value) {
    const ParameterDeclaration* declaration =
        declarations_ != nullptr ? declarations_->find(name) : nullptr;
    if (declaration == nullptr) {
        return false;
    }
    switch (declaration->type) {
        case kParameterTypeInteger:
            setInteger(declaration->id, integerParameterFromReal(value));
            return true;
        case kParameterTypeReal:
            setReal(declaration->id, value);
            return true;
        default:
            return false;
    }
}

bool DrawParameterValues::setText(const std::string& name, const std::string& text) {
    const ParameterDeclaration* declaration =
        declarations_ != nullptr ? declarations_->find(name) : nullptr;
    if (declaration == nullptr || declaration->type != kParameterTypeString) {
        return false;
    }
    setString(declaration->id, text);
    return true;
}

void DrawParameterValues::setScale(double horizontal, double vertical) {
    scaleX_ = horizontal;
    scaleY_ = vertical;
}

// --- GaugeDisplay -----------------------------------------------------------

GaugeDisplay::~GaugeDisplay() {
    release();
}

void GaugeDisplay::update() {
    if (drawable_ != nullptr) {
        drawable_->update();
    }
}

bool GaugeDisplay::draw(int32_t widthPx, int32_t heightPx, DeviceContext dc) {
    if (drawable_ == nullptr) {
        return false;
    }
    return drawable_->draw(&parameters_, widthPx, heightPx, dc, nullptr);
}

uint32_t GaugeDisplay::release() {
    if (drawable_ == nullptr) {
        return 0;
    }
    const uint32_t count = drawable_->release();
    drawable_ = nullptr;
    return count;
}

// --- GaugeHost --------------------------------------------------------------

GaugeHost::GaugeHost(SimHost& host) : host_(host) {}

GaugeHost::~GaugeHost() {
    displays_.clear();  // drawables first, while their gauge still lives
    releaseGauge();
    if (aircraft_ != nullptr) {
        aircraft_->release();
        aircraft_ = nullptr;
    }
}

bool GaugeHost::create(const std::string& panelName, const std::string& displayName) {
    HostServices* services = host_.services();
    panel_ = services->findPanelCallback(panelName.c_str());
    if (panel_ == nullptr) {
        stage_ = GaugeCreateStage::PanelNotFound;
        return false;
    }
    const int32_t id = propertyId(displayName);
    if (id < 0) {
        stage_ = GaugeCreateStage::DisplayNotNamed;
        return false;
    }
    return makeCallbacks() && makeDisplay(id) != nullptr;
}

bool GaugeHost::attach(const std::string& panelName) {
    panel_ = host_.services()->findPanelCallback(panelName.c_str());
    if (panel_ == nullptr) {
        stage_ = GaugeCreateStage::PanelNotFound;
        return false;
    }
    return makeCallbacks();
}

bool GaugeHost::makeCallbacks() {
    if (aircraft_ == nullptr) {
        aircraft_ = panel_->createAircraftCallback(0);
    }
    if (aircraft_ == nullptr) {
        stage_ = GaugeCreateStage::NoAircraft;
        return false;
    }
    if (gauge_ == nullptr) {
        gauge_ = aircraft_->createGaugeCallback();
    }
    if (gauge_ == nullptr) {
        stage_ = GaugeCreateStage::NoGauge;
        return false;
    }
    return true;
}

GaugeDisplay* GaugeHost::addDisplay(const std::string& displayName) {
    const int32_t id = propertyId(displayName);
    if (id < 0) {
        stage_ = GaugeCreateStage::DisplayNotNamed;
        return nullptr;
    }
    return makeDisplay(id);
}

GaugeDisplay* GaugeHost::addDisplayById(int32_t id) {
    return makeDisplay(id);
}

GaugeDisplay* GaugeHost::makeDisplay(int32_t id) {
    if (gauge_ == nullptr) {
        stage_ = GaugeCreateStage::NoGauge;
        return nullptr;
    }
    std::unique_ptr<GaugeDisplay> display(new GaugeDisplay());
    display->id_ = id;
    display->parameters_.useDeclarations(&display->declarations_);
    display->drawable_ = gauge_->createDrawable(id, &display->declarations_);
    if (display->drawable_ == nullptr) {
        stage_ = GaugeCreateStage::NoDrawable;
        return nullptr;
    }
    stage_ = GaugeCreateStage::Created;
    displays_.push_back(std::move(display));
    return displays_.back().get();
}

int32_t GaugeHost::propertyId(const std::string& name) const {
    int32_t id = -1;
    if (panel_ == nullptr || !panel_->propertyNameToId(name.c_str(), &id)) {
        return -1;
    }
    return id;
}

bool GaugeHost::setProperty(const std::string& name, double value) {
    const int32_t id = propertyId(name);
    return gauge_ != nullptr && id >= 0 && gauge_->setNumberProperty(id, value);
}

bool GaugeHost::getProperty(const std::string& name, double* value) const {
    const int32_t id = propertyId(name);
    return gauge_ != nullptr && id >= 0 && gauge_->getNumberProperty(id, value);
}

double GaugeHost::number(const std::string& name) const {
    double value = 0.0;
    if (!getProperty(name, &value)) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    return value;
}

std::string GaugeHost::text(const std::string& name) const {
    const int32_t id = propertyId(name);
    const char* value = nullptr;
    if (gauge_ == nullptr || id < 0 || !gauge_->getTextProperty(id, &value) || value == nullptr) {
        return std::string();
    }
    return std::string(value);
}

void GaugeHost::update() {
    for (const std::unique_ptr<GaugeDisplay>& display : displays_) {
        display->update();
    }
}

void GaugeHost::run(double seconds) {
    // At most a simulated day per call.
    if (!(seconds > 0.0)) {
        return;
    }
    const double limited = seconds < 86400.0 ? seconds : 86400.0;
    const long ticks = static_cast<long>(std::floor(limited * kTicksPerSecond + 0.5));
    for (long i = 0; i < ticks; ++i) {
        host_.advance(1.0 / kTicksPerSecond, 1.0);
        update();
    }
}

bool GaugeHost::drawAll(int32_t widthPx, int32_t heightPx, DeviceContext dc) {
    bool drawn = false;
    for (const std::unique_ptr<GaugeDisplay>& display : displays_) {
        drawn = display->draw(widthPx, heightPx, dc) || drawn;
    }
    return drawn;
}

uint32_t GaugeHost::releaseGauge() {
    if (gauge_ == nullptr) {
        return 0;
    }
    const uint32_t count = gauge_->release();
    gauge_ = nullptr;
    return count;
}

}  // namespace cs::sim
