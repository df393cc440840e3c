#include <gtest/gtest.h>

#include "CameraFlight.h"

namespace earthsim {
namespace {

TEST(CameraFlight, SpeedFiveAndAboveJumpsAndLowerSpeedsTakeLonger) {
    const struct {
        double speed, seconds;
    } cases[] = {{5.0, 0}, {10.0, 0}, {4.0, 1.0}, {1.0, 4.0}, {0.1, 20.0}, {1e-9, 20.0}};
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(flightDuration(c.speed), c.seconds) << c.speed;
}

TEST(CameraFlight, StartsWhereTheCameraWasAndEndsExactlyOnTheTarget) {
    const Camera from{34.0, 112.0, 0, 8000, 40, 30};
    const Camera to{34.67, 112.58, 0, 12000, 0, 0};
    const CameraFlight flight(from, to, 1.0);
    EXPECT_NEAR(flight.at(0).latitude, from.latitude, 1e-12);
    EXPECT_NEAR(flight.at(0).tilt, from.tilt, 1e-12);
    EXPECT_FALSE(flight.arrivedAt(0.99));
    EXPECT_TRUE(flight.arrivedAt(1.0));
    EXPECT_EQ(flight.at(1.0), normalized(to));
    EXPECT_EQ(flight.at(7.0), normalized(to));
    const Camera middle = flight.at(0.5);
    EXPECT_GT(middle.latitude, from.latitude);
    EXPECT_LT(middle.latitude, to.latitude);
}

TEST(CameraFlight, TurnsTheShorterWayRoundAndRisesToSeeBothEndsOfAFarFlight) {
    const Camera middle =
        CameraFlight({0, 179, 0, 1000, 0, 350}, {0, -179, 0, 1000, 0, 10}, 2.0).at(1.0);
    EXPECT_NEAR(std::abs(middle.longitude), 180.0, 1e-9);
    EXPECT_NEAR(middle.azimuth, 0.0, 1e-9);

    EXPECT_GT(CameraFlight({0, 0, 0, 5000, 0, 0}, {0, 30, 0, 5000, 0, 0}, 2.0).at(1.0).range, 1e6);
    EXPECT_NEAR(CameraFlight({0, 0, 0, 5000, 0, 0}, {0, 0.001, 0, 5000, 0, 0}, 2.0).at(1.0).range,
                5000, 1e-6);
}

}  // namespace
}  // namespace earthsim
