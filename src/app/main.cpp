#include <QApplication>
#include <QStandardPaths>

#include "AreaWithoutWindow.h"
#include "CommandLine.h"
#include "CommandWithoutWindow.h"
#include "Program.h"
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
    kartovex::Program program(commandLine.options);
    program.start();
    return application.exec();
}
