#include "CameraFlight.h"

#include <algorithm>
#include <cmath>

#include "Globe.h"

namespace earthsim {

namespace {

double shortestTurn(double from, double to) {
    return wrapLongitude(to - from);
}

}  // namespace

double flightDuration(double speed) {
    if (speed >= kJumpSpeed) return 0.0;
    return std::min(20.0, 4.0 / speed);
}

CameraFlight::CameraFlight(const Camera& from, const Camera& to, double durationSeconds)
    : from_(normalized(from)), to_(normalized(to)), duration_(std::max(0.0, durationSeconds)) {
    const double groundDistance =
        centralAngle({from_.latitude, from_.longitude}, {to_.latitude, to_.longitude}) *
        kEarthRadius;
    // Far moves rise to see both ends, as a person would zoom out and back in.
    pullBack_ = std::max(0.0, 0.6 * groundDistance - std::max(from_.range, to_.range));
}

Camera CameraFlight::at(double elapsedSeconds) const {
    if (arrivedAt(elapsedSeconds)) return to_;
    const double t = std::clamp(elapsedSeconds / duration_, 0.0, 1.0);
    const double s = t * t * (3.0 - 2.0 * t);
    Camera c;
    c.latitude = from_.latitude + (to_.latitude - from_.latitude) * s;
    c.longitude = wrapLongitude(from_.longitude + shortestTurn(from_.longitude, to_.longitude) * s);
    c.altitude = from_.altitude + (to_.altitude - from_.altitude) * s;
    c.range = from_.range * std::pow(to_.range / from_.range, s) + pullBack_ * 4.0 * s * (1.0 - s);
    c.tilt = from_.tilt + (to_.tilt - from_.tilt) * s;
    c.azimuth = wrapLongitude(from_.azimuth + shortestTurn(from_.azimuth, to_.azimuth) * s);
    return normalized(c);
}

}  // namespace earthsim
