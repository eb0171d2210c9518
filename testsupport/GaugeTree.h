// What the gauge reader made of a gauge file, one line per piece: every node
// with its kind, line, box, style and scripts, every mouse area, and the
// schema elements not modelled. Two readings print alike when they are the
// same model; `lines` false leaves every line number out, to compare the same
// gauge written in two layouts (the FS9 and the FSX schema).
#pragma once

#include <cstdarg>
#include <cstdio>
#include <string>
#include <utility>

#include "tools/gauge/GaugeModel.h"

namespace cs::test {

class GaugeTreePrinter {
  public:
    explicit GaugeTreePrinter(bool lines) : lines_(lines) {}

    std::string print(const gauge::GaugeFile& g) {
        add("size %g %g, background %s%s, update %s every %d\n", g.width, g.height,
            g.background.c_str(), line("/", g.backgroundLine).c_str(),
            g.hasUpdate ? script(g.update).c_str() : "-", g.updateEvery);
        for (const gauge::Script& s : g.elementUpdates) {
            add("  element update %s\n", script(s).c_str());
        }
        for (const gauge::Node& n : g.elements) {
            node(n, 1);
        }
        for (const gauge::Area& a : g.areas) {
            area(a, 1);
        }
        for (const gauge::SchemaElement& e : g.notModelled) {
            add("  not modelled %s%s\n", e.name.c_str(), line(" line ", e.line).c_str());
        }
        for (const gauge::Script& s : g.notModelledScripts) {
            add("  not modelled script %s\n", script(s).c_str());
        }
        return std::move(out_);
    }

  private:
    std::string line(const char* before, int line) const {
        std::string text;
        if (lines_) {
            text = before;
            text += std::to_string(line);
        }
        return text;
    }

    std::string script(const gauge::Script& s) const {
        std::string out = "{";
        out += line("", s.origin().line);
        out += s.ok() ? " ok " : " bad ";
        for (const gauge::VarRef& v : s.variables()) {
            out += std::string(v.write ? ">" : "") + v.kind + ':' + v.name + ',' + v.unit + ';';
        }
        return out + std::to_string(s.code().size()) + '}';
    }

    void node(const gauge::Node& n, int depth) {
        add("%*snode %d kind %d%s at %g %g box %g %g", depth * 2, "", n.id,
            static_cast<int>(n.kind), line(" line ", n.line).c_str(), n.x, n.y, n.width, n.height);
        if (n.hasVisible) {
            add(" visible %s", script(n.visible).c_str());
        }
        if (n.kind == gauge::NodeKind::Text) {
            add(" font %s length %d colour %06X/%d background %06X/%d adjust %d %d",
                n.text.font.c_str(), n.text.length, n.text.colour.rgb, n.text.colour.set,
                n.text.background.rgb, n.text.background.set, static_cast<int>(n.text.adjust),
                static_cast<int>(n.text.verticalAdjust));
            for (const gauge::Script& s : n.string.scripts()) {
                add(" %s", script(s).c_str());
            }
        }
        if (n.kind == gauge::NodeKind::Rectangle || n.kind == gauge::NodeKind::Shape) {
            add(" line %06X/%d width %g fill %06X/%d", n.rectangle.line.rgb, n.rectangle.line.set,
                n.rectangle.lineWidth, n.rectangle.fill.rgb, n.rectangle.fill.set);
        }
        if (n.kind == gauge::NodeKind::Shape) {
            add(" shape %d", static_cast<int>(n.shape.kind));
            for (const gauge::ShapePoint& p : n.shape.points) {
                add(" (%g %g)", p.x, p.y);
            }
        }
        if (n.kind == gauge::NodeKind::Image) {
            add(" image %s axis %g %g", n.image.c_str(), n.axisX, n.axisY);
        }
        motion(" rotate", n.rotate);
        motion(" shift", n.shift);
        if (n.mask.present) {
            add(" mask%s %s axis %g %g", line(" line ", n.mask.line).c_str(), n.mask.image.c_str(),
                n.mask.axisX, n.mask.axisY);
        }
        if (n.clip.present) {
            add(" clip%s %g %g %g %g%s", line(" line ", n.clip.line).c_str(), n.clip.left,
                n.clip.top, n.clip.width, n.clip.height, n.clip.relative ? " relative" : "");
        }
        if (n.kind == gauge::NodeKind::CustomDraw) {
            add(" draw %s:%s", n.panel.c_str(), n.display.c_str());
            for (const gauge::DrawParameter& p : n.parameters) {
                add(" [%s%s \"%s\" %s]", p.name.c_str(), line(" ", p.line).c_str(), p.text.c_str(),
                    script(p.script).c_str());
            }
        }
        if (n.kind == gauge::NodeKind::Select) {
            add(" value %s", script(n.value).c_str());
        }
        if (n.kind == gauge::NodeKind::Case) {
            add(" case %g", n.caseValue);
        }
        add("\n");
        for (const gauge::Node& c : n.children) {
            node(c, depth + 1);
        }
    }

    void motion(const char* what, const gauge::Motion& m) {
        if (!m.present) {
            return;
        }
        add("%s%s %s", what, line(" line ", m.line).c_str(), script(m.value).c_str());
        if (m.hasMinimum) {
            add(" min %g", m.minimum);
        }
        if (m.hasMaximum) {
            add(" max %g", m.maximum);
        }
        for (const gauge::NonlinearItem& i : m.table) {
            if (i.hasDegrees) {
                add(" [%g: %g deg]", i.value, i.degrees);
            } else {
                add(" [%g: %g %g]", i.value, i.x, i.y);
            }
        }
        if (m.hasScale) {
            add(" scale %g %g", m.scaleX, m.scaleY);
        }
        add(" rate %g points %g", m.rate, m.pointsTo);
    }

    void area(const gauge::Area& a, int depth) {
        add("%*sarea%s at %g %g box %g %g", depth * 2, "", line(" line ", a.line).c_str(), a.left,
            a.top, a.width, a.height);
        for (const gauge::Click& c : a.clicks) {
            add(" click%s %x %s %s", line(" line ", c.line).c_str(), c.kinds, c.event.c_str(),
                script(c.script).c_str());
        }
        if (a.hasTooltip) {
            for (const gauge::Script& s : a.tooltip.scripts()) {
                add(" tooltip %s", script(s).c_str());
            }
        }
        add("\n");
        for (const gauge::Area& c : a.children) {
            area(c, depth + 1);
        }
    }

    void add(const char* format, ...) __attribute__((format(printf, 2, 3))) {
        va_list args, again;
        va_start(args, format);
        va_copy(again, args);
        const int n = std::vsnprintf(nullptr, 0, format, args);
        va_end(args);
        if (n > 0) {
            const size_t at = out_.size();
            out_.resize(at + static_cast<size_t>(n) + 1);
            std::vsnprintf(&out_[at], static_cast<size_t>(n) + 1, format, again);
            out_.resize(at + static_cast<size_t>(n));
        }
        va_end(again);
    }

    bool lines_;
    std::string out_;
};

// The tree of `g`, with or without line numbers.
inline std::string gaugeTree(const gauge::GaugeFile& g, bool lines) {
    return GaugeTreePrinter(lines).print(g);
}

}  // namespace cs::test
