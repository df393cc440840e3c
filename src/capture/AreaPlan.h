#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "capture/GoogleEarth.h"
#include "model/GroundGrid.h"

namespace kartovex {

// Where the camera looks for one view of an area, straight down with north up.
struct PlannedView {
    double latitude = 0, longitude = 0;
};

// The views that cover an area: the levelled view's ground, taken again `detail` times
// closer. Neighbours share at least a tenth of their inner parts (the picture less a margin
// where Google Earth draws its own controls), measured on the ground in metres.
struct AreaPlan {
    static constexpr int kLeastDetail = 1, kMostDetail = 8;
    // Leaves out Google Earth's compass, about 75 px in from the top-right corner, and its
    // status line along the bottom.
    static constexpr int kDefaultMarginPixels = 96;

    int detail = 1;
    int marginPixels = kDefaultMarginPixels;
    std::int64_t viewWidth = 0, viewHeight = 0;
    // Every view's camera: its range and the focus point's altitude.
    double range = 0, altitude = 0;
    // The area: the levelled view's centre, and its ground in metres east and north of it.
    double centreLatitude = 0, centreLongitude = 0;
    double west = 0, south = 0, east = 0, north = 0;
    std::vector<PlannedView> views;
};

// The plan for the levelled `view` seen from `camera`. Throws RuntimeError with the reason
// when the area cannot become one mosaic in longitude and latitude: it reaches a pole or
// crosses the 180th meridian.
AreaPlan planArea(const GroundGrid& view, const CameraInfo& camera, int detail, int marginPixels);

// What the user is shown before anything moves.
struct AreaEstimate {
    std::size_t views = 0;
    double metresPerPixel = 0;
    std::int64_t mosaicWidth = 0, mosaicHeight = 0;
    double seconds = 0;
};
AreaEstimate estimate(const AreaPlan& plan);

// Views that close the gaps the measured views leave: places of the area that no view's
// inner part covers with the overlap its neighbours need. `measured` holds the grid each
// view was read with, in any order.
std::vector<PlannedView> gapsToFill(const AreaPlan& plan, const std::vector<GroundGrid>& measured);

}  // namespace kartovex
