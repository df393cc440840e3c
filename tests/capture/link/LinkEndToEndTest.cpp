#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QThread>

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

TEST(LinkEndToEnd, FullScreenLevelsTheViewAndGivesYesAndTheSocketsReadOuts) {
    QTemporaryDir folder;
    testing::RecordingMessageBox messages;
    NoLog log;
    LinkGoogleEarth link{messages, folder.path(), 0};
    RunningSimulator simulator({"--open", link.linkFile()});
    ASSERT_TRUE(reported(link));
    // Tilted and turned, so that the press must send a flight through the link and then
    // read the view from the report that follows it.
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
    // The distance across the view, from the corners, is off by far more if the tilted
    // view's report is read.
    const double linkDistance = value(viaLink.caption("Label8").substr(9));
    const double socketDistance = value(viaSocket.caption("Label8").substr(9));
    EXPECT_NEAR(linkDistance / socketDistance, 1.0, 0.001);
}

}  // namespace
}  // namespace kartovex
