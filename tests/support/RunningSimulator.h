#pragma once

#include <sys/resource.h>

#include <QCoreApplication>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QThread>

namespace kartovex::testing {

// A socket name no other test or program uses.
inline QString uniqueServerName() {
    static int count = 0;
    return QStringLiteral("kartovex-ge-test-%1-%2")
        .arg(QCoreApplication::applicationPid())
        .arg(++count);
}

// The real simulator (EARTHSIM_PATH), a separate process serving under a name of its own;
// headless, as the test runner sets the offscreen platform and the child inherits it.
class RunningSimulator {
public:
    // `openFiles`: the simulator's limit of file descriptors, if not the default.
    explicit RunningSimulator(QStringList arguments = {}, rlim_t openFiles = 0) {
        arguments << QStringLiteral("--server-name") << name << QStringLiteral("--instant-imagery");
        if (openFiles > 0)
            process.setChildProcessModifier([openFiles] {
                const rlimit limit{openFiles, openFiles};
                ::setrlimit(RLIMIT_NOFILE, &limit);
            });
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(QStringLiteral(EARTHSIM_PATH), arguments);
        for (int attempt = 0; attempt < 300 && process.waitForStarted(10000) && !ready; ++attempt) {
            QLocalSocket probe;
            probe.connectToServer(name);
            ready = probe.waitForConnected(100);
            if (!ready) QThread::msleep(50);
        }
    }
    // A killed simulator leaves its socket file behind, to be found by a later process
    // with the same number.
    ~RunningSimulator() {
        process.kill();
        process.waitForFinished(10000);
        QLocalServer::removeServer(name);
    }
    RunningSimulator(const RunningSimulator&) = delete;
    RunningSimulator& operator=(const RunningSimulator&) = delete;

    QString name = uniqueServerName();
    QProcess process;
    bool ready = false;  // serving on its socket
};

}  // namespace kartovex::testing
