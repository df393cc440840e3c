#include "Camera.h"

#include <algorithm>
#include <cmath>

#include "Globe.h"

namespace earthsim {

Camera normalized(const Camera& camera) {
    Camera c = camera;
    c.latitude = std::clamp(c.latitude, -90.0, 90.0);
    c.longitude = wrapLongitude(c.longitude);
    c.altitude = std::clamp(c.altitude, 0.0, kMaxAltitude);
    c.range = std::clamp(c.range, kMinRange, kMaxRange);
    c.tilt = std::clamp(c.tilt, 0.0, kMaxTilt);
    c.azimuth = wrapLongitude(c.azimuth);
    return c;
}

CameraPose poseOf(const Camera& camera) {
    const double lat = camera.latitude * kDegree;
    const double lon = camera.longitude * kDegree;
    const Vec3 upLocal = unitVectorAt(camera.latitude, camera.longitude);
    const Vec3 east{-std::sin(lon), std::cos(lon), 0};
    const Vec3 north{-std::sin(lat) * std::cos(lon), -std::sin(lat) * std::sin(lon), std::cos(lat)};
    const double az = camera.azimuth * kDegree;
    const double tilt = camera.tilt * kDegree;
    const Vec3 heading = north * std::cos(az) + east * std::sin(az);

    const Vec3 focus = pointAt(camera.latitude, camera.longitude, camera.altitude);
    CameraPose pose;
    pose.forward = upLocal * -std::cos(tilt) + heading * std::sin(tilt);
    pose.up = upLocal * std::sin(tilt) + heading * std::cos(tilt);
    pose.right = pose.forward.cross(pose.up);
    pose.eye = focus - pose.forward * camera.range;
    return pose;
}

}  // namespace earthsim
