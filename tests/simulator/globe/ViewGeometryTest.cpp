#include <gtest/gtest.h>

#include "ViewGeometry.h"

namespace earthsim {
namespace {

double metresBetween(const GeoPoint& a, const GeoPoint& b) {
    return (pointAt(a.latitude, a.longitude, 0) - pointAt(b.latitude, b.longitude, 0)).length();
}

TEST(ViewGeometry, TheCentreIsTheFocusPointAndProjectingGivesBackTheScreenPoint) {
    for (const Camera& c :
         {Camera{-33.9, -70.6, 0, 8000, 50, 70}, Camera{0, 179.9999, 0, 2e6, 30, 45},
          Camera{89.5, 10, 0, 3000, 80, 200}}) {
        const ViewGeometry view(c, 1920, 1080);
        const GroundHit centre = view.groundAt(0, 0);
        EXPECT_LT(metresBetween(geoPointOf(centre.point), {c.latitude, c.longitude}), 1e-3);
        EXPECT_NEAR(centre.distance, c.range, 1e-3);
        for (auto [x, y] : {std::pair{-1.0, -1.0}, {-0.3, 0.25}, {0.8, -0.6}}) {
            double px = 0, py = 0;
            ASSERT_TRUE(view.project(view.groundAt(x, y).point, px, py)) << c.latitude;
            EXPECT_NEAR(px, x, 1e-9) << c.latitude;
            EXPECT_NEAR(py, y, 1e-9) << c.latitude;
        }
    }
    double px = 0, py = 0;
    const ViewGeometry view({-33.9, -70.6, 0, 8000, 50, 70}, 1920, 1080);
    EXPECT_FALSE(view.project(unitVectorAt(33.9, 109.4) * kEarthRadius, px, py));  // far side
}

TEST(ViewGeometry, ScreenPointsMissingTheEarthReportTheHorizon) {
    const ViewGeometry view({34.67, 112.58, 0, 5000, 85, 0}, 1280, 1024);
    const GroundHit sky = view.groundAt(0, 1);
    ASSERT_FALSE(sky.hit);
    const Vec3 eye = view.pose().eye;
    EXPECT_NEAR(heightOf(sky.point), 0, 1e-6);
    // The line of sight only touches the ground there: halfway it runs above the ground.
    EXPECT_GT(heightOf((eye + sky.point) * 0.5), 0);
    // North of the focus, and farther than any ground the view does hit.
    EXPECT_GT(geoPointOf(sky.point).latitude, view.pointOnTerrain(0, 0).latitude);
    EXPECT_GT(sky.distance, view.groundAt(0, -1).distance);

    const ViewBounds bounds = view.bounds();
    EXPECT_GE(bounds.north, view.pointOnTerrain(0, 1).latitude - 1e-9);
    EXPECT_LT(bounds.north, 90.0);
    EXPECT_LE(bounds.south, view.pointOnTerrain(-1, -1).latitude);
}

TEST(ViewGeometry, LatitudeBoundsAreTheTopMiddleAndTheBottomCornersOrAVisiblePole) {
    // North up: parallels bow towards the equator, so the top edge reaches farthest north in
    // its middle and the bottom edge farthest south at its corners.
    const ViewGeometry view({34.67, 112.58, 0, 50000, 0, 0}, 1280, 1024);
    const ViewBounds bounds = view.bounds();
    EXPECT_NEAR(bounds.north, view.pointOnTerrain(0, 1).latitude, 1e-9);
    EXPECT_NEAR(bounds.south, view.pointOnTerrain(1, -1).latitude, 1e-9);

    EXPECT_EQ(ViewGeometry({89.9, 0, 0, 1e5, 0, 0}, 1280, 1024).bounds().north, 90.0);
    EXPECT_EQ(ViewGeometry({-89.9, 0, 0, 1e5, 0, 0}, 1280, 1024).bounds().south, -90.0);
}

}  // namespace
}  // namespace earthsim
