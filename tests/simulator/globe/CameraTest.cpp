#include <gtest/gtest.h>

#include "Camera.h"
#include "Globe.h"

namespace earthsim {
namespace {

void expectVec(const Vec3& a, const Vec3& b, double tolerance, const char* what) {
    EXPECT_NEAR(a.x, b.x, tolerance) << what;
    EXPECT_NEAR(a.y, b.y, tolerance) << what;
    EXPECT_NEAR(a.z, b.z, tolerance) << what;
}

TEST(Camera, OutOfRangeValuesAreBroughtIntoRange) {
    const struct {
        Camera in, out;
    } cases[] = {
        {{95, 190, -5, 0.5, -10, 270}, {90, -170, 0, kMinRange, 0, -90}},
        {{-91, -180, 2e7, 2e8, 120, -180}, {-90, 180, kMaxAltitude, kMaxRange, 90, 180}},
        {{34.67, 112.58, 10, 12000, 45, 30}, {34.67, 112.58, 10, 12000, 45, 30}},
    };
    for (const auto& c : cases) {
        const Camera n = normalized(c.in);
        EXPECT_DOUBLE_EQ(n.latitude, c.out.latitude);
        EXPECT_DOUBLE_EQ(n.longitude, c.out.longitude);
        EXPECT_DOUBLE_EQ(n.altitude, c.out.altitude);
        EXPECT_DOUBLE_EQ(n.range, c.out.range);
        EXPECT_DOUBLE_EQ(n.tilt, c.out.tilt);
        EXPECT_DOUBLE_EQ(n.azimuth, c.out.azimuth);
    }
}

TEST(Camera, LookingStraightDownNorthUpTheViewsTopIsNorthAndItsRightEast) {
    // At latitude 0, longitude 0: east is +y, north +z, up +x.
    const CameraPose pose = poseOf({0, 0, 0, 5000, 0, 0});
    expectVec(pose.forward, {-1, 0, 0}, 1e-12, "forward");
    expectVec(pose.up, {0, 0, 1}, 1e-12, "up");
    expectVec(pose.right, {0, 1, 0}, 1e-12, "right");
    expectVec(pose.eye, {kEarthRadius + 5000, 0, 0}, 1e-6, "eye");
}

TEST(Camera, AzimuthTurnsTheViewsTopEastOfNorthAndTiltLeansTheEyeBack) {
    const struct {
        double tilt, azimuth;
        Vec3 forward, up, right;
    } cases[] = {
        {0, 90, {-1, 0, 0}, {0, 1, 0}, {0, 0, -1}},
        {90, 0, {0, 0, 1}, {1, 0, 0}, {0, 1, 0}},
        {90, -90, {0, -1, 0}, {1, 0, 0}, {0, 0, 1}},
    };
    for (const auto& c : cases) {
        const CameraPose pose = poseOf({0, 0, 0, 1000, c.tilt, c.azimuth});
        expectVec(pose.forward, c.forward, 1e-12, "forward");
        expectVec(pose.up, c.up, 1e-12, "up");
        expectVec(pose.right, c.right, 1e-12, "right");
        // The eye looks at the focus point from `range` away.
        expectVec(pose.eye + pose.forward * 1000.0, {kEarthRadius, 0, 0}, 1e-6, "focus");
    }
}

}  // namespace
}  // namespace earthsim
