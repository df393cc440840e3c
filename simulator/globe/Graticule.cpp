#include "Graticule.h"

#include <array>
#include <cmath>
#include <cstdint>

namespace earthsim {

namespace {

constexpr std::array<double, 17> kStepsInSeconds = {
    1, 2, 5, 10, 20, 30, 60, 120, 300, 600, 1200, 1800, 3600, 7200, 18000, 36000, 108000};

std::string twoDigits(std::int64_t v) {
    return (v < 10 ? "0" : "") + std::to_string(v);
}

std::string label(double value, double step, const char* positive, const char* negative,
                  bool zeroAndLimitUnsigned) {
    const auto stepSeconds = static_cast<std::int64_t>(std::llround(step * 3600.0));
    const std::int64_t total = std::llround(value * 3600.0);
    const std::int64_t magnitude = total < 0 ? -total : total;
    std::string text = std::to_string(magnitude / 3600) + "\u00b0";
    const std::int64_t minutes = magnitude / 60 % 60;
    const std::int64_t seconds = magnitude % 60;
    if (stepSeconds < 3600 || minutes != 0 || seconds != 0) {
        text += twoDigits(minutes) + "'";
    }
    if (stepSeconds < 60 || seconds != 0) text += twoDigits(seconds) + "\"";
    if (zeroAndLimitUnsigned && (magnitude == 0 || magnitude == 180 * 3600)) return text;
    if (!zeroAndLimitUnsigned && magnitude == 0) return text;
    return text + (total < 0 ? negative : positive);
}

}  // namespace

double graticuleStep(double degreesPerPixel, double minimumPixels) {
    const double wanted = degreesPerPixel * minimumPixels * 3600.0;
    for (double seconds : kStepsInSeconds) {
        if (seconds >= wanted) return seconds / 3600.0;
    }
    return kStepsInSeconds.back() / 3600.0;
}

std::string latitudeLabel(double latitude, double step) {
    return label(latitude, step, "N", "S", false);
}

std::string longitudeLabel(double longitude, double step) {
    return label(longitude, step, "E", "W", true);
}

}  // namespace earthsim
