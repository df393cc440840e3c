#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "ViewGeometry.h"

namespace earthsim {

// 0xffRRGGBB pixels, rows `stride` pixels apart; width and height those of the view.
struct FramePixels {
    std::uint32_t* data = nullptr;
    int width = 0;
    int height = 0;
    std::ptrdiff_t stride = 0;
};

// Where a graticule line crosses the view's centre row or centre column, for its label.
struct GraticuleCrossing {
    bool meridian = false;  // a line of longitude; otherwise one of latitude
    double value = 0;       // its longitude or latitude, degrees
    int x = 0;
    int y = 0;
};

struct RenderedFrame {
    double graticuleStep = 0;
    std::vector<GraticuleCrossing> crossings;  // one per line, at most
};

// Draws the ground, the sky and the graticule lines of a view. The ground of every pixel
// is the ground under its centre (the ray through it, as ViewGeometry casts it); to keep
// a frame fast, that ground is cast exactly on a coarse grid and interpolated inside the
// cells where interpolation stays within a fraction of a pixel, and cast per pixel
// elsewhere (near the horizon, the poles and the date line). Rows are split among
// `threads` threads.
RenderedFrame renderFrame(const ViewGeometry& view, const FramePixels& pixels, int threads);

}  // namespace earthsim
