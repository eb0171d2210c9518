#include "tools/workbench/Motion.h"

#include <algorithm>
#include <cmath>

namespace cs::workbench {

namespace {

constexpr double kPi = 3.14159265358979323846;

// The segment of `table` that `value` falls in, and how far along it (0 to
// 1). Tables run up or down in value; outside them the end item holds.
struct Place {
    size_t first = 0;
    double along = 0.0;
};

Place place(const std::vector<gauge::NonlinearItem>& table, double value) {
    const size_t last = table.size() - 1;
    const bool rising = table[last].value >= table[0].value;
    auto before = [rising](double a, double b) { return rising ? a < b : a > b; };
    if (last == 0 || !before(table[0].value, value)) {
        return Place{0, 0.0};
    }
    for (size_t i = 0; i < last; ++i) {
        const double a = table[i].value, b = table[i + 1].value;
        if (!before(b, value)) {
            return Place{i, b == a ? 1.0 : (value - a) / (b - a)};
        }
    }
    return Place{last - 1, 1.0};
}

double itemAngle(const gauge::NonlinearItem& item, double px, double py) {
    if (item.hasDegrees) {
        return item.degrees * kPi / 180.0;
    }
    // Clockwise from 12 o'clock, y growing downwards.
    return std::atan2(item.x - px, -(item.y - py));
}

// `angle` moved by whole turns to within half a turn of `near`; exactly
// half a turn away, clockwise from it.
double nearest(double angle, double near) {
    double d = std::fmod(angle - near, 2.0 * kPi);
    if (d > kPi) {
        d -= 2.0 * kPi;
    } else if (d <= -kPi) {
        d += 2.0 * kPi;
    }
    return near + d;
}

// The angle of `item`, given the angle the item before it came to: after
// another Degrees item it is as far round as the numbers say (-135 to 135
// is three quarters of a turn clockwise, through 12 o'clock), as a dial's
// table of Degrees means; a point is reached the shorter way round.
double nextAngle(const gauge::NonlinearItem& before, double beforeAngle,
                 const gauge::NonlinearItem& item, double px, double py) {
    if (before.hasDegrees && item.hasDegrees) {
        return beforeAngle + (item.degrees - before.degrees) * kPi / 180.0;
    }
    return nearest(itemAngle(item, px, py), beforeAngle);
}

}  // namespace

double limited(const gauge::Motion& m, double value) {
    if (m.hasMaximum) {
        value = std::min(value, m.maximum);
    }
    if (m.hasMinimum) {
        value = std::max(value, m.minimum);
    }
    return value;
}

double rotationAngle(const gauge::Motion& m, double value, double px, double py) {
    value = limited(m, value);
    if (m.table.empty()) {
        return value;
    }
    const Place at = place(m.table, value);
    double from = itemAngle(m.table[0], px, py);
    for (size_t i = 1; i <= at.first; ++i) {
        from = nextAngle(m.table[i - 1], from, m.table[i], px, py);
    }
    if (m.table.size() == 1) {
        return from;
    }
    const double to = nextAngle(m.table[at.first], from, m.table[at.first + 1], px, py);
    return from + (to - from) * at.along;
}

Offset shiftOffset(const gauge::Motion& m, double value) {
    value = limited(m, value);
    if (m.table.empty()) {
        return Offset{value * m.scaleX, value * m.scaleY};
    }
    const Place at = place(m.table, value);
    const gauge::NonlinearItem& a = m.table[at.first];
    if (m.table.size() == 1) {
        return Offset{a.x, a.y};
    }
    const gauge::NonlinearItem& b = m.table[at.first + 1];
    return Offset{a.x + (b.x - a.x) * at.along, a.y + (b.y - a.y) * at.along};
}

double follow(double current, double target, double step) {
    if (std::fabs(target - current) <= step) {
        return target;
    }
    return current + (target > current ? step : -step);
}

Offset follow(const Offset& current, const Offset& target, double step) {
    const double dx = target.x - current.x, dy = target.y - current.y;
    const double distance = std::hypot(dx, dy);
    if (distance <= step) {
        return target;
    }
    return Offset{current.x + dx * step / distance, current.y + dy * step / distance};
}

}  // namespace cs::workbench
