// What "Capture view" adds to Step 1 for each view: the grab of the screen, the JPG and the
// ground grid. It needs a real screen with the simulator full screen on it, e.g.
//   Xvfb :N -screen 0 1920x1080x24 &  DISPLAY=:N build/bench/capture_view_benchmark
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QScreen>
#include <QTemporaryDir>
#include <QWidget>
#include <cstdio>
#include <memory>

#include "NoMessages.h"
#include "RunningSimulator.h"
#include "capture/ViewGrabber.h"
#include "capture/qt/QtViewGrabber.h"
#include "capture/sim/SimulatorGoogleEarth.h"
#include "georef/qt/QtJpegWriter.h"
#include "model/GroundGrid.h"

namespace {

QString serverName() {
    return QStringLiteral("kartovex-capture-bench-%1").arg(QCoreApplication::applicationPid());
}

kartovex::ScreenRect wholeScreen() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize size = screen->geometry().size() * screen->devicePixelRatio();
    return {0, 0, size.width(), size.height()};
}

void readGrid(kartovex::ApplicationGE& app) {
    constexpr int n = kartovex::GroundGrid::kPointsPerSide;
    for (int row = 0; row < n; ++row)
        for (int column = 0; column < n; ++column)
            benchmark::DoNotOptimize(app.GetPointOnTerrainFromScreenCoords(
                -1.0 + 2.0 * column / (n - 1), 1.0 - 2.0 * row / (n - 1)));
}

void BM_GrabJpgAndGridPerView(benchmark::State& state) {
    NoMessages messages;
    kartovex::SimulatorGoogleEarth earth(messages, serverName());
    const std::unique_ptr<kartovex::ApplicationGE> app = earth.connect();
    kartovex::QtViewGrabber grabber;
    kartovex::QtJpegWriter jpeg;
    QTemporaryDir folder;
    int count = 0;
    for (auto _ : state) {
        readGrid(*app);
        const kartovex::Picture picture = kartovex::grabView(grabber, wholeScreen());
        jpeg.write(folder.filePath(QStringLiteral("view_%1.jpg").arg(++count)).toStdString(),
                   picture, 95);
    }
    state.counters["pixels"] = static_cast<double>(wholeScreen().width * wholeScreen().height);
}
BENCHMARK(BM_GrabJpgAndGridPerView)->Unit(benchmark::kMillisecond);

void BM_GrabOnly(benchmark::State& state) {
    kartovex::QtViewGrabber grabber;
    for (auto _ : state) benchmark::DoNotOptimize(kartovex::grabView(grabber, wholeScreen()));
}
BENCHMARK(BM_GrabOnly)->Unit(benchmark::kMillisecond);

// With a window of ours on the screen: hidden for the grab, then the screen watched until
// it stops changing.
void BM_GrabWithOurWindowHidden(benchmark::State& state) {
    kartovex::QtViewGrabber grabber;
    QWidget ours;
    ours.setGeometry(40, 40, 300, 360);
    ours.show();
    for (auto _ : state) benchmark::DoNotOptimize(kartovex::grabView(grabber, wholeScreen()));
}
BENCHMARK(BM_GrabWithOurWindowHidden)->Unit(benchmark::kMillisecond);

void BM_JpgOnly(benchmark::State& state) {
    kartovex::QtViewGrabber grabber;
    const kartovex::Picture picture = kartovex::grabView(grabber, wholeScreen());
    kartovex::QtJpegWriter jpeg;
    QTemporaryDir folder;
    int count = 0;
    for (auto _ : state)
        jpeg.write(folder.filePath(QStringLiteral("view_%1.jpg").arg(++count)).toStdString(),
                   picture, 95);
}
BENCHMARK(BM_JpgOnly)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (QGuiApplication::platformName() != QLatin1String("xcb") &&
        QGuiApplication::platformName() != QLatin1String("windows")) {
        std::fprintf(stderr,
                     "capture_view_benchmark needs a real screen (an X display), not '%s'\n",
                     qPrintable(QGuiApplication::platformName()));
        return 1;
    }
    // Until the simulator has drawn its first frame the screen is flat.
    return runAgainstSimulator(argc, argv, serverName(), {QStringLiteral("--instant-imagery")},
                               std::chrono::seconds(1));
}
