#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include "NoMessages.h"
#include "capture/Step1Command.h"
#include "capture/link/LinkApplicationGE.h"
#include "capture/link/qt/LinkGoogleEarth.h"
#include "capture/sim/SimulatorGoogleEarth.h"
#include "model/Log.h"
#include "model/MainWindowModel.h"

namespace {

using namespace kartovex;

const char* const kReport =
    "key=0123456789abcdef0123456789abcdef"
    "&BBOX=10.20045469843596,43.66302191930933,10.66672168693798,43.8667284090175"
    "&LOOKAT=10.43397248408143,43.76510665598479,29287.22,0,-0.556"
    "&TERRAIN=10.43397243010223,43.76510664670415,13.83&CAMERA=10.43397248408143,"
    "43.76510665598479,29301.05&FOV=60,38.141&PIXELS=1306,782&TERRAIN_ON=1";

// What a press computes from the latest report: the extents, the five points, the view's
// size for the full-screen check.
void BM_CornerMathsOfAPress(benchmark::State& state) {
    ViewExchange exchange("0123456789abcdef0123456789abcdef");
    exchange.receive(kReport, ViewExchange::Clock::now());
    LinkApplicationGE app(exchange, {"link.kml", ""}, [] { return ViewExchange::Clock::now(); });
    const double points[5][2] = {{-1, 1}, {1, 1}, {1, -1}, {-1, -1}, {0, 0}};
    for (auto _ : state) {
        const ViewReport view = *LinkApplicationGE::currentReport(exchange, {"link.kml", ""},
                                                                  ViewExchange::Clock::now())
                                     .view;
        benchmark::DoNotOptimize(view.width == 1306 && view.height == 782);
        benchmark::DoNotOptimize(app.GetViewExtents());
        for (const auto& p : points)
            benchmark::DoNotOptimize(app.GetPointOnTerrainFromScreenCoords(p[0], p[1]));
    }
}
BENCHMARK(BM_CornerMathsOfAPress)->Unit(benchmark::kMicrosecond);

// A press through the link against earthsim holding the link file open, from the click to
// the read-outs, each time from a tilted and turned view that the press must level.
void BM_PressThroughTheLink(benchmark::State& state) {
    NoMessages messages;
    NoLog log;
    QTemporaryDir folder;
    LinkGoogleEarth link(messages, folder.path(), 0);
    const QString socketName =
        QStringLiteral("kartovex-link-bench-%1").arg(QCoreApplication::applicationPid());
    QProcess simulator;
    simulator.start(QStringLiteral(EARTHSIM_PATH), {QStringLiteral("--server-name"), socketName,
                                                    QStringLiteral("--open"), link.linkFile()});
    SimulatorGoogleEarth socket(messages, socketName);
    MainWindowModel form;
    form.step1Clicks = 2;
    for (auto _ : state) {
        state.PauseTiming();
        for (int attempt = 0; attempt < 100; ++attempt) {
            try {
                socket.connect()->SetCameraParams(34.67, 112.58, 0, 1, 12000, 30, 20, 5);
                break;
            } catch (const std::exception&) {
                QThread::msleep(100);
            }
        }
        QThread::msleep(1500);  // the tilted view reported
        state.ResumeTiming();
        runStep1(form, link, log);
        if (form.caption("Label7") != "YES") state.SkipWithError("the press did not give YES");
    }
    simulator.kill();
    simulator.waitForFinished();
}
BENCHMARK(BM_PressThroughTheLink)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
