#include "ViewGeometry.h"

#include <algorithm>
#include <cmath>

namespace earthsim {

ViewGeometry::ViewGeometry(const Camera& camera, int width, int height)
    : camera_(normalized(camera)),
      pose_(poseOf(camera_)),
      width_(std::max(1, width)),
      height_(std::max(1, height)),
      tanHalfX_(std::tan(kHorizontalFieldOfView / 2 * kDegree)),
      tanHalfY_(tanHalfX_ * height_ / width_) {}

Vec3 ViewGeometry::rayAt(double x, double y) const {
    return (pose_.forward + pose_.right * (x * tanHalfX_) + pose_.up * (y * tanHalfY_))
        .normalized();
}

GroundHit ViewGeometry::groundAt(double x, double y) const {
    return intersectGround(pose_.eye, rayAt(x, y), pose_.up);
}

GeoPoint ViewGeometry::pointOnTerrain(double x, double y) const {
    return geoPointOf(groundAt(x, y).point);
}

ViewBounds ViewGeometry::bounds() const {
    ViewBounds bounds{-90.0, 90.0, 360.0, -360.0};
    auto take = [&](double x, double y) {
        const GeoPoint p = pointOnTerrain(x, y);
        bounds.north = std::max(bounds.north, p.latitude);
        bounds.south = std::min(bounds.south, p.latitude);
        const double east = wrapLongitude(p.longitude - camera_.longitude);
        bounds.west = std::min(bounds.west, east);
        bounds.east = std::max(bounds.east, east);
    };
    constexpr int kBorderSamples = 512;
    for (int i = 0; i <= kBorderSamples; ++i) {
        const double s = -1.0 + 2.0 * i / kBorderSamples;
        take(s, 1.0);
        take(s, -1.0);
        take(-1.0, s);
        take(1.0, s);
    }
    constexpr int kGrid = 64;
    for (int i = 1; i < kGrid; ++i) {
        for (int j = 1; j < kGrid; ++j) take(-1.0 + 2.0 * i / kGrid, -1.0 + 2.0 * j / kGrid);
    }
    auto inView = [this](const Vec3& point) {
        double x = 0, y = 0;
        return project(point, x, y) && std::abs(x) <= 1.0 && std::abs(y) <= 1.0;
    };
    bounds.west += camera_.longitude;
    bounds.east += camera_.longitude;
    for (const double pole : {90.0, -90.0}) {
        if (!inView(Vec3{0, 0, pole > 0 ? kPolarRadius : -kPolarRadius})) continue;
        (pole > 0 ? bounds.north : bounds.south) = pole;
        bounds.west = -180.0;
        bounds.east = 180.0;
    }
    return bounds;
}

double ViewGeometry::degreesPerPixelAtFocus() const {
    return 2.0 * camera_.range * tanHalfX_ / width_ / kEarthRadius / kDegree;
}

bool ViewGeometry::project(const Vec3& groundPoint, double& x, double& y) const {
    const Vec3 toPoint = groundPoint - pose_.eye;
    // Facing the eye: the eye is above the point's horizon plane.
    if (toPoint.dot(groundPoint) >= 0) return false;
    const double depth = toPoint.dot(pose_.forward);
    if (depth <= 0) return false;
    x = toPoint.dot(pose_.right) / depth / tanHalfX_;
    y = toPoint.dot(pose_.up) / depth / tanHalfY_;
    return true;
}

}  // namespace earthsim
