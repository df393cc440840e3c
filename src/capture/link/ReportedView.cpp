#include "ReportedView.h"

#include <GeographicLib/Geocentric.hpp>
#include <algorithm>
#include <cmath>
#include <vector>

namespace kartovex {

namespace {

using Vector = std::array<double, 3>;
constexpr double kDegree = 3.14159265358979323846 / 180.0;

Vector operator+(const Vector& a, const Vector& b) {
    return {a[0] + b[0], a[1] + b[1], a[2] + b[2]};
}
Vector operator*(const Vector& a, double s) {
    return {a[0] * s, a[1] * s, a[2] * s};
}
double dot(const Vector& a, const Vector& b) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}
Vector cross(const Vector& a, const Vector& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
Vector unit(const Vector& a) {
    return a * (1.0 / std::sqrt(dot(a, a)));
}

}  // namespace

ReportedView::ReportedView(const ViewReport& r) {
    const GeographicLib::Geocentric& earth = GeographicLib::Geocentric::WGS84();
    equatorial_ = earth.EquatorialRadius() + r.terrainAltitude;
    polar_ = earth.EquatorialRadius() * (1.0 - earth.Flattening()) + r.terrainAltitude;

    // M turns east-north-up at the look-at point into Earth-centred axes.
    Vector lookAt;
    std::vector<double> m(9);  // row by row
    earth.Forward(r.lookAtLatitude, r.lookAtLongitude, r.terrainAltitude, lookAt[0], lookAt[1],
                  lookAt[2], m);
    auto earthCentred = [&m](const Vector& enu) {
        return Vector{m[0] * enu[0] + m[1] * enu[1] + m[2] * enu[2],
                      m[3] * enu[0] + m[4] * enu[1] + m[5] * enu[2],
                      m[6] * enu[0] + m[7] * enu[1] + m[8] * enu[2]};
    };
    const double tilt = r.tilt * kDegree, heading = r.heading * kDegree;
    forward_ = earthCentred(
        {std::sin(tilt) * std::sin(heading), std::sin(tilt) * std::cos(heading), -std::cos(tilt)});
    up_ = earthCentred(
        {std::cos(tilt) * std::sin(heading), std::cos(tilt) * std::cos(heading), std::sin(tilt)});
    right_ = cross(forward_, up_);
    eye_ = lookAt + forward_ * -r.range;
    tanHalfX_ = std::tan(r.horizontalFov / 2 * kDegree);
    tanHalfY_ = std::tan(r.verticalFov / 2 * kDegree);
}

PointOnTerrain ReportedView::pointOnTerrain(double x, double y) const {
    const Vector ray = unit(forward_ + right_ * (x * tanHalfX_) + up_ * (y * tanHalfY_));
    // Scaled so that the raised ellipsoid becomes the unit sphere: straight lines and
    // tangents stay what they are.
    const Vector e{eye_[0] / equatorial_, eye_[1] / equatorial_, eye_[2] / polar_};
    const Vector d{ray[0] / equatorial_, ray[1] / equatorial_, ray[2] / polar_};
    const double a = dot(d, d), b = dot(e, d);
    const double eyeRadius = std::sqrt(dot(e, e));
    // |e|^2 - 1 without losing the digits of a close ground.
    const double c = (eyeRadius - 1.0) * (eyeRadius + 1.0);
    const double disc = b * b - a * c;
    Vector ground;
    if (disc >= 0 && b < 0) {
        ground = e + d * (c / (-b + std::sqrt(disc)));
    } else {
        const Vector outward = e * (1.0 / eyeRadius);
        Vector side = d + outward * -dot(d, outward);
        if (dot(side, side) < 1e-24) side = up_;
        side = unit(side);
        const double cosA = std::min(1.0, 1.0 / eyeRadius);
        ground = outward * cosA + side * std::sqrt(std::max(0.0, 1.0 - cosA * cosA));
    }
    double latitude = 0, longitude = 0, height = 0;
    GeographicLib::Geocentric::WGS84().Reverse(ground[0] * equatorial_, ground[1] * equatorial_,
                                               ground[2] * polar_, latitude, longitude, height);
    return {latitude, longitude};
}

}  // namespace kartovex
