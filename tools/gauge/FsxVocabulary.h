// How the FSX gauge schema writes values: every object is an element with an
// id attribute (<GaugeText id="GaugeText">), and each of its properties is a
// child element holding the value as text: "x,y" pairs (<FloatPosition>,
// <Size>), numbers, colours (<FontColor>#40C8FF</FontColor>), True/False
// flags (<Bright>) and alignments (<HorizontalAlign>CENTER</HorizontalAlign>).
// Values are checked as the FS9 reader checks attributes: a malformed number
// is an error, a malformed colour, flag or alignment a warning.
#pragma once

#include <string>
#include <string_view>

#include "tools/gauge/GaugeVocabulary.h"

namespace cs::gauge {

class FsxVocabulary : public GaugeVocabulary {
  public:
    using GaugeVocabulary::GaugeVocabulary;

  protected:
    // The property's text, trimmed, macros expanded; a property has no
    // attributes.
    std::string text(const pugi::xml_node& n);
    // "x,y" (<Size>256,256</Size>); false, with an error, for anything else.
    bool pair(const pugi::xml_node& n, double* x, double* y);
    double value(const pugi::xml_node& n, double fallback);
    Colour colourOf(const pugi::xml_node& n, Colour fallback);
    bool flag(const pugi::xml_node& n);
    Adjust align(const pugi::xml_node& n);

    // Reads the children of `n` in file order: `read(child, name)` takes the
    // ones the reader models and returns false for the others. Of those, a
    // name in `known` is taken as the simulator takes it (a flag's value
    // checked) and nothing more is done with it, an object the workbench
    // does not draw is kept (keepNotModelled) with its scripts checked, a
    // <Comment> is skipped, and anything else is warned about.
    template <class Read>
    void children(const pugi::xml_node& n, Names known, Read read) {
        for (pugi::xml_node c = n.first_child(); c; c = c.next_sibling()) {
            if (c.type() == pugi::node_element && !read(c, std::string(c.name()))) {
                other(c, n.name(), known);
            }
        }
    }

  private:
    void other(const pugi::xml_node& child, const std::string& parent, Names known);
};

// The objects of the FSX schema that the workbench reads but does not draw.
bool isFsxNotModelled(std::string_view name);

}  // namespace cs::gauge
