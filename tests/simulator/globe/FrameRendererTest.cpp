#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "FrameRenderer.h"

namespace earthsim {
namespace {

struct Picture {
    int width, height;
    std::vector<std::uint32_t> pixels;
    RenderedFrame frame;

    std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
};

Picture render(const ViewGeometry& view, int threads) {
    Picture p{view.width(),
              view.height(),
              std::vector<std::uint32_t>(static_cast<std::size_t>(view.width() * view.height())),
              {}};
    p.frame = renderFrame(view, {p.pixels.data(), p.width, p.height, p.width}, threads);
    return p;
}

// The graticule's pale yellow; no ground, sea, ice, haze or sky colour comes near it.
bool isLine(std::uint32_t c) {
    const int r = c >> 16 & 0xff, g = c >> 8 & 0xff, b = c & 0xff;
    return r >= 225 && g >= 205 && b >= 110 && b <= 160;
}

// The ground under every pixel centre, cast exactly, with a border of one pixel around
// the view (the neighbours the edge pixels are compared with).
struct ExactGround {
    int width, height;
    std::vector<GroundHit> hits;

    ExactGround(const ViewGeometry& view) : width(view.width()), height(view.height()) {
        for (int y = -1; y <= height; ++y) {
            for (int x = -1; x <= width; ++x) {
                hits.push_back(view.groundAt(view.screenX(x), view.screenY(y)));
            }
        }
    }
    const GroundHit& at(int x, int y) const {
        return hits[static_cast<std::size_t>((y + 1) * (width + 2) + x + 1)];
    }
    // A line runs through the pixel: between the midpoints with its neighbours on either
    // side, across or down.
    bool lineAt(int x, int y, double step) const {
        const GroundHit& here = at(x, y);
        if (!here.hit) return false;
        const GeoPoint p = geoPointOf(here.point);
        auto midway = [&](const GroundHit& n) {
            if (!n.hit) return p;
            const GeoPoint q = geoPointOf(n.point);
            return GeoPoint{
                (p.latitude + q.latitude) / 2,
                wrapLongitude(p.longitude + wrapLongitude(q.longitude - p.longitude) / 2)};
        };
        auto crosses = [&](const GeoPoint& a, const GeoPoint& b) {
            return std::floor(a.latitude / step) != std::floor(b.latitude / step) ||
                   std::floor(a.longitude / step) != std::floor(b.longitude / step);
        };
        return crosses(midway(at(x - 1, y)), midway(at(x + 1, y))) ||
               crosses(midway(at(x, y - 1)), midway(at(x, y + 1)));
    }
    // Neighbouring lines lie at least `pixels` apart here, so none has faded out.
    bool linesApart(int x, int y, double step, double pixels) const {
        double span = 0;
        for (auto [a, b] :
             {std::pair{at(x - 1, y), at(x + 1, y)}, std::pair{at(x, y - 1), at(x, y + 1)}}) {
            if (!a.hit || !b.hit) return false;
            const GeoPoint p = geoPointOf(a.point), q = geoPointOf(b.point);
            span = std::max({span, std::abs(p.latitude - q.latitude) / 2,
                             std::abs(wrapLongitude(p.longitude - q.longitude)) / 2});
        }
        return step / span >= pixels;
    }
};

bool anyNear(int x, int y, int width, int height, auto test) {
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            const int nx = x + dx, ny = y + dy;
            if (nx >= 0 && ny >= 0 && nx < width && ny < height && test(nx, ny)) return true;
        }
    }
    return false;
}

const Camera kViews[] = {
    {34.67, 112.58, 0, 12000, 0, 0},    // the example area, levelled
    {34.67, 112.58, 0, 12000, 0, 30},   // turned
    {34.67, 112.58, 0, 6000, 60, 200},  // tilted towards the horizon
    {0.01, 179.99, 0, 60000, 0, 0},     // across the date line and the equator
    {88.5, 0, 0, 60000, 0, 0},          // near the North Pole, where meridians crowd
    {10, 20, 0, 2.0e7, 0, 0},           // the whole globe and space around it
};

TEST(FrameRenderer, LinesAndTheirLabelledCrossingsAreWithinAPixelOfWhereTheViewPutsThem) {
    for (const Camera& camera : kViews) {
        const ViewGeometry view(camera, 320, 200);
        const Picture picture = render(view, 2);
        const ExactGround exact(view);
        const double step = picture.frame.graticuleStep;
        const int w = picture.width, h = picture.height;
        int lines = 0;
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const bool drawn = isLine(picture.at(x, y));
                lines += drawn ? 1 : 0;
                if (drawn) {
                    EXPECT_TRUE(anyNear(x, y, w, h,
                                        [&](int nx, int ny) { return exact.lineAt(nx, ny, step); }))
                        << "stray line pixel " << x << "," << y << " range " << camera.range;
                }
                if (exact.lineAt(x, y, step) && exact.linesApart(x, y, step, 8.5)) {
                    EXPECT_TRUE(anyNear(x, y, w, h,
                                        [&](int nx, int ny) { return isLine(picture.at(nx, ny)); }))
                        << "missing line pixel " << x << "," << y << " range " << camera.range;
                }
            }
        }
        EXPECT_GT(lines, 100) << "range " << camera.range;

        EXPECT_FALSE(picture.frame.crossings.empty());
        for (const GraticuleCrossing& c : picture.frame.crossings) {
            EXPECT_TRUE(isLine(picture.at(c.x, c.y)));
            // The labelled value lies between the values of the pixels around the crossing.
            double low = 1e9, high = -1e9;
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    const GroundHit& g =
                        exact.at(std::clamp(c.x + dx, -1, w), std::clamp(c.y + dy, -1, h));
                    if (!g.hit) continue;
                    const GeoPoint p = geoPointOf(g.point);
                    const double v =
                        c.meridian ? wrapLongitude(p.longitude - c.value) + c.value : p.latitude;
                    low = std::min(low, v);
                    high = std::max(high, v);
                }
            }
            EXPECT_LE(low, c.value) << "crossing " << c.value << " range " << camera.range;
            EXPECT_GE(high, c.value) << "crossing " << c.value << " range " << camera.range;
        }
    }
}

TEST(FrameRenderer, ThePictureIsTheSameWhateverTheNumberOfThreads) {
    // A tilted view, so bands of rows cost unequal work.
    const ViewGeometry view(kViews[2], 301, 187);
    const Picture one = render(view, 1);
    for (int threads : {2, 7}) EXPECT_EQ(render(view, threads).pixels, one.pixels) << threads;
}

}  // namespace
}  // namespace earthsim
