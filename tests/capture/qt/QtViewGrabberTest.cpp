#include <gtest/gtest.h>

#include <QScreen>
#include <QTest>
#include <vector>

#include "CameraMotion.h"
#include "EarthView.h"
#include "EarthWindow.h"
#include "ErrorOf.h"
#include "capture/qt/QtViewGrabber.h"

namespace kartovex {
namespace {

// The simulator's full-screen view, grabbed from the screen, gives the simulator's own
// picture of the view in physical pixels, also at 150 %.
TEST(QtViewGrabber, GrabsTheViewsPhysicalPixelsAsTheSimulatorDrawsThem) {
    CameraMotion motion{earthsim::Camera{60, 25, 0, 30000, 0, 0}};
    EarthWindow earth(motion);
    earth.toggleFullScreen();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&earth));
    const QRect view = earth.view().physicalScreenRect();
    QtViewGrabber grabber(QtViewGrabber::primaryScreenShot,
                          [&](const QWidget& w) { return &w != &earth; });
    const Picture grabbed = grabber.grab({view.left(), view.top(), view.width(), view.height()});
    // Not one pixel may differ: no shift, no scaling.
    EXPECT_TRUE(QImage(reinterpret_cast<const uchar*>(grabbed.pixels.data()), grabbed.width,
                       grabbed.height, grabbed.width * 4,
                       QImage::Format_RGB32) == earth.view().picture());
}

// Our windows are hidden while the screen is read, and the shot is taken once the screen
// has stopped changing after they went.
TEST(QtViewGrabber, HidesOurWindowsAndWaitsForTheScreenToSettle) {
    QWidget ours;
    ours.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&ours));
    std::vector<QImage> shots;
    for (QRgb colour : {0xff0000u, 0x00ff00u, 0x0000ffu, 0x0000ffu}) {
        QImage shot(8, 6, QImage::Format_RGB32);
        shot.fill(colour);
        shots.push_back(shot);
    }
    std::size_t taken = 0;
    bool shownDuringShot = false;
    QtViewGrabber grabber([&] {
        shownDuringShot |= ours.isVisible();
        return shots[std::min(taken++, shots.size() - 1)];
    });
    const Picture picture = grabber.grab({2, 1, 4, 3});
    EXPECT_FALSE(shownDuringShot);
    EXPECT_TRUE(ours.isVisible());
    EXPECT_EQ(picture.pixels, std::vector<std::uint32_t>(12, 0xff0000ffu));

    const RuntimeError e = testing::errorOf([&] { grabber.grab({6, 0, 4, 3}); });
    EXPECT_NE(e.description().find("beyond the screen"), std::string::npos) << e.description();
}

}  // namespace
}  // namespace kartovex
