#include <gtest/gtest.h>

#include "Camera.h"
#include "Globe.h"

namespace earthsim {
namespace {

TEST(Camera, OutOfRangeValuesAreBroughtIntoRange) {
    const struct {
        Camera in, out;
    } cases[] = {
        {{95, 190, -5, 0.5, -10, 270}, {90, -170, 0, kMinRange, 0, -90}},
        {{-91, -180, 2e7, 2e8, 120, -180}, {-90, 180, kMaxAltitude, kMaxRange, 90, 180}},
        {{34.67, 112.58, 10, 12000, 45, 30}, {34.67, 112.58, 10, 12000, 45, 30}},
    };
    for (const auto& c : cases) EXPECT_EQ(normalized(c.in), c.out) << c.in.latitude;
}

TEST(Camera, AzimuthTurnsTheViewsTopEastOfNorthAndTiltLeansTheEyeBack) {
    // At latitude 0, longitude 0: east is +y, north +z, up +x.
    const struct {
        double tilt, azimuth;
        Vec3 forward, up, right;
    } cases[] = {
        {0, 0, {-1, 0, 0}, {0, 0, 1}, {0, 1, 0}},
        {0, 90, {-1, 0, 0}, {0, 1, 0}, {0, 0, -1}},
        {90, 0, {0, 0, 1}, {1, 0, 0}, {0, 1, 0}},
        {90, -90, {0, -1, 0}, {1, 0, 0}, {0, 0, 1}},
    };
    for (const auto& c : cases) {
        const CameraPose pose = poseOf({0, 0, 0, 1000, c.tilt, c.azimuth});
        // The eye looks at the focus point from `range` away.
        const Vec3 focus = pose.eye + pose.forward * 1000.0;
        for (auto [got, want, tolerance] :
             {std::tuple{pose.forward, c.forward, 1e-12}, std::tuple{pose.up, c.up, 1e-12},
              std::tuple{pose.right, c.right, 1e-12},
              std::tuple{focus, Vec3{kEquatorialRadius, 0, 0}, 1e-6}}) {
            EXPECT_NEAR((got - want).length(), 0, tolerance)
                << "tilt " << c.tilt << " azimuth " << c.azimuth;
        }
    }
}

}  // namespace
}  // namespace earthsim
