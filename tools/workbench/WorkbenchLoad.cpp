#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "simhost/SimHost.h"
#include "tools/gauge/GaugeReader.h"
#include "tools/gauge/PanelConfig.h"
#include "tools/workbench/GaugeSearch.h"
#include "tools/workbench/WorkbenchState.h"

namespace cs::workbench {

namespace fs = std::filesystem;

namespace {

using PlacedGauges = std::vector<std::unique_ptr<PlacedGauge>>;

// A gauge file found for a panel, read from its folder or cabinet.
void readFoundGauge(const FoundGauge& found, gauge::GaugeFile& file, gauge::Diagnostics& d) {
    const std::string path = found.files->pathOf(found.stored);
    std::string text, why;
    if (!found.files->read(found.stored, &text, &why)) {
        d.error(gauge::Origin{path, 0, ""}, why);
        return;
    }
    gauge::readGaugeText(text, path, found.files->where(), file, d);
}

bool readText(const std::string& path, std::string* text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    text->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

// The panel.cfg's window: its view and its gauges, each found and read.
bool readPanel(const WorkbenchOptions& options, gauge::PanelWindow& window,
               std::vector<View>& views, PlacedGauges& gauges, gauge::Diagnostics& d) {
    std::string text;
    if (!readText(options.panel, &text)) {
        d.error(gauge::Origin{options.panel, 0, ""}, "cannot read the file");
        return false;
    }
    if (text.size() > gauge::kMaxGaugeFileBytes) {
        d.error(gauge::Origin{options.panel, 1, ""}, "too large for a panel.cfg");
        return false;
    }
    if (!gauge::readPanelWindow(text, options.panel, options.window, window, d)) {
        return false;
    }
    char name[32];
    std::snprintf(name, sizeof name, "window%02d", options.window);
    views.push_back(View{name, 0, 0});
    GaugeSearch search(options.panel, options.gaugesDir);
    for (const gauge::PanelGauge& g : window.gauges) {
        std::vector<std::string> tried;
        FoundGauge found;
        const GaugeSearch::Result result = search.find(g, &found, &tried, d);
        if (result == GaugeSearch::Result::Unreadable) {
            continue;
        }
        if (result == GaugeSearch::Result::Missing) {
            std::string list;
            for (const std::string& t : tried) {
                list += (list.empty() ? "" : ", ") + t;
            }
            d.error(gauge::Origin{options.panel, g.line, ""},
                    g.folder + "!" + g.name + ": no gauge file; looked for " + list);
            continue;
        }
        auto placed = std::make_unique<PlacedGauge>();
        readFoundGauge(found, placed->file, d);
        placed->files = std::move(found.files);
        placed->placement = Placement{g.x, g.y, g.width, g.height};
        gauges.push_back(std::move(placed));
    }
    return true;
}

// The --gauge files, each in a view of its own.
void readGauges(const WorkbenchOptions& options, std::vector<View>& views, PlacedGauges& gauges,
                gauge::Diagnostics& d) {
    for (const std::string& path : options.gauges) {
        auto placed = std::make_unique<PlacedGauge>();
        gauge::readGaugeFile(path, placed->file, d);
        placed->files = gauge::folderFiles(placed->file.folder);
        placed->view = views.size();
        views.push_back(View{placed->file.name, 0, 0});
        gauges.push_back(std::move(placed));
    }
}

// How far the gauge's images reach from its top-left corner, each at its
// element's position (hidden or not).
void imageExtent(const std::vector<gauge::Node>& nodes, double x, double y,
                 const GaugeImages& images, double* width, double* height) {
    for (const gauge::Node& n : nodes) {
        const double nx = n.kind == gauge::NodeKind::Element ? x + n.x : x;
        const double ny = n.kind == gauge::NodeKind::Element ? y + n.y : y;
        if (const GaugeImage* i =
                n.kind == gauge::NodeKind::Image ? images.find(n.image) : nullptr) {
            *width = std::max(*width, nx + i->width);
            *height = std::max(*height, ny + i->height);
        }
        imageExtent(n.children, nx, ny, images, width, height);
    }
}

// A gauge without <Size> takes the size of its background image, else of
// its place in the panel.cfg (`x, y, w, h`), else - with a warning - the
// extent of its images; with none of them it has no size, an error. It
// will not run then, but its names are checked all the same, at one unit a
// side.
void sizeGauge(PlacedGauge& placed, gauge::Diagnostics& d) {
    gauge::GaugeFile& f = placed.file;
    const Placement& p = placed.placement;
    double w = 0.0, h = 0.0;
    if (f.width > 0 && f.height > 0) {
        return;
    }
    if (f.line == 0) {
        w = h = 1.0;  // not read as a gauge at all: an error already says why
    } else if (const GaugeImage* bg = placed.images.find(f.background)) {
        w = bg->width;
        h = bg->height;
    } else if (!f.background.empty()) {
        w = h = 1.0;  // the background could not be read: an error already
    } else if (p.width > 0 && p.height > 0) {
        w = p.width;
        h = p.height;
    } else {
        imageExtent(f.elements, 0.0, 0.0, placed.images, &w, &h);
        const gauge::Origin at{f.file, f.line, "Gauge"};
        if (w >= 1.0 && h >= 1.0) {
            char size[64];
            std::snprintf(size, sizeof size, "%g x %g", w, h);
            d.warn(at, std::string("no <Size> and no background <Image>: sized ") + size +
                           " by the extent of its images");
        } else {
            d.error(at,
                    "no <Size>, no background <Image>, no width and height in the panel.cfg and "
                    "no images: the gauge has no size");
            w = h = 1.0;
        }
    }
    f.width = w;
    f.height = h;
}

// The gauge's images and size, its place in its view, and every name in it
// resolved against the module by a scratch run of the gauge.
void placeGauge(const WorkbenchOptions& options, PlacedGauge& placed, std::vector<View>& views,
                Workbench::State& s, gauge::Diagnostics& d) {
    gauge::GaugeFile& f = placed.file;
    const std::vector<std::string>& undrawn = s.replayer->undrawn();
    for (const gauge::SchemaElement& e : f.notModelled) {
        if (std::find(undrawn.begin(), undrawn.end(), e.name) != undrawn.end()) {
            d.warn(gauge::Origin{f.file, e.line, e.name}, "not drawn by the workbench; ignored");
        }
    }
    placed.images.load(f, *placed.files, d);
    sizeGauge(placed, d);
    Placement& p = placed.placement;
    if (p.width <= 0 && p.height <= 0) {
        p.width = f.width;
        p.height = f.height;
    } else if (p.height <= 0) {
        p.height = p.width * f.height / f.width;
    }
    View& v = views[placed.view];
    if (options.panel.empty() || placed.view > 0) {
        v.width = std::max(v.width, static_cast<int>(std::lround(p.x + p.width)));
        v.height = std::max(v.height, static_cast<int>(std::lround(p.y + p.height)));
    }
    // Every name against the module, as the gauge is prepared for its run.
    placed.runtime = std::make_unique<GaugeRuntime>(f, s.session.host(), s.locals, s.inputs,
                                                    s.session.catalogue(), p);
    placed.runtime->prepare(d);
}

// The panel window's picture: its size from the panel.cfg, else what its
// gauges cover.
void sizeWindow(const gauge::PanelWindow& window, View& v, const PlacedGauges& gauges) {
    v.width = static_cast<int>(std::lround(window.width));
    v.height = static_cast<int>(std::lround(window.height));
    for (auto& placed : gauges) {
        const Placement& p = placed->placement;
        if (placed->view == 0 && window.width <= 0) {
            v.width = std::max(v.width, static_cast<int>(std::lround(p.x + p.width)));
        }
        if (placed->view == 0 && window.height <= 0) {
            v.height = std::max(v.height, static_cast<int>(std::lround(p.y + p.height)));
        }
    }
}

void checkViewSizes(const WorkbenchOptions& options, const std::vector<View>& views,
                    gauge::Diagnostics& d) {
    for (const View& v : views) {
        if (v.width < 1 || v.height < 1 || v.width > 8192 || v.height > 8192) {
            d.error(gauge::Origin{options.panel.empty() ? v.name : options.panel, 0, ""},
                    "the picture would be " + std::to_string(v.width) + " x " +
                        std::to_string(v.height) + " pixels; expected 1 to 8192 each way");
        }
    }
}

}  // namespace

bool Workbench::load(const WorkbenchOptions& options, gauge::Diagnostics& d) {
    State& s = *state_;
    s.gauges.clear();
    s.views.clear();
    s.locals = LocalVariables{};
    s.runtimesUsed = false;
    s.inputsPrepared = s.inputs.givenCount();
    s.preparedAt = s.session.host().time();
    const size_t errors = d.errorCount();
    gauge::PanelWindow window;
    if (!options.panel.empty() && !readPanel(options, window, s.views, s.gauges, d)) {
        return false;
    }
    readGauges(options, s.views, s.gauges, d);
    for (auto& placed : s.gauges) {
        placeGauge(options, *placed, s.views, s, d);
    }
    if (!options.panel.empty() && !s.views.empty()) {
        sizeWindow(window, s.views[0], s.gauges);
    }
    // A view left empty by gauges that could not be read says nothing more.
    if (d.errorCount() == errors) {
        checkViewSizes(options, s.views, d);
    } else {
        std::vector<View> placed;
        for (const View& v : s.views) {
            if (v.width > 0 || v.height > 0) {
                placed.push_back(v);
            }
        }
        checkViewSizes(options, placed, d);
    }
    return d.errorCount() == errors && !s.gauges.empty();
}

}  // namespace cs::workbench
