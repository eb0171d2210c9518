// The picture of gauges as the panel shows them: each gauge's elements drawn
// in file order into one image (Cairo) - rectangles, images from the gauge's
// folder (pure black transparent, as the simulator keys bitmaps), texts in
// their font and colour, and the module's custom-draw areas as it last drew
// them.
#pragma once

#include <map>
#include <string>

#include "simhost/Canvas.h"
#include "tools/gauge/Diagnostics.h"
#include "tools/workbench/GaugeRuntime.h"

typedef struct _cairo_surface cairo_surface_t;
typedef struct _cairo cairo_t;

namespace cs::workbench {

// The bitmaps one gauge names, loaded from its folder (BMP or PNG).
class GaugeImages {
  public:
    GaugeImages() = default;
    ~GaugeImages();
    GaugeImages(const GaugeImages&) = delete;
    GaugeImages& operator=(const GaugeImages&) = delete;

    // Loads every image the gauge names; a missing or unreadable file is an
    // error at the element that names it.
    bool load(const gauge::GaugeFile& gauge, gauge::Diagnostics& diagnostics);
    cairo_surface_t* find(const std::string& name) const;

  private:
    bool loadOne(const gauge::GaugeFile& gauge, const std::string& name, int line,
                 gauge::Diagnostics& d);
    std::map<std::string, cairo_surface_t*> surfaces_;
};

class Compositor {
  public:
    Compositor(int width, int height);
    ~Compositor();
    Compositor(const Compositor&) = delete;
    Compositor& operator=(const Compositor&) = delete;
    bool valid() const;

    // Fills the image black, as a panel window's background.
    void clear();
    void draw(const GaugeRuntime& gauge, const GaugeImages& images);
    sim::Image image() const;

  private:
    void drawNode(const GaugeRuntime& gauge, const GaugeImages& images, const gauge::Node& node);
    void drawText(const gauge::Node& node, const std::string& text);

    cairo_surface_t* surface_ = nullptr;
    cairo_t* cr_ = nullptr;
};

}  // namespace cs::workbench
