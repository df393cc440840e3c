#pragma once

#include <string>

namespace earthsim {

// Spacing of the latitude and longitude lines, degrees: the finest of 30, 10, 5, 2 and 1
// degrees, 30, 20, 10, 5, 2 and 1 minutes and 30, 20, 10, 5, 2 and 1 seconds that keeps
// neighbouring lines at least `minimumPixels` apart.
double graticuleStep(double degreesPerPixel, double minimumPixels = 160.0);

// Line labels in degrees, minutes and seconds, as fine as the step needs: "34°40'N",
// "112°35'30\"E", "0°", "180°". UTF-8.
std::string latitudeLabel(double latitude, double step);
std::string longitudeLabel(double longitude, double step);

}  // namespace earthsim
