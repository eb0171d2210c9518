#include "tools/gauge/Script.h"

#include <cstdlib>

#include "tools/gauge/NumberOperators.h"
#include "tools/gauge/ScriptTokens.h"
#include "tools/gauge/ScriptWords.h"
#include "tools/gauge/StringOperators.h"

namespace cs::gauge {

namespace {

std::string trim(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t' || s[b] == '\r' || s[b] == '\n')) {
        ++b;
    }
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t' || s[e - 1] == '\r' || s[e - 1] == '\n')) {
        --e;
    }
    return s.substr(b, e - b);
}

}  // namespace

bool parseVariable(const std::string& text, VarRef& ref, std::string& problem) {
    std::string body = trim(text);
    ref.text = text;
    ref.write = !body.empty() && body[0] == '>';
    if (ref.write) {
        body = trim(body.substr(1));
    }
    if (body.size() < 2 || body[1] != ':' ||
        !((body[0] >= 'A' && body[0] <= 'Z') || (body[0] >= 'a' && body[0] <= 'z'))) {
        problem = "\"(" + text + ")\" is not a variable; expected (X:name) or (X:name, unit)";
        return false;
    }
    ref.kind = static_cast<char>(body[0] >= 'a' ? body[0] - 'a' + 'A' : body[0]);
    std::string rest = body.substr(2);
    if (ref.kind == 'C') {
        const size_t colon = rest.find(':');
        if (colon == std::string::npos) {
            problem = "\"(" + text + ")\": expected (C:callback:property)";
            return false;
        }
        ref.panel = trim(rest.substr(0, colon));
        rest = rest.substr(colon + 1);
    }
    const size_t comma = rest.rfind(',');
    if (comma != std::string::npos) {
        ref.unit = lowerAscii(trim(rest.substr(comma + 1)));
        rest = rest.substr(0, comma);
    }
    ref.name = trim(rest);
    if (ref.name.empty() || (ref.kind == 'C' && ref.panel.empty())) {
        problem = "\"(" + text + ")\" names no variable";
        return false;
    }
    return true;
}

namespace {

// Turns the tokens into instructions. An if{ leaves a jump to patch when its
// block closes; a } followed by els{ adds the jump over the else block.
class Compiler {
  public:
    Compiler(const std::vector<Token>& tokens, const Origin& origin, Diagnostics& diagnostics)
        : tokens_(tokens), origin_(origin), diagnostics_(diagnostics) {}

    // False when any token did not compile. Every such token is reported,
    // not only the first, but for blocks nested too deep, where it stops.
    bool run();

    std::vector<Instruction> code;
    std::vector<std::string> texts;
    std::vector<VarRef> variables;

  private:
    // Open blocks: the index of the jump to patch and whether it is an els{.
    struct Block {
        size_t jump;
        bool isElse;
        int line;
    };

    void fail(int line, const std::string& message);
    void operand(const Token& token);
    void word(size_t& t);
    void closeBlock(size_t& t, Instruction in);
    bool label(const Token& token);
    void resolveJumps();

    const std::vector<Token>& tokens_;
    const Origin& origin_;
    Diagnostics& diagnostics_;
    std::vector<Block> blocks_;
    // Labels: number -> instruction index; jumps to patch once all are known.
    std::vector<std::pair<int, size_t>> labels_;
    std::vector<std::pair<size_t, int>> jumps_;
    bool ok_ = true;
    bool stop_ = false;
};

void Compiler::fail(int line, const std::string& message) {
    Origin at = origin_;
    at.line = line;
    diagnostics_.error(at, message);
    ok_ = false;
}

bool Compiler::run() {
    for (size_t t = 0; t < tokens_.size() && !stop_; ++t) {
        if (tokens_[t].kind == TokenKind::Word) {
            word(t);
        } else {
            operand(tokens_[t]);
        }
    }
    if (!stop_ && !blocks_.empty()) {
        fail(blocks_.back().line,
             std::string(blocks_.back().isElse ? "els{" : "if{") + " not closed with }");
    }
    resolveJumps();
    return ok_;
}

// A number, a text or a variable.
void Compiler::operand(const Token& token) {
    Instruction in;
    in.line = token.line;
    switch (token.kind) {
        case TokenKind::Number:
            in.op = Op::Number;
            in.number = token.number;
            break;
        case TokenKind::Text:
            in.op = Op::Text;
            in.arg = static_cast<int32_t>(texts.size());
            texts.push_back(token.text);
            break;
        case TokenKind::Variable: {
            VarRef ref;
            std::string problem;
            if (!parseVariable(token.text, ref, problem)) {
                fail(token.line, problem);
                return;
            }
            ref.line = token.line;
            in.op = ref.write ? Op::Write : Op::Read;
            in.arg = static_cast<int32_t>(variables.size());
            variables.push_back(std::move(ref));
            break;
        }
        case TokenKind::Word:
            return;
    }
    code.push_back(in);
}

// An operator or a block's brace; `t` moves past an els{ the } takes along.
void Compiler::word(size_t& t) {
    const Token& token = tokens_[t];
    Instruction in;
    in.line = token.line;
    const std::string& w = token.text;
    if (w == "if{") {
        if (blocks_.size() >= static_cast<size_t>(kMaxBlockDepth)) {
            fail(token.line, "if{ blocks nested deeper than " + std::to_string(kMaxBlockDepth));
            stop_ = true;
            return;
        }
        in.op = Op::JumpIfFalse;
        blocks_.push_back(Block{code.size(), false, token.line});
        code.push_back(in);
        return;
    }
    if (w == "els{") {
        fail(token.line, "els{ without a block if{ ... } just before it");
        return;
    }
    if (w == "}") {
        closeBlock(t, in);
        return;
    }
    if (label(token)) {
        return;
    }
    bool known = plainWord(w, &in.op) || registerWord(w, &in.op, &in.arg);
    if (!known) {
        if (const int u = unaryOperator(w.c_str()); u >= 0) {
            in.op = Op::Unary;
            in.arg = u;
            known = true;
        } else if (const int b = binaryOperator(w.c_str()); b >= 0) {
            in.op = Op::Binary;
            in.arg = b;
            known = true;
        } else if (const int o = stringOperator(w.c_str()); o >= 0) {
            in.op = Op::Strings;
            in.arg = o;
            known = true;
        }
    }
    if (!known) {
        fail(token.line, "unknown operator \"" + w + "\"" + didYouMean(w, operatorWords()));
        return;
    }
    code.push_back(in);
}

// A label ":N" marks the next instruction; a jump "gN" goes to it.
bool Compiler::label(const Token& token) {
    if (const int n = labelNumber(token.text, ':'); n >= 0) {
        for (const auto& [number, at] : labels_) {
            if (number == n) {
                fail(token.line, "label :" + std::to_string(n) + " is defined twice");
                return true;
            }
        }
        labels_.emplace_back(n, code.size());
        return true;
    }
    if (const int n = labelNumber(token.text, 'g'); n >= 0) {
        jumps_.emplace_back(code.size(), n);
        code.push_back(Instruction{Op::Jump, 0, 0.0, token.line});
        return true;
    }
    return false;
}

void Compiler::resolveJumps() {
    for (const auto& [at, n] : jumps_) {
        bool found = false;
        for (const auto& [number, target] : labels_) {
            if (number == n) {
                code[at].arg = static_cast<int32_t>(target);
                found = true;
            }
        }
        if (!found) {
            const std::string label = std::to_string(n);
            std::string message = "g";
            message += label;
            message += " jumps to a label :";
            message += label;
            message += " that the script does not have";
            fail(code[at].line, message);
        }
    }
}

void Compiler::closeBlock(size_t& t, Instruction in) {
    if (blocks_.empty()) {
        fail(tokens_[t].line, "} without an open if{ or els{");
        return;
    }
    const Block block = blocks_.back();
    blocks_.pop_back();
    if (!block.isElse && t + 1 < tokens_.size() && tokens_[t + 1].kind == TokenKind::Word &&
        tokens_[t + 1].text == "els{") {
        in.op = Op::Jump;
        blocks_.push_back(Block{code.size(), true, tokens_[t + 1].line});
        code.push_back(in);
        ++t;
    }
    code[block.jump].arg = static_cast<int32_t>(code.size());
}

}  // namespace

Script compileScript(std::string_view source, const Origin& origin, Diagnostics& diagnostics) {
    Script script;
    script.origin_ = origin;
    script.source_ = std::string(source);
    std::vector<Token> tokens;
    if (!tokenize(source, origin, diagnostics, tokens)) {
        script.ok_ = false;
        return script;
    }
    Compiler compiler(tokens, origin, diagnostics);
    script.ok_ = compiler.run();
    script.texts_ = std::move(compiler.texts);
    // A broken script never runs, but its variables are still checked.
    script.variables_ = std::move(compiler.variables);
    if (script.ok_) {
        script.code_ = std::move(compiler.code);
    }
    script.bindings_.assign(script.variables_.size(), -1);
    return script;
}

}  // namespace cs::gauge
