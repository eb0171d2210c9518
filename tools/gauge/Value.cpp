#include "tools/gauge/Value.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace cs::gauge {

double Value::asNumber() const {
    if (!isText) {
        return number;
    }
    const char* begin = text.c_str();
    char* end = nullptr;
    const double v = std::strtod(begin, &end);
    return end == begin ? 0.0 : v;
}

std::string Value::asText() const {
    if (isText) {
        return text;
    }
    char buffer[64];
    if (std::isfinite(number) && number == std::trunc(number) && std::fabs(number) < 1e15) {
        std::snprintf(buffer, sizeof buffer, "%.0f", number);
    } else {
        std::snprintf(buffer, sizeof buffer, "%g", number);
    }
    return buffer;
}

}  // namespace cs::gauge
