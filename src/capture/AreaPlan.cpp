#include "AreaPlan.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

#include "capture/LocalFrame.h"
#include "model/RuntimeError.h"

namespace kartovex {
namespace {

// Planned with more than the tenth that must hold, so that the curve of the Earth and the
// camera's own rounding seldom leave a gap to fill.
constexpr double kPlannedOverlap = 0.15;
constexpr double kLeastOverlap = 0.10;
// How far, in inner parts, the outer views reach beyond the area.
constexpr double kEdgeReach = 0.05;
// Measured per view on the simulator: the jump, the imagery's loading, the grab and grid;
// and for the mosaic with its Google Earth overlay, per million pixels written
// (bench/MosaicBenchmark.cpp).
constexpr double kSecondsPerView = 4.0;
constexpr double kSecondsPerMegapixel = 0.2;
constexpr double kEarthRadius = 6371008.8;
// The coverage is checked at this many places per view along each side of the area.
constexpr int kCoverageSamplesPerView = 8;

using Metres = LocalFrame::Metres;
using Polygon = std::vector<Metres>;

// A screen point's ground in the frame, between the grid's points.
Metres groundOf(const std::vector<Metres>& grid, double x, double y) {
    constexpr int n = GroundGrid::kPointsPerSide;
    const double u = std::clamp((x + 1) / 2 * (n - 1), 0.0, n - 1.0);
    const double v = std::clamp((1 - y) / 2 * (n - 1), 0.0, n - 1.0);
    const int c = std::min(n - 2, static_cast<int>(u)), r = std::min(n - 2, static_cast<int>(v));
    const double fu = u - c, fv = v - r;
    const auto at = [&](int row, int column) { return grid[row * n + column]; };
    const auto mix = [&](double a, double b, double c2, double d) {
        return (a * (1 - fu) + b * fu) * (1 - fv) + (c2 * (1 - fu) + d * fu) * fv;
    };
    return {mix(at(r, c).east, at(r, c + 1).east, at(r + 1, c).east, at(r + 1, c + 1).east),
            mix(at(r, c).north, at(r, c + 1).north, at(r + 1, c).north, at(r + 1, c + 1).north)};
}

std::vector<Metres> inFrame(const LocalFrame& frame, const GroundGrid& grid) {
    if (grid.points.size() != GroundGrid::kPointsPerSide * GroundGrid::kPointsPerSide)
        throw RuntimeError(error::InvalidArgument, "A view's ground grid is incomplete");
    std::vector<Metres> metres;
    for (const GroundPoint& p : grid.points)
        metres.push_back(frame.toMetres(p.latitude, p.longitude));
    return metres;
}

// The ground of the screen rectangle |x| <= hx, |y| <= hy, its edge walked round.
Polygon outline(const std::vector<Metres>& grid, double hx, double hy) {
    constexpr int kSteps = 8;
    Polygon edge;
    for (int i = 0; i < kSteps; ++i) edge.push_back(groundOf(grid, -hx + 2 * hx * i / kSteps, hy));
    for (int i = 0; i < kSteps; ++i) edge.push_back(groundOf(grid, hx, hy - 2 * hy * i / kSteps));
    for (int i = 0; i < kSteps; ++i) edge.push_back(groundOf(grid, hx - 2 * hx * i / kSteps, -hy));
    for (int i = 0; i < kSteps; ++i) edge.push_back(groundOf(grid, -hx, -hy + 2 * hy * i / kSteps));
    return edge;
}

bool inside(const Polygon& polygon, Metres p) {
    bool in = false;
    for (std::size_t i = 0, j = polygon.size() - 1; i < polygon.size(); j = i++) {
        const Metres& a = polygon[i];
        const Metres& b = polygon[j];
        if ((a.north > p.north) != (b.north > p.north) &&
            p.east < (b.east - a.east) * (p.north - a.north) / (b.north - a.north) + a.east)
            in = !in;
    }
    return in;
}

double innerShare(std::int64_t size, int margin) {
    return 1.0 - 2.0 * margin / static_cast<double>(size);
}

void refuseUnmappable(const GroundGrid& view, const LocalFrame& frame, const Polygon& ground,
                      double centreLongitude) {
    for (const double pole : {90.0, -90.0})
        if (frame.facesOrigin(pole, 0) && inside(ground, frame.toMetres(pole, 0)))
            throw RuntimeError(error::InvalidArgument,
                               std::string("The area reaches the ") +
                                   (pole > 0 ? "North" : "South") +
                                   " Pole, which a mosaic in longitude and latitude cannot hold. "
                                   "Move the view away from the pole.");
    for (const GroundPoint& p : view.points)
        if (std::fabs(centreLongitude + std::remainder(p.longitude - centreLongitude, 360.0)) > 180)
            throw RuntimeError(error::InvalidArgument,
                               "The area crosses the 180th meridian, which a mosaic in longitude "
                               "and latitude cannot hold in one piece. Move the view east or west "
                               "of it.");
}

// Centres along one axis so that the first and last inner parts reach `reach` past the
// area's edges.
std::vector<double> centresAlong(double from, double to, double inner, double reach, int detail) {
    from -= reach, to += reach;
    const double span = to - from;
    if (detail == 1 || inner >= span) return {(from + to) / 2};
    const int count =
        static_cast<int>(std::ceil((span - inner) / (inner * (1 - kPlannedOverlap)))) + 1;
    std::vector<double> centres;
    for (int i = 0; i < count; ++i)
        centres.push_back(from + inner / 2 + (span - inner) * i / (count - 1));
    return centres;
}

}  // namespace

AreaPlan planArea(const GroundGrid& view, const CameraInfo& camera, int detail, int marginPixels) {
    if (detail < AreaPlan::kLeastDetail || detail > AreaPlan::kMostDetail)
        throw RuntimeError(
            error::InvalidArgument,
            "The detail must be from 1 to 8 times the view's, not " + std::to_string(detail));
    if (view.viewWidth <= 0 || view.viewHeight <= 0 || marginPixels < 0 ||
        4 * marginPixels >= std::min(view.viewWidth, view.viewHeight))
        throw RuntimeError(error::InvalidArgument, "A margin of " + std::to_string(marginPixels) +
                                                       " pixels leaves too little of a view of " +
                                                       std::to_string(view.viewWidth) + " x " +
                                                       std::to_string(view.viewHeight) + " pixels");
    AreaPlan plan;
    plan.detail = detail;
    plan.marginPixels = marginPixels;
    plan.viewWidth = view.viewWidth;
    plan.viewHeight = view.viewHeight;
    plan.range = camera.range / detail;
    plan.altitude = camera.focusPointAltitude;
    plan.centreLatitude = camera.focusPointLatitude;
    plan.centreLongitude = camera.focusPointLongitude;

    const LocalFrame frame(plan.centreLatitude, plan.centreLongitude);
    const std::vector<Metres> grid = inFrame(frame, view);
    const Polygon ground = outline(grid, 1, 1);
    refuseUnmappable(view, frame, ground, plan.centreLongitude);
    plan.west = plan.south = HUGE_VAL;
    plan.east = plan.north = -HUGE_VAL;
    for (const Metres& m : ground) {
        plan.west = std::min(plan.west, m.east), plan.east = std::max(plan.east, m.east);
        plan.south = std::min(plan.south, m.north), plan.north = std::max(plan.north, m.north);
    }
    if (!(plan.east - plan.west > 0) || !(plan.north - plan.south > 0))
        throw RuntimeError(error::InvalidArgument, "The view shows no area of ground");

    if (detail == 1) {
        plan.views.push_back({plan.centreLatitude, plan.centreLongitude});
        return plan;
    }
    const double innerWidth =
        (plan.east - plan.west) / detail * innerShare(view.viewWidth, marginPixels);
    const double innerHeight =
        (plan.north - plan.south) / detail * innerShare(view.viewHeight, marginPixels);
    // A view far east or west of the centre, north up at its own meridian, is turned against
    // the area by the meridians' convergence: its inner part's corners draw in by half its
    // other side times the turn's sine, and the outer views reach that much farther.
    const double turn = std::min(
        1.0, std::max(-plan.west, plan.east) *
                 std::fabs(std::tan(plan.centreLatitude * std::numbers::pi / 180)) / kEarthRadius);
    const std::vector<double> columns =
        centresAlong(plan.west, plan.east, innerWidth,
                     kEdgeReach * innerWidth + innerHeight / 2 * std::sin(turn), detail);
    std::vector<double> rows =
        centresAlong(plan.south, plan.north, innerHeight,
                     kEdgeReach * innerHeight + innerWidth / 2 * std::sin(turn), detail);
    std::reverse(rows.begin(), rows.end());
    // Rows from the north, each the other way from the last: the shortest flights.
    for (std::size_t r = 0; r < rows.size(); ++r)
        for (std::size_t i = 0; i < columns.size(); ++i) {
            const double east = columns[r % 2 == 0 ? i : columns.size() - 1 - i];
            const auto place = frame.toDegrees({east, rows[r]});
            plan.views.push_back({place.latitude, place.longitude});
        }
    return plan;
}

AreaEstimate estimate(const AreaPlan& plan) {
    AreaEstimate e;
    e.views = plan.views.size();
    e.metresPerPixel = (plan.east - plan.west) / plan.viewWidth / plan.detail;
    e.mosaicWidth = std::llround((plan.east - plan.west) / e.metresPerPixel);
    e.mosaicHeight = std::llround((plan.north - plan.south) / e.metresPerPixel);
    e.seconds = plan.views.size() * kSecondsPerView +
                static_cast<double>(e.mosaicWidth) * e.mosaicHeight / 1e6 * kSecondsPerMegapixel;
    return e;
}

std::vector<PlannedView> gapsToFill(const AreaPlan& plan, const std::vector<GroundGrid>& measured) {
    if (plan.detail == 1) return {};
    const LocalFrame frame(plan.centreLatitude, plan.centreLongitude);
    // Each view's inner part, and its core: the inner part less half the least overlap on
    // every side. Where cores meet, neighbours share the whole overlap; at the area's edge
    // the inner part itself must reach.
    const double ix = innerShare(plan.viewWidth, plan.marginPixels);
    const double iy = innerShare(plan.viewHeight, plan.marginPixels);
    const double hx = ix * (1 - kLeastOverlap), hy = iy * (1 - kLeastOverlap);
    std::vector<Polygon> inners, cores;
    for (const GroundGrid& grid : measured) {
        const std::vector<Metres> metres = inFrame(frame, grid);
        inners.push_back(outline(metres, ix, iy));
        cores.push_back(outline(metres, hx, hy));
    }

    // A planned view has the shape of the levelled view scaled down about its centre.
    const double viewWidth = (plan.east - plan.west) / plan.detail;
    const double viewHeight = (plan.north - plan.south) / plan.detail;
    const double width = viewWidth * hx, height = viewHeight * hy;
    const double bandEast = viewWidth * (ix - hx) / 2, bandNorth = viewHeight * (iy - hy) / 2;
    const int samples = kCoverageSamplesPerView * plan.detail;
    // The area's own edge is where the outer views' inner parts end: checked a pixel inside.
    const double pixel = viewWidth / plan.viewWidth;
    const double west = plan.west + pixel, east = plan.east - pixel;
    const double south = plan.south + pixel, north = plan.north - pixel;
    std::vector<PlannedView> fill;
    std::vector<Metres> filled;
    for (int r = 0; r <= samples; ++r)
        for (int c = 0; c <= samples; ++c) {
            const Metres p{west + (east - west) * c / samples,
                           north - (north - south) * r / samples};
            const bool nearEdge = p.east < plan.west + bandEast || p.east > plan.east - bandEast ||
                                  p.north < plan.south + bandNorth ||
                                  p.north > plan.north - bandNorth;
            const std::vector<Polygon>& parts = nearEdge ? inners : cores;
            const auto covers = [&](const Polygon& part) { return inside(part, p); };
            const auto byFill = [&](const Metres& f) {
                return std::fabs(p.east - f.east) <= width / 2 &&
                       std::fabs(p.north - f.north) <= height / 2;
            };
            if (std::any_of(parts.begin(), parts.end(), covers) ||
                std::any_of(filled.begin(), filled.end(), byFill))
                continue;
            // Centred on the gap but kept inside the area, so that it covers the most of it.
            const auto within = [](double v, double low, double high) {
                return std::clamp(v, low, std::max(low, high));
            };
            const Metres centre{within(p.east, plan.west + width / 2, plan.east - width / 2),
                                within(p.north, plan.south + height / 2, plan.north - height / 2)};
            filled.push_back(centre);
            const auto place = frame.toDegrees(centre);
            fill.push_back({place.latitude, place.longitude});
        }
    return fill;
}

}  // namespace kartovex
