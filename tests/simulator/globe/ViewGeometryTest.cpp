#include <gtest/gtest.h>

#include <cmath>

#include "ViewGeometry.h"

namespace earthsim {
namespace {

double metresBetween(const GeoPoint& a, const GeoPoint& b) {
    return centralAngle(a, b) * kEarthRadius;
}

// Initial great-circle bearing from a to b, degrees east of north.
double bearing(const GeoPoint& a, const GeoPoint& b) {
    const double la = a.latitude * kDegree, lb = b.latitude * kDegree;
    const double dl = (b.longitude - a.longitude) * kDegree;
    return std::atan2(std::sin(dl) * std::cos(lb),
                      std::cos(la) * std::sin(lb) - std::sin(la) * std::cos(lb) * std::cos(dl)) /
           kDegree;
}

TEST(ViewGeometry, TheCentreOfTheViewIsTheFocusPoint) {
    const Camera cameras[] = {{34.67, 112.58, 0, 12000, 0, 0},
                              {-33.9, -70.6, 0, 500, 60, -120},
                              {0, 179.9999, 0, 2e6, 30, 45},
                              {89.5, 10, 0, 3000, 80, 200}};
    for (const Camera& c : cameras) {
        const ViewGeometry view(c, 1280, 1024);
        const GroundHit centre = view.groundAt(0, 0);
        EXPECT_TRUE(centre.hit);
        EXPECT_LT(metresBetween(geoPointOf(centre.point), {c.latitude, c.longitude}), 1e-3);
        EXPECT_NEAR(centre.distance, c.range, 1e-3);
    }
}

TEST(ViewGeometry, ScreenDirectionsFollowTheAzimuth) {
    // Up the screen is the azimuth's bearing, right is 90 degrees clockwise from it.
    for (double azimuth : {0.0, 30.0, 90.0, -135.0, 180.0}) {
        const ViewGeometry view({34.67, 112.58, 0, 12000, 0, azimuth}, 1280, 1024);
        const GeoPoint centre = view.pointOnTerrain(0, 0);
        EXPECT_NEAR(wrapLongitude(bearing(centre, view.pointOnTerrain(0, 1)) - azimuth), 0, 1e-6);
        EXPECT_NEAR(wrapLongitude(bearing(centre, view.pointOnTerrain(1, 0)) - azimuth - 90), 0,
                    1e-6);
        EXPECT_NEAR(wrapLongitude(bearing(centre, view.pointOnTerrain(0, -1)) - azimuth - 180), 0,
                    1e-6);
    }
}

TEST(ViewGeometry, SixtyDegreesAcrossAndTheAspectRatioUpAndDown) {
    const double range = 1000;  // close enough for the ground to be nearly flat
    const struct { int width, height; } sizes[] = {{1280, 1024}, {1920, 1080}, {800, 1200}};
    for (const auto& s : sizes) {
        const ViewGeometry view({10, 20, 0, range, 0, 0}, s.width, s.height);
        const GeoPoint centre = view.pointOnTerrain(0, 0);
        const double halfWidth = range * std::tan(30 * kDegree);
        EXPECT_NEAR(metresBetween(centre, view.pointOnTerrain(1, 0)), halfWidth, 0.1);
        EXPECT_NEAR(metresBetween(centre, view.pointOnTerrain(0, 1)),
                    halfWidth * s.height / s.width, 0.1);
    }
}

TEST(ViewGeometry, TiltingPutsTheTopOfTheViewFartherAway) {
    const ViewGeometry view({34.67, 112.58, 0, 5000, 45, 0}, 1280, 1024);
    const GeoPoint centre = view.pointOnTerrain(0, 0);
    EXPECT_GT(metresBetween(centre, view.pointOnTerrain(0, 1)),
              2 * metresBetween(centre, view.pointOnTerrain(0, -1)));
}

TEST(ViewGeometry, ScreenPointsMissingTheEarthReportTheHorizon) {
    const ViewGeometry view({34.67, 112.58, 0, 5000, 85, 0}, 1280, 1024);
    const GroundHit sky = view.groundAt(0, 1);
    ASSERT_FALSE(sky.hit);
    const Vec3 eye = view.pose().eye;
    EXPECT_NEAR(sky.distance, std::sqrt(eye.dot(eye) - kEarthRadius * kEarthRadius), 1e-3);
    // North of the focus, and farther than any ground the view does hit.
    const GeoPoint horizon = geoPointOf(sky.point);
    EXPECT_GT(horizon.latitude, view.pointOnTerrain(0, 0).latitude);
    EXPECT_GT(sky.distance, view.groundAt(0, -1).distance);
}

TEST(ViewGeometry, ProjectingAGroundPointGivesBackItsScreenPoint) {
    const ViewGeometry view({-33.9, -70.6, 0, 8000, 50, 70}, 1920, 1080);
    for (double x : {-1.0, -0.3, 0.0, 0.8}) {
        for (double y : {-1.0, 0.25, 0.9}) {
            double px = 0, py = 0;
            ASSERT_TRUE(view.project(view.groundAt(x, y).point, px, py));
            EXPECT_NEAR(px, x, 1e-9);
            EXPECT_NEAR(py, y, 1e-9);
        }
    }
    double px = 0, py = 0;
    EXPECT_FALSE(view.project(unitVectorAt(33.9, 109.4) * kEarthRadius, px, py));  // far side
}

TEST(ViewGeometry, LatitudeBoundsLookingStraightDownAreTheTopMiddleAndTheBottomCorners) {
    // North up: parallels bow towards the equator, so the top edge reaches farthest north in
    // its middle and the bottom edge farthest south at its corners.
    const ViewGeometry view({34.67, 112.58, 0, 50000, 0, 0}, 1280, 1024);
    const LatitudeBounds bounds = view.latitudeBounds();
    EXPECT_NEAR(bounds.north, view.pointOnTerrain(0, 1).latitude, 1e-9);
    EXPECT_NEAR(bounds.south, view.pointOnTerrain(1, -1).latitude, 1e-9);
    EXPECT_LT(bounds.south, view.pointOnTerrain(0, -1).latitude);
}

TEST(ViewGeometry, LatitudeBoundsReachAVisiblePoleAndTheHorizon) {
    const LatitudeBounds overPole =
        ViewGeometry({89.9, 0, 0, 100000, 0, 0}, 1280, 1024).latitudeBounds();
    EXPECT_EQ(overPole.north, 90.0);
    const LatitudeBounds overSouthPole =
        ViewGeometry({-89.9, 0, 0, 100000, 0, 0}, 1280, 1024).latitudeBounds();
    EXPECT_EQ(overSouthPole.south, -90.0);

    const ViewGeometry tilted({34.67, 112.58, 0, 5000, 85, 0}, 1280, 1024);
    const LatitudeBounds bounds = tilted.latitudeBounds();
    EXPECT_GE(bounds.north, tilted.pointOnTerrain(0, 1).latitude - 1e-9);
    EXPECT_LT(bounds.north, 90.0);
    EXPECT_LE(bounds.south, tilted.pointOnTerrain(-1, -1).latitude);
}

TEST(ViewGeometry, OnePixelAtTheFocusIsAsBigAsTheDegreesPerPixelSay) {
    const ViewGeometry view({34.67, 112.58, 0, 12000, 0, 0}, 1920, 1080);
    const double step = 2.0 / 1920;
    const double measured =
        centralAngle(view.pointOnTerrain(-step / 2, 0), view.pointOnTerrain(step / 2, 0)) / kDegree;
    EXPECT_NEAR(measured / view.degreesPerPixelAtFocus(), 1.0, 1e-3);
}

}  // namespace
}  // namespace earthsim
