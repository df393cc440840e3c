#pragma once

#include <array>

#include "ViewReport.h"
#include "capture/GoogleEarth.h"

namespace kartovex {

// The ground under the screen points of a reported view. The eye sits `range` metres
// back from the look-at point along the line of sight that heading and tilt give there;
// each screen point's ray leaves the eye through a pinhole with the reported fields of
// view and meets the WGS 84 ellipsoid raised to the terrain altitude under the look-at.
// Relief away from the look-at is not known to the link, so it is not followed.
class ReportedView {
public:
    explicit ReportedView(const ViewReport& report);

    // x from -1 (left) to 1 (right), y from -1 (bottom) to 1 (top). A ray that passes
    // above the horizon gives the horizon point nearest to it.
    PointOnTerrain pointOnTerrain(double x, double y) const;

private:
    using Vector = std::array<double, 3>;
    Vector eye_{}, forward_{}, right_{}, up_{};
    double tanHalfX_ = 0, tanHalfY_ = 0;
    double equatorial_ = 0, polar_ = 0;  // semi-axes of the raised ellipsoid, metres
};

}  // namespace kartovex
