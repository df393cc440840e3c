#include <gtest/gtest.h>

#include <QTimer>

#include "capture/qt/RepaintingPause.h"

namespace kartovex {
namespace {

// A capture's waits keep the windows' timers and repaints going: a pause that only slept
// would leave the main window frozen for the length of a whole mosaic.
TEST(RepaintingPause, TimersRunWhileItWaits) {
    bool fired = false;
    QTimer::singleShot(5, [&] { fired = true; });
    pauseRepainting(std::chrono::milliseconds(200));
    EXPECT_TRUE(fired);
}

}  // namespace
}  // namespace kartovex
