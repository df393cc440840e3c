#pragma once

#include <benchmark/benchmark.h>

#include <QLocalSocket>
#include <QProcess>
#include <QStringList>
#include <QThread>
#include <chrono>

// Runs the benchmarks against a simulator of their own, serving on `serverName` with
// `options` besides, once it answers and `settle` has passed. 1 when it never answered.
inline int runAgainstSimulator(int& argc, char** argv, const QString& serverName,
                               QStringList options = {},
                               std::chrono::milliseconds settle = std::chrono::milliseconds{0}) {
    QProcess simulator;
    simulator.start(QStringLiteral(EARTHSIM_PATH),
                    QStringList{QStringLiteral("--server-name"), serverName} + options);
    bool serving = false;
    for (int attempt = 0; attempt < 200 && !serving; ++attempt) {
        QLocalSocket probe;
        probe.connectToServer(serverName);
        serving = probe.waitForConnected(100);
        if (!serving) QThread::msleep(50);
    }
    QThread::msleep(static_cast<unsigned long>(settle.count()));
    if (serving) {
        benchmark::Initialize(&argc, argv);
        benchmark::RunSpecifiedBenchmarks();
        benchmark::Shutdown();
    }
    simulator.kill();
    simulator.waitForFinished();
    return serving ? 0 : 1;
}
