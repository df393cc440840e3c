#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

#include "CameraMotion.h"

using earthsim::Camera;

namespace {

const Camera kStart{34.0, 112.0, 0, 8000, 40, 30};
const Camera kLevel{34.67, 112.58, 0, 12000, 0, 0};

TEST(CameraMotion, BelowSpeedFiveTheCameraFliesAndSettlesExactlyOnTheTargetAtFiveItJumps) {
    CameraMotion motion(kStart);
    QSignalSpy changes(&motion, &CameraMotion::changed);
    motion.flyTo(kLevel, 4.0);
    EXPECT_TRUE(motion.flying());
    EXPECT_GT(motion.camera().tilt, 1.0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !motion.flying(); }, 5000));
    EXPECT_EQ(motion.camera(), kLevel);
    // The view was redrawn along the way, not just at the end.
    EXPECT_GT(changes.count(), 5);

    motion.flyTo(kLevel, 4.0);  // already there: nothing to fly
    EXPECT_FALSE(motion.flying());
    changes.clear();
    motion.flyTo(kStart, 5.0);
    EXPECT_FALSE(motion.flying());
    EXPECT_EQ(motion.camera(), kStart);
    EXPECT_EQ(changes.count(), 1);
}

TEST(CameraMotion, ANewMoveStartsFromWhereTheFlyingCameraIs) {
    CameraMotion motion(kStart);
    motion.flyTo(kLevel, 0.5);
    QTest::qWait(300);
    const Camera midway = motion.camera();
    motion.flyTo(kStart, 4.0);
    EXPECT_NEAR(motion.camera().latitude, midway.latitude, 1e-3);
    EXPECT_NEAR(motion.camera().tilt, midway.tilt, 0.5);

    motion.jumpTo(kLevel);
    EXPECT_FALSE(motion.flying());
    EXPECT_EQ(motion.camera(), kLevel);
}

}  // namespace
