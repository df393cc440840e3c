#include "Graticule.h"

#include <array>
#include <cmath>
#include <cstdint>

namespace earthsim {

namespace {

constexpr std::array<double, 17> kStepsInSeconds = {
    1, 2, 5, 10, 20, 30, 60, 120, 300, 600, 1200, 1800, 3600, 7200, 18000, 36000, 108000};

void appendTwoDigits(std::string& text, std::int64_t v) {
    if (v < 10) text.push_back('0');
    text.append(std::to_string(v));
}

std::string label(double value, double step, const char* positive, const char* negative,
                  bool zeroAndLimitUnsigned) {
    const auto stepSeconds = static_cast<std::int64_t>(std::llround(step * 3600.0));
    const std::int64_t total = std::llround(value * 3600.0);
    const std::int64_t magnitude = total < 0 ? -total : total;
    const std::int64_t minutes = magnitude / 60 % 60;
    const std::int64_t seconds = magnitude % 60;
    std::string text = std::to_string(magnitude / 3600);
    text.append("\u00b0");
    if (stepSeconds < 3600 || minutes != 0 || seconds != 0) {
        appendTwoDigits(text, minutes);
        text.push_back('\'');
    }
    if (stepSeconds < 60 || seconds != 0) {
        appendTwoDigits(text, seconds);
        text.push_back('"');
    }
    const bool unsignedValue = magnitude == 0 || (zeroAndLimitUnsigned && magnitude == 180 * 3600);
    if (!unsignedValue) text.append(total < 0 ? negative : positive);
    return text;
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
