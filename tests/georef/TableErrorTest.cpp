#include <gtest/gtest.h>

#include <cmath>

#include "georef/TableError.h"

namespace kartovex {
namespace {

// A 5 x 5 grid over a 1280 x 1024 view, 0.001 degrees a side, with the centre's ground
// pushed east by `bulge` pixels, starting at `west`.
GroundGrid view(double bulge, double west = 112) {
    GroundGrid grid{1280, 1024, {}};
    for (int i = 0; i < 25; ++i) {
        const double x = i % 5 / 2.0 - 1, y = 1 - i / 5 / 2.0;
        double longitude = west + 0.0005 * (x + 1) + (i == 12 ? bulge * 0.001 / 1280 : 0);
        if (longitude > 180) longitude -= 360;
        grid.points.push_back({x, y, longitude, 34 + 0.0004 * y});
    }
    return grid;
}

// The table's pixels run to 1279 and 1023, the view's edges to 1280 and 1024: a flat view
// is off by the last pixel, a curved one by its bulge too.
TEST(TableError, IsTheWorstDistanceOfAGridPointFromWhereTheTablePutsIt) {
    const struct {
        const char* name;
        GroundGrid grid;
        double pixels;
        std::string sentence;
    } rows[] = {
        {"flat", view(0), std::sqrt(2.0), ""},
        {"flat across the 180th meridian", view(0, 179.9996), std::sqrt(2.0), ""},
        {"bulging 23.5 px", view(23.5), 22.98,
         "a.tab is off by up to 23 px at this range; a_wgs84.tab is exact to 0.2 px"},
        {"bulging 4 px", view(4), 3.53,
         "a.tab is off by up to 3.5 px at this range; a_wgs84.tab is exact to 0.2 px"},
    };
    for (const auto& r : rows) {
        const double pixels = tableErrorPixels(r.grid, 1280, 1024, 1279, 1023);
        EXPECT_NEAR(pixels, r.pixels, 0.01) << r.name;
        EXPECT_EQ(tableErrorSentence("a.tab", pixels, "a_wgs84.tab", 0.2), r.sentence) << r.name;
    }
    EXPECT_TRUE(std::isnan(tableErrorPixels({}, 1280, 1024, 1279, 1023)));
    EXPECT_EQ(tableErrorSentence("a.tab", 7.04, "a_wgs84.tab", -1),
              "a.tab is off by up to 7.0 px at this range");
}

}  // namespace
}  // namespace kartovex
