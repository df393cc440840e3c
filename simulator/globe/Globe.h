#pragma once

#include "Vec3.h"

namespace earthsim {

// The simulated Earth: the WGS 84 ellipsoid, as Google Earth's, smooth and with no
// terrain, so the ground is everywhere at height 0. Latitudes are geodetic.
inline constexpr double kEquatorialRadius = 6378137.0;
inline constexpr double kFlattening = 1.0 / 298.257223563;
inline constexpr double kPolarRadius = kEquatorialRadius * (1.0 - kFlattening);
// The mean radius, for what only needs the Earth's size (panning, haze, flights).
inline constexpr double kEarthRadius = 6371000.0;
inline constexpr double kPi = 3.14159265358979323846;
inline constexpr double kDegree = kPi / 180.0;

struct GeoPoint {
    double latitude = 0;   // degrees, north positive
    double longitude = 0;  // degrees, east positive, -180 to 180
};

// The ellipsoid's outward normal, the local vertical, at a point.
Vec3 unitVectorAt(double latitudeDeg, double longitudeDeg);
// The point at `height` metres above the ellipsoid.
Vec3 pointAt(double latitudeDeg, double longitudeDeg, double height);
// Latitude and longitude of a point near the ground, and its height above the ellipsoid.
GeoPoint geoPointOf(const Vec3& p);
double heightOf(const Vec3& p);

// Wraps a longitude into (-180, 180].
double wrapLongitude(double longitudeDeg);

// Where a ray from `origin` (outside the ellipsoid) along the unit direction `dir` meets the
// ground. A ray that misses the Earth (into the sky) is given the nearest point of the
// horizon instead: the tangent point seen from `origin` in the plane of the ray and the
// Earth's centre, taken on the ellipsoid scaled to a sphere. `hit` tells which it is.
struct GroundHit {
    Vec3 point;
    double distance = 0;  // from origin to point, metres
    bool hit = false;
};
GroundHit intersectGround(const Vec3& origin, const Vec3& dir, const Vec3& fallbackPerpendicular);

// Central angle between the verticals of two points, radians.
double centralAngle(const GeoPoint& a, const GeoPoint& b);

}  // namespace earthsim
