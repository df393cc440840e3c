#pragma once

#include <cstdint>
#include <vector>

namespace kartovex {

// A ground point under a screen point of the view. Screen x runs from -1 (the left edge of
// the first pixel column) to 1 (the right edge of the last), y from -1 (bottom edge) to 1
// (top edge); longitude and latitude in decimal degrees.
struct GroundPoint {
    double x = 0, y = 0;
    double longitude = 0, latitude = 0;
};

// The view read at a regular grid of screen points, rows from the top, each row from the
// left. Four corner points cannot carry a curved Earth; a grid lets a fitted surface
// register the picture to a fraction of a pixel.
struct GroundGrid {
    static constexpr int kPointsPerSide = 5;

    // The render window's size in pixels when the grid was read.
    std::int64_t viewWidth = 0, viewHeight = 0;
    std::vector<GroundPoint> points;
    // Where the render window's top-left pixel was on the screen, in physical pixels: with
    // the size, the rectangle whose pixels the grid describes.
    std::int64_t viewLeft = 0, viewTop = 0;
};

}  // namespace kartovex
