// Runs compiled gauge scripts against a host's variables.
//
// A script's result is the value left on top of its stack (0 when empty).
// Evaluation follows the simulator where a script is wrong at run time: an
// operator short of operands takes 0 for each missing one (and the designer
// is told once per script), a division or remainder by zero gives 0, and a
// variable the host could not bind reads 0 and ignores writes.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "tools/gauge/Diagnostics.h"
#include "tools/gauge/Script.h"
#include "tools/gauge/Value.h"

namespace cs::gauge {
struct StringOperator;
}

namespace cs::gauge {

// The host side of the variables. bind() is called once per variable of a
// script, before any evaluation; it reports problems itself and returns a
// handle, or -1 for a variable that reads 0 and cannot be written.
class Environment {
  public:
    virtual ~Environment() = default;
    virtual int32_t bind(const VarRef& ref, const Origin& at, Diagnostics& diagnostics) = 0;
    virtual void read(int32_t handle, Value& out) = 0;
    virtual void write(int32_t handle, const Value& value) = 0;
};

// Binds every variable of the script; false when any could not be bound.
bool bindScript(Script& script, Environment& environment, Diagnostics& diagnostics);

class Evaluator {
  public:
    // Runs the script and returns its result. `diagnostics` (may be null)
    // receives the warning about missing operands.
    const Value& evaluate(const Script& script, Environment& environment, Diagnostics* diagnostics);
    double number(const Script& script, Environment& environment, Diagnostics* diagnostics) {
        return evaluate(script, environment, diagnostics).asNumber();
    }

    // The stack may hold at most this many values; pushing more drops the
    // push and counts as a fault of the script.
    static constexpr size_t kMaxStack = 4096;

  private:
    Value pop();
    double popNumber() {
        if (depth_ == 0) {
            underflow_ = true;
            return 0.0;
        }
        const Value& v = stack_[--depth_];
        return v.isText ? v.asNumber() : v.number;
    }
    void push(Value v);
    void strings(const StringOperator& op);
    void choose();
    void pushNumber(double n);
    // The slot a new value goes to, or null when the stack is full.
    Value* slot();

    std::vector<Value> stack_;
    size_t depth_ = 0;  // live values in stack_ (the rest are kept for reuse)
    std::array<Value, kRegisters> registers_{};
    uint64_t registersUsed_ = 0;
    bool underflow_ = false;
    bool overflow_ = false;
    bool looped_ = false;
    const Instruction* fault_ = nullptr;  // the first short of operands
    int faultLine_ = 0;
    Value result_;
};

}  // namespace cs::gauge
