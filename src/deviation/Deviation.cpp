#include "Deviation.h"

#include <cmath>
#include <numbers>

#include "model/ControlNames.h"
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

std::string deviationText(const std::string& googleEarth, const std::string& mapInfo,
                          double metresPerMinute) {
    const double d =
        std::abs(minutesOfArc(value(googleEarth)) - minutesOfArc(value(mapInfo))) * metresPerMinute;
    if (!std::isfinite(d)) return "out of range";
    return formatMask(d, 2) + " m";
}

}  // namespace

std::string northSouthDeviation(const std::string& googleEarth, const std::string& mapInfo) {
    return deviationText(googleEarth, mapInfo, kMetresPerMinute);
}

std::string eastWestDeviation(const std::string& googleEarth, const std::string& mapInfo,
                              const std::string& latitude) {
    // Meridians draw together towards the poles.
    constexpr double kRadiansPerMinute = std::numbers::pi / (180.0 * 60.0);
    return deviationText(
        googleEarth, mapInfo,
        kMetresPerMinute * std::cos(minutesOfArc(value(latitude)) * kRadiansPerMinute));
}

void calculateUpperLeft(MainWindowModel& form) {
    form.setCaption(control::zuoshangpianchax,
                    eastWestDeviation(form.caption(control::zuoshanglong),
                                      form.text(control::Text1), form.text(control::Text2)));
    form.setCaption(
        control::zuoshangpianchay,
        northSouthDeviation(form.caption(control::zuoshanglat), form.text(control::Text2)));
}

void calculateLowerRight(MainWindowModel& form) {
    form.setCaption(control::youxiapianchax,
                    eastWestDeviation(form.caption(control::youxialong), form.text(control::Text3),
                                      form.text(control::Text4)));
    form.setCaption(control::youxiapianchay, northSouthDeviation(form.caption(control::youxialat),
                                                                 form.text(control::Text4)));
}

}  // namespace kartovex
