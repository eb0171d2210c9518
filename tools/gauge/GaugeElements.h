// Reads the elements of an FS9 gauge one by one into a GaugeFile: the
// gauge's <Size>, background <Image> and <Update>, its tree of <Element>s
// with their drawable parts, and the <Mouse> areas.
#pragma once

#include <string>
#include <string_view>

#include "tools/gauge/GaugeVocabulary.h"

namespace cs::gauge {

class GaugeElements : public GaugeVocabulary {
  public:
    GaugeElements(std::string_view xml, GaugeFile& gauge, Diagnostics& d);

    // Everything inside the <Gauge> root element.
    void readGauge(const pugi::xml_node& root);

  private:
    void readElement(const pugi::xml_node& n, Node& node, int depth);
    bool readPart(const pugi::xml_node& child, Node& parent, int depth);
    void readText(const pugi::xml_node& n, Node& node);
    void readCustomDraw(const pugi::xml_node& n, Node& node);
    void readSelect(const pugi::xml_node& n, Node& node, int depth);
    void readArea(const pugi::xml_node& n, Area& area, int depth);
    void readMouse(const pugi::xml_node& n);
    void readClick(const pugi::xml_node& c, Area& area);
    // GaugeMoving.cpp: <Rotate>, <Shift>, <MaskImage>, <Clip> of an element
    // (false for any other child), images with their axis, shapes.
    bool readMovingChild(const pugi::xml_node& c, Node& node);
    void readMotion(const pugi::xml_node& n, Motion& m, bool rotation);
    void readNonlinearity(const pugi::xml_node& n, Motion& m, bool rotation);
    void readClip(const pugi::xml_node& n, ClipPart& clip, bool relative);
    void readAxis(const pugi::xml_node& n, double* x, double* y);
    void readImagePart(const pugi::xml_node& n, Node& node);
    void readShape(const pugi::xml_node& n, Node& node);

    GaugeFile& gauge_;
};

}  // namespace cs::gauge
