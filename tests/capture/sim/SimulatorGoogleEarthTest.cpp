#include <gtest/gtest.h>

#include <QLocalServer>
#include <QLocalSocket>
#include <QTest>
#include <QThread>
#include <atomic>
#include <cstdint>
#include <functional>
#include <semaphore>
#include <vector>

#include "ErrorOf.h"
#include "RecordingMessageBox.h"
#include "RunningSimulator.h"
#include "capture/sim/SimulatorGoogleEarth.h"

namespace kartovex {
namespace {

using namespace std::chrono_literals;
using testing::errorOf;
using testing::RunningSimulator;
using testing::uniqueServerName;

// For calls that are meant to time out. A simulator that is meant to answer gets all the
// time a loaded machine may need: under the sanitizers its first frames take seconds.
constexpr std::chrono::milliseconds kShortTimeout = 800ms;
constexpr std::chrono::milliseconds kPatientTimeout = 30s;

class SimulatorGoogleEarthTest : public ::testing::Test {
protected:
    testing::RecordingMessageBox messages;
};

TEST_F(SimulatorGoogleEarthTest, WithoutARunningSimulatorConnectingFailsWith429) {
    const QString name = uniqueServerName();
    SimulatorGoogleEarth earth(messages, name, kShortTimeout);
    const RuntimeError e = errorOf([&] { earth.connect(); });
    EXPECT_EQ(e.number(), error::CannotCreateObject);
    EXPECT_NE(e.description().find("nothing answers on '" + name.toStdString() + "'"),
              std::string::npos)
        << e.description();
}

TEST_F(SimulatorGoogleEarthTest, FullScreenOverTheNamedPlaceTheRenderWindowIsTheScreen) {
    RunningSimulator simulator({"--latitude", "65", "--longitude", "-25.5", "--range", "5000"});
    ASSERT_TRUE(simulator.ready);
    SimulatorGoogleEarth earth(messages, simulator.name, kPatientTimeout);
    const ScreenMetrics screen = earth.screenMetrics();
    const auto app = earth.connect();
    WindowRect rect;
    ASSERT_TRUE(earth.getWindowRect(app->GetRenderHwnd(), rect));
    const std::int32_t width = screen.widthTwips / 15, height = screen.heightTwips / 15;
    EXPECT_EQ(std::vector({rect.left, rect.top, rect.right, rect.bottom}),
              std::vector<std::int32_t>({0, 0, width, height}));
    const CameraInfo camera = app->GetCamera(false);
    EXPECT_EQ(std::vector({screen.twipsPerPixelX, screen.twipsPerPixelY, camera.focusPointLatitude,
                           camera.focusPointLongitude, camera.range}),
              std::vector({15.0, 15.0, 65.0, -25.5, 5000.0}));
}

TEST_F(SimulatorGoogleEarthTest, ASimulatorKilledMidPressFailsTheNextCall) {
    RunningSimulator simulator;
    ASSERT_TRUE(simulator.ready);
    SimulatorGoogleEarth earth(messages, simulator.name, 5s);
    auto app = earth.connect();
    app->GetCamera(false);
    simulator.process.kill();
    ASSERT_TRUE(simulator.process.waitForFinished(10000));
    const RuntimeError e = errorOf([&] { app->GetRenderHwnd(); });
    EXPECT_EQ(e.number(), error::AutomationError);
    EXPECT_NE(e.description().find("closed the connection"), std::string::npos) << e.description();
}

TEST_F(SimulatorGoogleEarthTest, ClientsThatHoldTheirConnectionsCannotStopTheSimulatorServing) {
    RunningSimulator simulator({}, 64);
    ASSERT_TRUE(simulator.ready);
    SimulatorGoogleEarth earth(messages, simulator.name, kPatientTimeout);
    std::vector<std::unique_ptr<ApplicationGE>> held;
    for (int i = 0; i < 100; ++i) {
        try {
            held.push_back(earth.connect());
            held.back()->GetRenderHwnd();  // served, or refused
        } catch (const RuntimeError&) {
        }
    }
    // Released, they must close, or the simulator stays out of files. It may see the new
    // client before the closed ones go.
    held.clear();
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            try {
                earth.connect()->GetCamera(false);
                return true;
            } catch (const RuntimeError&) {
                return false;
            }
        },
        15000));
}

// A stand-in simulator on a thread of its own (Qt's sockets need a QThread, even used
// blocking). It answers the first connection with `answer`, byte for byte, before any
// request, then holds the connection until the client closes it.
class FakeSimulator {
public:
    explicit FakeSimulator(QByteArray answer)
        : thread_(QThread::create([this, answer] {
              QLocalServer::removeServer(name);
              QLocalServer server;
              server.listen(name);
              listening_.release();
              while (!stop_ && !server.waitForNewConnection(50)) {
              }
              QLocalSocket* socket = server.nextPendingConnection();
              if (socket == nullptr) return;
              socket->write(answer);
              while (!stop_ && socket->state() != QLocalSocket::UnconnectedState) {
                  socket->waitForReadyRead(50);
                  socket->readAll();
              }
          })) {
        thread_->start();
        listening_.acquire();
    }
    ~FakeSimulator() {
        stop_ = true;
        thread_->wait();
    }

    const QString name = uniqueServerName();

private:
    std::atomic<bool> stop_{false};
    std::binary_semaphore listening_{0};
    std::unique_ptr<QThread> thread_;
};

TEST_F(SimulatorGoogleEarthTest, MalformedOrMissingAnswersFailTheCall) {
    using Call = std::function<void(ApplicationGE&)>;
    const Call getCamera = [](ApplicationGE& a) { a.GetCamera(false); };
    const Call extents = [](ApplicationGE& a) { a.GetViewExtents(); };
    const Call hwnd = [](ApplicationGE& a) { a.GetRenderHwnd(); };
    const Call point = [](ApplicationGE& a) { a.GetPointOnTerrainFromScreenCoords(0, 0); };
    const struct {
        QByteArray answer;  // empty: none
        Call call;
        long number;
        const char* description;
    } cases[] = {
        {"[1,2]\n", getCamera, 440, "unreadable answer to GetCamera"},
        {"{\"focusPointLatitude\":1}\n", getCamera, 440, "lacks the number 'focusPointLongitude'"},
        {"{\"north\":\"40\",\"south\":39}\n", extents, 440, "lacks the number 'north'"},
        {"{\"hwnd\":12.5}\n", hwnd, 440, "not a 32-bit handle"},
        {"{\"hwnd\":1e12}\n", hwnd, 440, "not a 32-bit handle"},
        {"{\"error\":\"bad\"}\n", hwnd, 440, "unreadable error answer"},
        {"{\"error\":5,\"description\":\"x must be a number.\"}\n", point, 5,
         "x must be a number."},
        {QByteArray(70 * 1024, 'x'), extents, 440, "unreadable answer"},
        {"", [](ApplicationGE& a) { a.SetCameraParams(1, 2, 0, 1, 1000, 0, 0, 4); }, 440,
         "did not answer SetCameraParams within 0.8 s"},
    };
    for (const auto& c : cases) {
        FakeSimulator fake(c.answer);
        SimulatorGoogleEarth earth(messages, fake.name,
                                   c.answer.isEmpty() ? kShortTimeout : kPatientTimeout);
        auto app = earth.connect();
        const RuntimeError e = errorOf([&] { c.call(*app); });
        EXPECT_EQ(e.number(), c.number) << c.answer.left(60).toStdString();
        EXPECT_NE(e.description().find(c.description), std::string::npos) << e.description();
    }
}

TEST_F(SimulatorGoogleEarthTest, AMalformedWindowRectAnswerIsAFailedGetWindowRect) {
    for (const char* answer : {"{\"left\":0,\"top\":0,\"right\":\"800\",\"bottom\":600}\n",
                               "{\"left\":0,\"top\":0.5,\"right\":800,\"bottom\":600}\n"}) {
        FakeSimulator fake(answer);
        SimulatorGoogleEarth earth(messages, fake.name, kPatientTimeout);
        WindowRect rect{1, 2, 3, 4};
        EXPECT_FALSE(earth.getWindowRect(7, rect)) << answer;
        EXPECT_EQ(rect.top, 2);
    }
}

}  // namespace
}  // namespace kartovex
