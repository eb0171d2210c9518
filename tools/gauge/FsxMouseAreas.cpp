// The mouse of an FSX gauge: <MouseArea>s (nested) with their <FloatPosition>
// and <Size>, <MouseClick>s with the <ClickType> list, the <KeyEvent> and
// the <Script>, and the <Tooltip>.
#include <utility>

#include "tools/gauge/FsxElements.h"
#include "tools/gauge/MouseKinds.h"

namespace cs::gauge {

namespace {

constexpr Names kAreaChildren = {"FloatPosition", "Size",    "CursorType",  "MouseArea",
                                 "MouseClick",    "Tooltip", "TooltipText", "Comment"};

}  // namespace

void FsxElements::readMouseArea(const pugi::xml_node& n, Area& area, int depth) {
    area.line = lineOf(n);
    checkAttributes(n, {"id"});
    bool haveSize = false;
    children(n, kAreaChildren, [&](const pugi::xml_node& c, const std::string& name) {
        if (name == "FloatPosition") {
            pair(c, &area.left, &area.top);
        } else if (name == "Size") {
            haveSize = pair(c, &area.width, &area.height);
        } else if (name == "MouseArea") {
            if (!tooDeep(c, depth + 1)) {
                Area child;
                readMouseArea(c, child, depth + 1);
                area.children.push_back(std::move(child));
            }
        } else if (name == "MouseClick") {
            readClick(c, area);
        } else if (name == "Tooltip") {
            readTooltip(c, area);
        } else if (name == "TooltipText") {
            checkAttributes(c, {});
            area.hasTooltip = true;
            area.tooltip = formatted(c, "TooltipText");
        } else {
            return false;  // <CursorType>: the workbench shows no cursor
        }
        return true;
    });
    if (!haveSize) {
        // An area without a size covers the rest of what encloses it.
        area.width = area.height = 1e7;
    }
}

void FsxElements::readClick(const pugi::xml_node& n, Area& area) {
    checkAttributes(n, {"id"});
    Click click;
    click.line = lineOf(n);
    bool haveKind = false, haveScript = false;
    children(n, {"ClickType", "KeyEvent", "Script"},
             [&](const pugi::xml_node& c, const std::string& name) {
                 if (name == "ClickType") {
                     std::vector<std::string> unknown;
                     click.kinds |= mouseKinds(text(c), unknown);
                     for (const std::string& kind : unknown) {
                         d_.warn(at(c, name), "unknown click kind \"" + kind + "\"; ignored" +
                                                  didYouMean(kind, mouseKindNames()));
                     }
                     haveKind = true;
                 } else if (name == "KeyEvent") {
                     click.event = text(c);
                 } else if (name == "Script" && !haveScript) {
                     checkAttributes(c, {});
                     click.script = script(c, "MouseClick");
                     haveScript = true;
                 } else {
                     return false;
                 }
                 return true;
             });
    if (!haveKind) {
        click.kinds = mouseKind("LeftSingle");  // as the simulator takes a click of no type
    }
    if (!haveScript) {
        click.script = compileScript("", Origin{file_, click.line, "MouseClick"}, d_);
    }
    area.clicks.push_back(std::move(click));
}

// <Tooltip>: the text is the <DefaultScript>, formatted as a <GaugeString>;
// a <DefaultId> names one of the simulator's own texts, which the workbench
// does not have.
void FsxElements::readTooltip(const pugi::xml_node& n, Area& area) {
    checkAttributes(n, {"id"});
    area.hasTooltip = true;
    children(n, {"DefaultScript", "DefaultId", "TooltipText"},
             [&](const pugi::xml_node& c, const std::string& name) {
                 if (name == "DefaultScript" || name == "TooltipText") {
                     checkAttributes(c, {});
                     area.tooltip = formatted(c, "Tooltip");
                 } else if (name == "DefaultId") {
                     text(c);
                 } else {
                     return false;
                 }
                 return true;
             });
}

}  // namespace cs::gauge
