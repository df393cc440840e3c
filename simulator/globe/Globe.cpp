#include "Globe.h"

#include <algorithm>
#include <cmath>

namespace earthsim {

Vec3 unitVectorAt(double latitudeDeg, double longitudeDeg) {
    const double lat = latitudeDeg * kDegree;
    const double lon = longitudeDeg * kDegree;
    return {std::cos(lat) * std::cos(lon), std::cos(lat) * std::sin(lon), std::sin(lat)};
}

GeoPoint geoPointOf(const Vec3& p) {
    return {std::atan2(p.z, std::hypot(p.x, p.y)) / kDegree, std::atan2(p.y, p.x) / kDegree};
}

double wrapLongitude(double longitudeDeg) {
    double w = std::fmod(longitudeDeg, 360.0);
    if (w > 180.0) w -= 360.0;
    if (w <= -180.0) w += 360.0;
    return w;
}

GroundHit intersectGround(const Vec3& origin, const Vec3& dir, const Vec3& fallbackPerpendicular) {
    const double r = origin.length();
    const double b = origin.dot(dir);
    // |origin|^2 - R^2 without the cancellation of two 4e13 m^2 terms.
    const double c = (r - kEarthRadius) * (r + kEarthRadius);
    const double disc = b * b - c;
    if (disc >= 0 && b < 0) {
        // The nearer root, in the form that keeps its digits for a close ground.
        const double t = c / (-b + std::sqrt(disc));
        return {origin + dir * t, t, true};
    }
    // Missed: the nearest horizon point lies where the tangent cone from the eye meets
    // the plane through the eye, the centre and the ray.
    const Vec3 up = origin * (1.0 / r);
    Vec3 side = dir - up * dir.dot(up);
    if (side.length() < 1e-12) side = fallbackPerpendicular - up * fallbackPerpendicular.dot(up);
    side = side.normalized();
    const double cosA = std::min(1.0, kEarthRadius / r);
    const double sinA = std::sqrt(std::max(0.0, 1.0 - cosA * cosA));
    const Vec3 point = (up * cosA + side * sinA) * kEarthRadius;
    return {point, (point - origin).length(), false};
}

double centralAngle(const GeoPoint& a, const GeoPoint& b) {
    const Vec3 u = unitVectorAt(a.latitude, a.longitude);
    const Vec3 v = unitVectorAt(b.latitude, b.longitude);
    return std::atan2(u.cross(v).length(), u.dot(v));
}

}  // namespace earthsim
