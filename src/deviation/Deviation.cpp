#include "Deviation.h"

#include <cmath>

#include "model/NumberText.h"

namespace kartovex {
namespace {

constexpr double kMetresPerMinute = 11100.0 / 6.0;

// Whole degrees and minutes back to minutes of arc, so that 11059.9 and 11100.1 lie 0.2
// minute apart rather than 40.2.
double minutesOfArc(double degreeMinutes) {
    const double degrees = std::trunc(degreeMinutes / 100.0);
    return 60.0 * degrees + (degreeMinutes - 100.0 * degrees);
}

void calculateRow(MainWindowModel& form, const char* readOut, const char* input,
                  const char* result) {
    form.setCaption(result, deviationText(form.caption(readOut), form.text(input)));
}

}  // namespace

std::string deviationText(const std::string& googleEarth, const std::string& mapInfo) {
    const double d = std::abs(minutesOfArc(value(googleEarth)) - minutesOfArc(value(mapInfo))) *
                     kMetresPerMinute;
    if (!std::isfinite(d)) return "out of range";
    return formatMask(d, 2) + " m";
}

void calculateUpperLeft(MainWindowModel& form) {
    calculateRow(form, "zuoshanglong", "Text1", "zuoshangpianchax");
    calculateRow(form, "zuoshanglat", "Text2", "zuoshangpianchay");
}

void calculateLowerRight(MainWindowModel& form) {
    calculateRow(form, "youxialong", "Text3", "youxiapianchax");
    calculateRow(form, "youxialat", "Text4", "youxiapianchay");
}

}  // namespace kartovex
