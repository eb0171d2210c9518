// Reads a gauge in the FSX schema, as the simulator's own gauge tool writes
// it, into the same GaugeFile as the FS9 reader makes of the equivalent FS9
// gauge:
//
//   <SimBase.Document Type="AceXML" version="1,0" id="name">
//     <Descr>, <Filename>
//     <SimGauge.Gauge id="Gauge" ArtDirectory="...">
//       <FloatPosition>, <Size>w,h</Size>, <Image Name> (the background),
//       <Macro Name>, <Update> (<Frequency>, <Script>),
//       <Element> (nested): <FloatPosition>x,y</FloatPosition>,
//         <Visibility>script</Visibility>, <Image>, <GaugeText>,
//         <Rectangle>, <Select> (<Expression>, <Case Value>), <CustomDraw>,
//         <Rotation>, <Shift>, <MaskImage>, <Clip> and shapes (FsxMoving.cpp)
//       <MouseArea> (nested): <FloatPosition>, <Size>, <MouseClick>
//         (<ClickType>, <KeyEvent>, <Script>), <Tooltip> (<DefaultScript>)
//
// FS9 <Position> is <FloatPosition>, <Visible> is <Visibility>, <Text> with
// its X and Y is <GaugeText> with its <Size>, <String> is <GaugeString>, a
// <Value> is an <Expression> with its <Script>, an <Area> is a <MouseArea>
// and a <Click Kind Event> a <MouseClick> with <ClickType> and <KeyEvent>.
#pragma once

#include <string>
#include <string_view>

#include "tools/gauge/FsxVocabulary.h"

namespace cs::gauge {

class FsxElements : public FsxVocabulary {
  public:
    FsxElements(std::string_view xml, GaugeFile& gauge, Diagnostics& d);

    // Everything inside the <SimBase.Document> root element.
    void readDocument(const pugi::xml_node& root);

  private:
    void readGauge(const pugi::xml_node& n);
    void readSize(const pugi::xml_node& n, double* width, double* height);
    void readUpdate(const pugi::xml_node& n, Script& out, int* every);
    void readElement(const pugi::xml_node& n, Node& node, int depth);
    bool readPart(const pugi::xml_node& child, Node& parent, int depth);
    // An <Image> or <MaskImage>: its Name and, where asked, its <Axis>.
    void readImage(const pugi::xml_node& n, std::string& name, double* axisX = nullptr,
                   double* axisY = nullptr);
    void readText(const pugi::xml_node& n, Node& node);
    void readRectangle(const pugi::xml_node& n, Node& node);
    void readCustomDraw(const pugi::xml_node& n, Node& node);
    void readSelect(const pugi::xml_node& n, Node& node, int depth);
    Script readExpression(const pugi::xml_node& n, const std::string& element);
    // FsxMoving.cpp: <Rotation>, <Shift>, <MaskImage>, <Clip> of an element
    // (false for any other object), and shapes.
    bool readMovingObject(const pugi::xml_node& c, Node& node);
    void readMotion(const pugi::xml_node& n, Motion& m, bool rotation);
    void readBoundedExpression(const pugi::xml_node& n, Motion& m, const std::string& element);
    void readTable(const pugi::xml_node& n, Motion& m, bool rotation);
    void readDelay(const pugi::xml_node& n, Motion& m, const char* rate);
    void readRate(const pugi::xml_node& n, Motion& m, const char* rate);
    void readClip(const pugi::xml_node& n, ClipPart& clip);
    void readShape(const pugi::xml_node& n, Node& node);
    // FsxMouseAreas.cpp
    void readMouseArea(const pugi::xml_node& n, Area& area, int depth);
    void readClick(const pugi::xml_node& n, Area& area);
    void readTooltip(const pugi::xml_node& n, Area& area);

    GaugeFile& gauge_;
};

}  // namespace cs::gauge
