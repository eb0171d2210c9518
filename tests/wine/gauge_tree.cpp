// Prints what the gauge reader made of each gauge file named on the command
// line, one line per piece, so that the Windows and the Linux build can be
// compared file by file: every node with its kind, line, box and scripts,
// every mouse area, the schema elements not modelled, and every problem with
// its line (file names left out: the two platforms spell paths differently).
#include <cstdio>
#include <filesystem>
#include <string>

#include "tools/gauge/GaugeReader.h"

namespace {

using namespace cs::gauge;

std::string scriptText(const Script& s) {
    std::string out = "{";
    out += std::to_string(s.origin().line);
    out += s.ok() ? " ok " : " bad ";
    for (const VarRef& v : s.variables()) {
        if (v.write) {
            out += '>';
        }
        out += v.kind;
        out += ':';
        out += v.name;
        out += ',';
        out += v.unit;
        out += ';';
    }
    out += std::to_string(s.code().size());
    out += '}';
    return out;
}

void printNode(const Node& n, int depth) {
    std::printf("%*snode %d kind %d line %d at %g %g box %g %g", depth * 2, "", n.id,
                static_cast<int>(n.kind), n.line, n.x, n.y, n.width, n.height);
    if (n.hasVisible) {
        std::printf(" visible %s", scriptText(n.visible).c_str());
    }
    if (n.kind == NodeKind::Text) {
        std::printf(" font %s colour %06X/%d background %06X/%d adjust %d %d", n.text.font.c_str(),
                    n.text.colour.rgb, n.text.colour.set, n.text.background.rgb,
                    n.text.background.set, static_cast<int>(n.text.adjust),
                    static_cast<int>(n.text.verticalAdjust));
        for (const Script& s : n.string.scripts()) {
            std::printf(" %s", scriptText(s).c_str());
        }
    }
    if (n.kind == NodeKind::Rectangle) {
        std::printf(" line %06X/%d width %g fill %06X/%d", n.rectangle.line.rgb,
                    n.rectangle.line.set, n.rectangle.lineWidth, n.rectangle.fill.rgb,
                    n.rectangle.fill.set);
    }
    if (n.kind == NodeKind::Image) {
        std::printf(" image %s", n.image.c_str());
    }
    if (n.kind == NodeKind::CustomDraw) {
        std::printf(" draw %s:%s", n.panel.c_str(), n.display.c_str());
        for (const DrawParameter& p : n.parameters) {
            std::printf(" [%s %d \"%s\" %s]", p.name.c_str(), p.line, p.text.c_str(),
                        scriptText(p.script).c_str());
        }
    }
    if (n.kind == NodeKind::Select) {
        std::printf(" value %s", scriptText(n.value).c_str());
    }
    if (n.kind == NodeKind::Case) {
        std::printf(" case %g", n.caseValue);
    }
    std::printf("\n");
    for (const Node& c : n.children) {
        printNode(c, depth + 1);
    }
}

void printArea(const Area& a, int depth) {
    std::printf("%*sarea line %d at %g %g box %g %g", depth * 2, "", a.line, a.left, a.top, a.width,
                a.height);
    for (const Click& c : a.clicks) {
        std::printf(" click %x %s %s", c.kinds, c.event.c_str(), scriptText(c.script).c_str());
    }
    if (a.hasTooltip) {
        for (const Script& s : a.tooltip.scripts()) {
            std::printf(" tooltip %s", scriptText(s).c_str());
        }
    }
    std::printf("\n");
    for (const Area& c : a.children) {
        printArea(c, depth + 1);
    }
}

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        Diagnostics d;
        GaugeFile g;
        const bool ok = readGaugeFile(argv[i], g, d);
        std::printf("file %s: %s, size %g %g, background %s/%d, update %s every %d\n",
                    std::filesystem::path(argv[i]).filename().string().c_str(),
                    ok ? "read" : "refused", g.width, g.height, g.background.c_str(),
                    g.backgroundLine, g.hasUpdate ? scriptText(g.update).c_str() : "-",
                    g.updateEvery);
        for (const Node& n : g.elements) {
            printNode(n, 1);
        }
        for (const Area& a : g.areas) {
            printArea(a, 1);
        }
        for (const SchemaElement& e : g.notModelled) {
            std::printf("  not modelled %s line %d\n", e.name.c_str(), e.line);
        }
        for (const Script& s : g.notModelledScripts) {
            std::printf("  not modelled script %s\n", scriptText(s).c_str());
        }
        for (const Problem& p : d.problems()) {
            std::printf("  problem %d line %d %s: %s\n", static_cast<int>(p.severity), p.line,
                        p.element.c_str(), p.message.c_str());
        }
    }
    return 0;
}
