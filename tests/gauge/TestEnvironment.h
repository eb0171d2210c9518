// A small host for gauge scripts in tests: L: variables in a map, a few A:
// variables with fixed values, the mouse, and a record of every write.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "tools/gauge/ScriptEvaluator.h"

namespace cs::gauge {

class TestEnvironment : public Environment {
  public:
    std::map<std::string, double> locals;
    double mouseX = 0.0, mouseY = 0.0;
    std::vector<std::string> written;  // "name=value"

    int32_t bind(const VarRef& ref, const Origin& at, Diagnostics& d) override {
        if (ref.kind == 'L') {
            names_.push_back(ref.name);
            return static_cast<int32_t>(names_.size() - 1);
        }
        if (ref.kind == 'M' && (ref.name == "X" || ref.name == "Y")) {
            return ref.name == "X" ? kMouseX : kMouseY;
        }
        if (ref.kind == 'A' && ref.name == "PLANE ALTITUDE") {
            return kAltitude;
        }
        d.error(at, "unknown variable (" + ref.text + ")");
        return -1;
    }
    void read(int32_t handle, Value& out) override {
        if (handle == kMouseX || handle == kMouseY) {
            out = Value::of(handle == kMouseX ? mouseX : mouseY);
        } else if (handle == kAltitude) {
            out = Value::of(11000.0);
        } else {
            out = Value::of(locals[names_[static_cast<size_t>(handle)]]);
        }
    }
    void write(int32_t handle, const Value& value) override {
        if (handle >= 0 && static_cast<size_t>(handle) < names_.size()) {
            locals[names_[static_cast<size_t>(handle)]] = value.asNumber();
            written.push_back(names_[static_cast<size_t>(handle)] + "=" + value.asText());
        }
    }

  private:
    static constexpr int32_t kMouseX = 1000, kMouseY = 1001, kAltitude = 1002;
    std::vector<std::string> names_;
};

}  // namespace cs::gauge
