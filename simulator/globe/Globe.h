#pragma once

#include "Vec3.h"

namespace earthsim {

// The simulated Earth: a smooth sphere with no terrain, so the ground is everywhere at
// altitude 0.
inline constexpr double kEarthRadius = 6371000.0;
inline constexpr double kPi = 3.14159265358979323846;
inline constexpr double kDegree = kPi / 180.0;

struct GeoPoint {
    double latitude = 0;   // degrees, north positive
    double longitude = 0;  // degrees, east positive, -180 to 180
};

// Unit vector pointing from the Earth's centre through the given point.
Vec3 unitVectorAt(double latitudeDeg, double longitudeDeg);
GeoPoint geoPointOf(const Vec3& p);

// Wraps a longitude into (-180, 180].
double wrapLongitude(double longitudeDeg);

// Where a ray from `origin` (outside the sphere) along the unit direction `dir` meets the
// ground. A ray that misses the Earth (into the sky) is given the nearest point of the
// horizon instead: the tangent point seen from `origin` in the plane of the ray and the
// Earth's centre. `hit` tells which of the two it is.
struct GroundHit {
    Vec3 point;
    double distance = 0;  // from origin to point, metres
    bool hit = false;
};
GroundHit intersectGround(const Vec3& origin, const Vec3& dir, const Vec3& fallbackPerpendicular);

// Central angle between two points of the sphere, radians.
double centralAngle(const GeoPoint& a, const GeoPoint& b);

}  // namespace earthsim
