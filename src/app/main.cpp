#include <QApplication>
#include <QStandardPaths>
#include <QTextStream>

#include "AreaWithoutWindow.h"
#include "CommandLine.h"
#include "CommandWithoutWindow.h"
#include "Program.h"
#include "SingleInstance.h"
#include "Version.h"
#include "model/qt/QtLog.h"

int main(int argc, char* argv[]) {
    QCoreApplication::setApplicationName(QStringLiteral("Kartovex"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KARTOVEX_VERSION));
    // Read before the application object, which needs a display: help, version and a bad
    // option answer without one.
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    const auto commandLine = kartovex::CommandLine::parse(arguments);
    if (commandLine.exitCode) {
        commandLine.show();
        return *commandLine.exitCode;
    }

    QApplication application(argc, argv);
#ifdef _WIN32
    // No console shows the log there.
    kartovex::alsoLogTo(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) +
                        QStringLiteral("/kartovex.log"));
#endif
    if (commandLine.options.captureAreaFolder)
        return kartovex::runCaptureAreaWithoutWindow(commandLine.options);
    if (commandLine.options.withoutWindow()) return kartovex::runWithoutWindow(commandLine.options);
    // The window is one per user; a command without it may run beside it.
    kartovex::SingleInstance instance;
    if (!instance.claim()) {
        QTextStream(stderr) << QStringLiteral(
            "Kartovex is already running: its window was brought to the front.\n");
        return 0;
    }
    kartovex::Program program(commandLine.options);
    program.start();
    QObject::connect(&instance, &kartovex::SingleInstance::frontRequested, [&program] {
        if (QWidget* window = program.mainWindow()) {
            window->showNormal();
            window->raise();
            window->activateWindow();
        }
    });
    return application.exec();
}
