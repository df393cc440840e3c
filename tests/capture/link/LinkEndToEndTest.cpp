#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QThread>
#include <cmath>
#include <vector>

#include "RecordingMessageBox.h"
#include "RunningSimulator.h"
#include "capture/Step1Command.h"
#include "capture/link/qt/LinkGoogleEarth.h"
#include "capture/sim/SimulatorGoogleEarth.h"
#include "model/Log.h"
#include "model/NumberText.h"
#include "model/RuntimeError.h"

namespace kartovex {
namespace {

using testing::RunningSimulator;

// Waits until Google Earth has reported through the link.
bool reported(LinkGoogleEarth& link) {
    for (int attempt = 0; attempt < 200; ++attempt) {
        try {
            link.connect();
            return true;
        } catch (const RuntimeError&) {
            QThread::msleep(50);
        }
    }
    return false;
}

std::vector<double> cornersOf(const MainWindowModel& form) {
    const CornerTexts& c = form.corners;
    std::vector<double> v;
    for (const std::string* t :
         {&c.strZuoshangLong, &c.strZuoshangLat, &c.strYoushangLong, &c.strYoushangLat,
          &c.strYouxiaLong, &c.strYouxiaLat, &c.strZuoxiaLong, &c.strZuoxiaLat, &c.strCenterLong,
          &c.strCenterLat})
        v.push_back(value(*t));
    return v;
}

class LinkEndToEnd : public ::testing::Test {
protected:
    QTemporaryDir folder;
    testing::RecordingMessageBox messages;
    NoLog log;
    LinkGoogleEarth link{messages, folder.path(), 0};
};

TEST_F(LinkEndToEnd, FullScreenLevelsTheViewAndGivesYesAndTheSocketsReadOuts) {
    RunningSimulator simulator({"--open", link.linkFile()});
    ASSERT_TRUE(reported(link));
    // Tilted and turned, so that the press must send a flight through the link.
    SimulatorGoogleEarth socket(messages, simulator.name);
    socket.connect()->SetCameraParams(34.67, 112.58, 0, 1, 12000, 30, 20, 5);
    QThread::sleep(1);
    MainWindowModel viaLink, viaSocket;
    runStep1(viaLink, link, log);
    ASSERT_EQ(messages.shown.size(), 1u);  // the first-use warning only
    EXPECT_EQ(viaLink.caption("Label7"), "YES");
    EXPECT_EQ(socket.connect()->GetCamera(false).tilt, 0);

    runStep1(viaSocket, socket, log);
    ASSERT_EQ(viaSocket.caption("Label7"), "YES");
    EXPECT_EQ(viaLink.caption("Label5"), viaSocket.caption("Label5"));
    // Half a pixel on the ground of the simulator's start view: 12 km across 60 degrees.
    const double width = value(viaLink.caption("Label5"));
    const double halfPixelDegrees = 0.5 * 2 * 12000 * std::tan(M_PI / 6) / width / 111000.0;
    const std::vector<double> a = cornersOf(viaLink), b = cornersOf(viaSocket);
    for (std::size_t i = 0; i < a.size(); ++i) {
        const double scale = i % 2 == 0 ? std::cos(34.67 * M_PI / 180) : 1.0;
        EXPECT_LE(std::fabs(a[i] - b[i]) * scale, halfPixelDegrees) << i;
    }
    const double linkDistance = value(viaLink.caption("Label8").substr(9));
    const double socketDistance = value(viaSocket.caption("Label8").substr(9));
    EXPECT_NEAR(linkDistance / socketDistance, 1.0, 0.001);
}

TEST_F(LinkEndToEnd, WindowedGivesNo) {
    RunningSimulator simulator({"--open", link.linkFile(), "--windowed"});
    ASSERT_TRUE(reported(link));
    MainWindowModel form;
    runStep1(form, link, log);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(form.caption("Label7"), "NO");
}

TEST_F(LinkEndToEnd, AClosedSimulatorFailsThePressAfterTheStalenessBound) {
    RunningSimulator simulator({"--open", link.linkFile()});
    ASSERT_TRUE(reported(link));
    simulator.stop();
    QThread::sleep(LinkApplicationGE::kStaleAfter.count() + 1);
    MainWindowModel form;
    runStep1(form, link, log);
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_NE(messages.shown[1].text.find("Google Earth was closed"), std::string::npos);
    EXPECT_NE(messages.shown[1].text.find(link.linkFile().toStdString()), std::string::npos);
    EXPECT_EQ(form.caption("Label7"), "NO");
}

}  // namespace
}  // namespace kartovex
