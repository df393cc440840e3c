#pragma once

#include "Vec3.h"

namespace earthsim {

// A camera as Google Earth describes one: it looks at a focus point from `range` metres
// away, tilted `tilt` degrees from the vertical (0 looks straight down, 90 along the
// ground) and turned so that the top of the view points `azimuth` degrees east of north.
struct Camera {
    double latitude = 0;   // focus point, degrees
    double longitude = 0;  // focus point, degrees
    double altitude = 0;   // focus point above the ground, metres
    double range = 1000;   // metres from the focus point to the eye
    double tilt = 0;       // degrees
    double azimuth = 0;    // degrees

    bool operator==(const Camera&) const = default;
};

inline constexpr double kMinRange = 1.0;
inline constexpr double kMaxRange = 1.0e8;
inline constexpr double kMaxAltitude = 1.0e7;
inline constexpr double kMaxTilt = 90.0;

// Brings any finite camera into the ranges the view works with: latitude clamped to
// [-90, 90], longitude and azimuth wrapped into (-180, 180], altitude to [0, 1e7], range to
// [1, 1e8], tilt to [0, 90].
Camera normalized(const Camera& camera);

// Where the eye is and how it is turned, Earth-centred metres.
struct CameraPose {
    Vec3 eye;
    Vec3 forward;  // towards the focus point
    Vec3 right;    // the view's +x
    Vec3 up;       // the view's +y
};
CameraPose poseOf(const Camera& camera);

}  // namespace earthsim
