#include "tools/gauge/ScriptEvaluator.h"

#include "tools/gauge/NumberOperators.h"
#include "tools/gauge/StringOperators.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace cs::gauge {

namespace {

constexpr double kPi = 3.14159265358979323846;

// Copies a value, touching the text only when it is one.
void copyValue(Value& to, const Value& from) {
    to.number = from.number;
    to.isText = from.isText;
    if (from.isText) {
        to.text = from.text;
    }
}

}  // namespace

bool bindScript(Script& script, Environment& environment, Diagnostics& diagnostics) {
    bool ok = true;
    const std::vector<VarRef>& refs = script.variables();
    std::vector<int32_t>& handles = script.bindings();
    handles.assign(refs.size(), -1);
    for (size_t i = 0; i < refs.size(); ++i) {
        Origin at = script.origin();
        at.line = refs[i].line;
        const size_t errors = diagnostics.errorCount();
        handles[i] = environment.bind(refs[i], at, diagnostics);
        ok = ok && diagnostics.errorCount() == errors;
    }
    return ok;
}

Value Evaluator::pop() {
    if (depth_ == 0) {
        underflow_ = true;
        return Value{};
    }
    return std::move(stack_[--depth_]);
}

void Evaluator::push(Value v) {
    if (depth_ >= kMaxStack) {
        overflow_ = true;
        return;
    }
    if (depth_ == stack_.size()) {
        stack_.push_back(std::move(v));
    } else {
        stack_[depth_] = std::move(v);
    }
    ++depth_;
}

Value* Evaluator::slot() {
    if (depth_ >= kMaxStack) {
        overflow_ = true;
        return nullptr;
    }
    if (depth_ == stack_.size()) {
        stack_.emplace_back();
    }
    return &stack_[depth_++];
}

void Evaluator::pushNumber(double n) {
    if (Value* v = slot()) {
        v->number = n;
        v->isText = false;
    }
}

const Value& Evaluator::evaluate(const Script& script, Environment& environment,
                                 Diagnostics* diagnostics) {
    depth_ = 0;
    underflow_ = false;
    overflow_ = false;
    for (int r = 0; registersUsed_ != 0 && r < kRegisters; ++r) {
        if (registersUsed_ & (uint64_t{1} << r)) {
            registers_[static_cast<size_t>(r)] = Value{};
        }
    }
    registersUsed_ = 0;
    const std::vector<Instruction>& code = script.code();
    const std::vector<int32_t>& bindings = script.bindings();
    size_t pc = 0;
    long steps = 0;
    looped_ = false;
    while (pc < code.size()) {
        if (++steps > kMaxSteps) {
            looped_ = true;
            break;
        }
        const Instruction& in = code[pc++];
        const bool wasShort = underflow_;
        switch (in.op) {
            case Op::Number:
                pushNumber(in.number);
                break;
            case Op::Text:
                push(Value::ofText(script.texts()[static_cast<size_t>(in.arg)]));
                break;
            case Op::Read: {
                const int32_t handle = bindings[static_cast<size_t>(in.arg)];
                if (Value* v = slot()) {
                    v->number = 0.0;
                    v->isText = false;
                    if (handle >= 0) {
                        environment.read(handle, *v);
                    }
                }
                break;
            }
            case Op::Write: {
                const int32_t handle = bindings[static_cast<size_t>(in.arg)];
                if (depth_ == 0) {
                    // A key event is often sent with nothing on the stack:
                    // its value is then 0, as in the simulator.
                    underflow_ =
                        underflow_ || script.variables()[static_cast<size_t>(in.arg)].kind != 'K';
                    if (handle >= 0) {
                        environment.write(handle, Value{});
                    }
                } else if (handle >= 0) {
                    environment.write(handle, stack_[--depth_]);
                } else {
                    --depth_;
                }
                break;
            }
            case Op::Pi:
                pushNumber(kPi);
                break;
            case Op::Range: {  // x low high rng: 1 when low <= x <= high
                const double high = popNumber(), low = popNumber(), x = popNumber();
                pushNumber(low <= x && x <= high ? 1.0 : 0.0);
                break;
            }
            case Op::Eq:
            case Op::Ne: {
                const Value b = pop(), a = pop();
                const bool equal =
                    (a.isText && b.isText) ? a.text == b.text : a.asNumber() == b.asNumber();
                pushNumber(equal == (in.op == Op::Eq) ? 1.0 : 0.0);
                break;
            }
            case Op::JumpIfFalse:
                if (popNumber() == 0.0) {
                    pc = static_cast<size_t>(in.arg);
                }
                break;
            case Op::Jump:
                pc = static_cast<size_t>(in.arg);
                break;
            case Op::Dup: {
                Value v = pop();
                push(v);
                push(std::move(v));
                break;
            }
            case Op::Pop:
                popNumber();
                break;
            case Op::Swap: {
                Value b = pop(), a = pop();
                push(std::move(b));
                push(std::move(a));
                break;
            }
            case Op::Clear:
                depth_ = 0;
                break;
            case Op::Store:
            case Op::StorePop: {
                registersUsed_ |= uint64_t{1} << in.arg;
                Value& r = registers_[static_cast<size_t>(in.arg)];
                if (depth_ == 0) {
                    underflow_ = true;
                    r = Value{};
                    if (in.op == Op::Store) {
                        pushNumber(0.0);
                    }
                    break;
                }
                copyValue(r, stack_[depth_ - 1]);
                if (in.op == Op::StorePop) {
                    --depth_;
                }
                break;
            }
            case Op::Load:
                if (Value* v = slot()) {
                    copyValue(*v, registers_[static_cast<size_t>(in.arg)]);
                }
                break;
            case Op::Unary: {
                size_t count = 0;
                const UnaryOperator* table = unaryOperators(&count);
                pushNumber(table[in.arg].apply(popNumber()));
                break;
            }
            case Op::Binary: {
                size_t count = 0;
                const BinaryOperator* table = binaryOperators(&count);
                const double b = popNumber(), a = popNumber();
                pushNumber(table[in.arg].apply(a, b));
                break;
            }
            case Op::Strings:
                strings(stringOperators()[static_cast<size_t>(in.arg)]);
                break;
            case Op::Choose: {
                Value b = pop(), a = pop();
                const bool c = popNumber() != 0.0;
                push(c ? std::move(a) : std::move(b));
                break;
            }
            case Op::Case:
                choose();
                break;
            case Op::Quit:
                pc = code.size();
                break;
        }
        if (underflow_ && !wasShort) {
            fault_ = &in;
            faultLine_ = in.line;
        }
    }
    if (looped_ && diagnostics != nullptr && !script.loopReported) {
        script.loopReported = true;
        diagnostics->warn(script.origin(), "the script ran " + std::to_string(kMaxSteps) +
                                               " instructions without ending (a jump that "
                                               "loops?); stopped there (reported once per "
                                               "script)");
    }
    if ((underflow_ || overflow_) && diagnostics != nullptr && !script.underflowReported) {
        script.underflowReported = true;
        Origin at = script.origin();
        at.line = underflow_ ? faultLine_ : at.line;
        diagnostics->warn(at, underflow_ ? std::string("\"") + instructionWord(*fault_) +
                                               "\" is short of operands; the missing ones "
                                               "count as 0 (reported once per script)"
                                         : "the script pushes more than 4096 values; the "
                                           "excess is dropped (reported once per script)");
    }
    if (depth_ == 0) {
        result_ = Value{};
    } else {
        copyValue(result_, stack_[depth_ - 1]);
    }
    return result_;
}

void Evaluator::strings(const StringOperator& op) {
    Value in[3];
    for (int i = op.operands - 1; i >= 0; --i) {
        in[i] = pop();
    }
    if (Value* out = slot()) {
        op.apply(in, *out);
    }
}

// v0 ... vn-1 n i case: the value i places below the count (0 is vn-1, the
// last pushed); 0 when i is outside the list.
void Evaluator::choose() {
    const double index = std::trunc(popNumber());
    const double count = std::trunc(popNumber());
    const size_t n = count > 0.0 ? static_cast<size_t>(std::fmin(count, double(kMaxStack))) : 0;
    if (n > depth_) {
        underflow_ = true;
    }
    const size_t live = n > depth_ ? depth_ : n;
    Value picked;
    if (index >= 0.0 && index < static_cast<double>(n)) {
        const size_t i = static_cast<size_t>(index);
        if (i < live) {
            picked = std::move(stack_[depth_ - 1 - i]);
        }
    }
    depth_ -= live;
    push(std::move(picked));
}

}  // namespace cs::gauge
