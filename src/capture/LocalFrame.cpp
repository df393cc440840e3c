#include "LocalFrame.h"

#include <cmath>
#include <numbers>

#include "model/RuntimeError.h"

namespace kartovex {
namespace {

using Vec = std::array<double, 3>;

constexpr double kA = 6378137.0;
constexpr double kF = 1 / 298.257223563;
constexpr double kB = kA * (1 - kF);
constexpr double kE2 = kF * (2 - kF);
constexpr double kRadian = std::numbers::pi / 180;

Vec onEllipsoid(double latitude, double longitude) {
    const double p = latitude * kRadian, l = longitude * kRadian;
    const double n = kA / std::sqrt(1 - kE2 * std::sin(p) * std::sin(p));
    return {n * std::cos(p) * std::cos(l), n * std::cos(p) * std::sin(l),
            n * (1 - kE2) * std::sin(p)};
}

double dot(const Vec& a, const Vec& b) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

Vec minus(const Vec& a, const Vec& b) {
    return {a[0] - b[0], a[1] - b[1], a[2] - b[2]};
}

}  // namespace

LocalFrame::LocalFrame(double latitude, double longitude)
    : origin_(onEllipsoid(latitude, longitude)) {
    const double p = latitude * kRadian, l = longitude * kRadian;
    east_ = {-std::sin(l), std::cos(l), 0};
    north_ = {-std::sin(p) * std::cos(l), -std::sin(p) * std::sin(l), std::cos(p)};
    up_ = {std::cos(p) * std::cos(l), std::cos(p) * std::sin(l), std::sin(p)};
}

LocalFrame::Metres LocalFrame::toMetres(double latitude, double longitude) const {
    const Vec d = minus(onEllipsoid(latitude, longitude), origin_);
    return {dot(d, east_), dot(d, north_)};
}

bool LocalFrame::facesOrigin(double latitude, double longitude) const {
    return dot(onEllipsoid(latitude, longitude), up_) > 0;
}

LocalFrame::Degrees LocalFrame::toDegrees(Metres m) const {
    Vec q;
    for (int i = 0; i < 3; ++i) q[i] = origin_[i] + m.east * east_[i] + m.north * north_[i];
    // Down from the plane along the origin's vertical to the ellipsoid: the root of
    // |q + u up| on the ellipsoid nearest the plane.
    const auto scaled = [](const Vec& a, const Vec& b) {
        return (a[0] * b[0] + a[1] * b[1]) / (kA * kA) + a[2] * b[2] / (kB * kB);
    };
    const double a = scaled(up_, up_), b = 2 * scaled(q, up_), c = scaled(q, q) - 1;
    const double discriminant = b * b - 4 * a * c;
    if (!(discriminant >= 0))
        throw RuntimeError(error::InvalidArgument,
                           "A place of the area lies beyond the horizon of its centre");
    const double u = (-b + std::sqrt(discriminant)) / (2 * a);
    const Vec p{q[0] + u * up_[0], q[1] + u * up_[1], q[2] + u * up_[2]};
    return {std::atan2(p[2], (1 - kE2) * std::hypot(p[0], p[1])) / kRadian,
            std::atan2(p[1], p[0]) / kRadian};
}

}  // namespace kartovex
