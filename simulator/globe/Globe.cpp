#include "Globe.h"

#include <algorithm>
#include <cmath>

namespace earthsim {

Vec3 unitVectorAt(double latitudeDeg, double longitudeDeg) {
    const double lat = latitudeDeg * kDegree;
    const double lon = longitudeDeg * kDegree;
    return {std::cos(lat) * std::cos(lon), std::cos(lat) * std::sin(lon), std::sin(lat)};
}

namespace {
constexpr double kE2 = kFlattening * (2.0 - kFlattening);  // first eccentricity squared
constexpr double kEp2 = kE2 / (1.0 - kE2);                 // second eccentricity squared
}  // namespace

Vec3 pointAt(double latitudeDeg, double longitudeDeg, double height) {
    const double sinLat = std::sin(latitudeDeg * kDegree);
    const double n = kEquatorialRadius / std::sqrt(1.0 - kE2 * sinLat * sinLat);
    const Vec3 up = unitVectorAt(latitudeDeg, longitudeDeg);
    return {up.x * (n + height), up.y * (n + height), up.z * (n * (1.0 - kE2) + height)};
}

// Bowring's formula: exact to well below a millimetre for points near the ground.
GeoPoint geoPointOf(const Vec3& p) {
    const double r = std::hypot(p.x, p.y);
    const double beta = std::atan2(p.z * kEquatorialRadius, r * kPolarRadius);
    const double s = std::sin(beta), c = std::cos(beta);
    const double latitude =
        std::atan2(p.z + kEp2 * kPolarRadius * s * s * s, r - kE2 * kEquatorialRadius * c * c * c);
    return {latitude / kDegree, std::atan2(p.y, p.x) / kDegree};
}

double heightOf(const Vec3& p) {
    const GeoPoint g = geoPointOf(p);
    return (p - pointAt(g.latitude, g.longitude, 0)).dot(unitVectorAt(g.latitude, g.longitude));
}

double wrapLongitude(double longitudeDeg) {
    double w = std::fmod(longitudeDeg, 360.0);
    if (w > 180.0) w -= 360.0;
    if (w <= -180.0) w += 360.0;
    return w;
}

namespace {
// The ellipsoid squashed into the unit sphere and back: lines stay lines, tangents tangents.
Vec3 toSphere(const Vec3& v) {
    return {v.x / kEquatorialRadius, v.y / kEquatorialRadius, v.z / kPolarRadius};
}
Vec3 fromSphere(const Vec3& v) {
    return {v.x * kEquatorialRadius, v.y * kEquatorialRadius, v.z * kPolarRadius};
}
}  // namespace

GroundHit intersectGround(const Vec3& origin, const Vec3& dir, const Vec3& fallbackPerpendicular) {
    const Vec3 o = toSphere(origin);
    const Vec3 d = toSphere(dir);
    const double r = o.length();
    const double a = d.dot(d);
    const double b = o.dot(d);
    // |o|^2 - 1 without the cancellation of two nearly equal terms.
    const double c = (r - 1.0) * (r + 1.0);
    const double disc = b * b - a * c;
    if (disc >= 0 && b < 0) {
        // The nearer root, in the form that keeps its digits for a close ground.
        const double t = c / (-b + std::sqrt(disc));
        return {origin + dir * t, t, true};
    }
    // Missed: the nearest horizon point lies where the tangent cone from the eye meets
    // the plane through the eye, the centre and the ray.
    const Vec3 up = o * (1.0 / r);
    Vec3 side = d - up * d.dot(up);
    if (side.length() < 1e-12) {
        const Vec3 f = toSphere(fallbackPerpendicular);
        side = f - up * f.dot(up);
    }
    side = side.normalized();
    const double cosA = std::min(1.0, 1.0 / r);
    const double sinA = std::sqrt(std::max(0.0, 1.0 - cosA * cosA));
    const Vec3 point = fromSphere(up * cosA + side * sinA);
    return {point, (point - origin).length(), false};
}

double centralAngle(const GeoPoint& a, const GeoPoint& b) {
    const Vec3 u = unitVectorAt(a.latitude, a.longitude);
    const Vec3 v = unitVectorAt(b.latitude, b.longitude);
    return std::atan2(u.cross(v).length(), u.dot(v));
}

}  // namespace earthsim
