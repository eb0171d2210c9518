#include "tools/preview/DisplayGeometry.h"

#include <cmath>

namespace cs::preview {

namespace {

// Initial true course from point 1 to point 2, degrees 0 to below 360.
double courseDeg(double lat1, double lon1, double lat2, double lon2) {
    const double p1 = lat1 / sim::kDegreesPerRadian, p2 = lat2 / sim::kDegreesPerRadian;
    const double dl = (lon2 - lon1) / sim::kDegreesPerRadian;
    const double y = std::sin(dl) * std::cos(p2);
    const double x = std::cos(p1) * std::sin(p2) - std::sin(p1) * std::cos(p2) * std::cos(dl);
    double c = std::atan2(y, x) * sim::kDegreesPerRadian;
    c = std::fmod(c + 360.0, 360.0);
    return c;
}

}  // namespace

void displayOffset(const sim::Aircraft& own, const sim::Aircraft& a, double headingDeg,
                   float nmPerUnit, float* x, float* y) {
    const double d =
        sim::greatCircleDistanceNm(own.latitude, own.longitude, a.latitude, a.longitude);
    const double b = courseDeg(own.latitude, own.longitude, a.latitude, a.longitude);
    const double beta = (b - headingDeg) / sim::kDegreesPerRadian;
    *x = static_cast<float>(std::sin(beta) * d / nmPerUnit);
    *y = static_cast<float>(-std::cos(beta) * d / nmPerUnit);
}

std::vector<ImagePosition> imagePositions(const DisplayRun& run, const PreviewScenario& scenario,
                                          const sim::Scenario& traffic) {
    std::vector<ImagePosition> out;
    const double scale = scenario.hostScale;
    const double viewW = scenario.width / scale, viewH = scenario.height / scale;
    const double range = run.range();
    const NamedValue* heading = run.value(run.ids().heading);
    const NamedValue* centerX = run.value(run.ids().centerX);
    const NamedValue* centerY = run.value(run.ids().centerY);
    const float nmPerUnit = static_cast<float>(2.0 * range / std::fmin(viewW, viewH));
    if (!(range > 0.0) || !std::isfinite(range) || !(nmPerUnit > 0.0f)) {
        return out;
    }
    const double cx = centerX ? centerX->number : viewW / 2.0;
    const double cy = centerY ? centerY->number : viewH / 2.0;
    for (const AircraftPlan& plan : scenario.traffic) {
        const sim::Aircraft* a = traffic.find(plan.id);
        if (a != nullptr) {
            float x = 0.0f, y = 0.0f;
            displayOffset(traffic.own(), *a, heading ? heading->number : 0.0, nmPerUnit, &x, &y);
            out.push_back({plan.id, (x + cx) * scale, (y + cy) * scale});
        }
    }
    return out;
}

}  // namespace cs::preview
