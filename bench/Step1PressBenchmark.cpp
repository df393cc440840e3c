#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <memory>

#include "NoMessages.h"
#include "RunningSimulator.h"
#include "capture/Step1Command.h"
#include "capture/sim/SimulatorGoogleEarth.h"
#include "model/GroundGrid.h"
#include "model/MainWindowModel.h"

namespace {

QString serverName() {
    return QStringLiteral("kartovex-ge-bench-%1").arg(QCoreApplication::applicationPid());
}

// One Step 1 press against the running simulator, the camera already level: every call
// of a press over the local socket, without the camera's flight.
void BM_Step1PressAgainstSimulator(benchmark::State& state) {
    NoMessages messages;
    kartovex::SimulatorGoogleEarth earth(messages, serverName());
    kartovex::MainWindowModel form;
    kartovex::NoLog log;
    kartovex::runStep1(form, earth, log);  // levels the camera and waits for it
    for (auto _ : state) kartovex::runStep1(form, earth, log);
}
BENCHMARK(BM_Step1PressAgainstSimulator)->Unit(benchmark::kMillisecond);

// What the ground grid adds to a press: its 25 reads of a ground point over the socket.
void BM_GroundGridReadsAgainstSimulator(benchmark::State& state) {
    NoMessages messages;
    kartovex::SimulatorGoogleEarth earth(messages, serverName());
    const std::unique_ptr<kartovex::ApplicationGE> app = earth.connect();
    constexpr int n = kartovex::GroundGrid::kPointsPerSide;
    for (auto _ : state)
        for (int row = 0; row < n; ++row)
            for (int column = 0; column < n; ++column)
                benchmark::DoNotOptimize(app->GetPointOnTerrainFromScreenCoords(
                    -1.0 + 2.0 * column / (n - 1), 1.0 - 2.0 * row / (n - 1)));
}
BENCHMARK(BM_GroundGridReadsAgainstSimulator)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    return runAgainstSimulator(argc, argv, serverName());
}
