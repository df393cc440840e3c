#include <gtest/gtest.h>

#include "Globe.h"

namespace earthsim {
namespace {

TEST(Globe, LatitudeAndLongitudeSurviveTheWayThroughAVectorAndLongitudesWrap) {
    for (const GeoPoint& p : {GeoPoint{34.67, 112.58}, {-33.9, -70.6}, {89.999, 10}, {-45, 180}}) {
        const GeoPoint back = geoPointOf(pointAt(p.latitude, p.longitude, 0));
        EXPECT_NEAR(back.latitude, p.latitude, 1e-12);
        EXPECT_NEAR(wrapLongitude(back.longitude - p.longitude), 0.0, 1e-9);
    }
    const struct {
        double in, out;
    } wraps[] = {{180, 180}, {-180, 180}, {190, -170}, {-190, 170}, {540, 180}, {-725, -5}};
    for (const auto& c : wraps) EXPECT_DOUBLE_EQ(wrapLongitude(c.in), c.out) << c.in;
}

TEST(Globe, ARayDownMeetsTheGroundBelowTheEyeAndARayJustAboveTheGroundMisses) {
    const Vec3 up = unitVectorAt(34.67, 112.58);
    const GroundHit ground = intersectGround(pointAt(34.67, 112.58, 1500), up * -1.0, {0, 0, 1});
    ASSERT_TRUE(ground.hit);
    EXPECT_NEAR(ground.distance, 1500.0, 1e-6);
    EXPECT_NEAR(geoPointOf(ground.point).latitude, 34.67, 1e-11);
    EXPECT_NEAR(geoPointOf(ground.point).longitude, 112.58, 1e-11);

    const Vec3 eye{kEquatorialRadius + 10.0, 0, 0};
    EXPECT_FALSE(intersectGround(eye, Vec3{0.001, 1, 0}.normalized(), {0, 0, 1}).hit);
    EXPECT_TRUE(intersectGround(eye, Vec3{-0.01, 1, 0}.normalized(), {0, 0, 1}).hit);
}

TEST(Globe, ARayIntoTheSkyGetsTheNearestPointOfTheHorizon) {
    const Vec3 eye{kEquatorialRadius + 10000.0, 0, 0};
    const struct {
        Vec3 dir;
        Vec3 side;  // the way the horizon point must lie from the eye's nadir
    } cases[] = {
        {Vec3{0.01, 1, 0}.normalized(), {0, 1, 0}},   // just above the horizon, east
        {Vec3{0.2, 0, -1}.normalized(), {0, 0, -1}},  // south, well above
        {Vec3{1, 0, 0}, {0, 0, 1}},                   // straight up: the fallback side
    };
    for (const auto& c : cases) {
        const GroundHit ground = intersectGround(eye, c.dir, {0, 0, 1});
        EXPECT_FALSE(ground.hit);
        // The line of sight touches the ground there: it is a horizon point.
        const GeoPoint at = geoPointOf(ground.point);
        EXPECT_NEAR(heightOf(ground.point), 0, 1e-6);
        EXPECT_NEAR((ground.point - eye).normalized().dot(unitVectorAt(at.latitude, at.longitude)),
                    0, 1e-9);
        EXPECT_GT(ground.point.dot(c.side), 0);
        EXPECT_NEAR(ground.distance, (ground.point - eye).length(), 1e-6);
    }
}

}  // namespace
}  // namespace earthsim
