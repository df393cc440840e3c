#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>

#include "AutomationRequests.h"
#include "AutomationServer.h"
#include "CameraMotion.h"
#include "EarthView.h"
#include "EarthWindow.h"
#include "NetworkLinkClient.h"
#include "Version.h"

// Starts over the example area of the georeferencing workflow, looking straight down.
int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("earthsim"));
    QApplication::setApplicationVersion(QStringLiteral(KARTOVEX_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("A stand-in for Google Earth: a 3-D globe that serves Google Earth's "
                       "automation operations on a local socket."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption serverName(
        QStringLiteral("server-name"),
        QStringLiteral("Name of the local socket to serve on (default %1).")
            .arg(QLatin1String(AutomationServer::kDefaultName)),
        QStringLiteral("name"), QLatin1String(AutomationServer::kDefaultName));
    const QCommandLineOption windowed(QStringLiteral("windowed"),
                                      QStringLiteral("Start in a window instead of full screen."));
    const QCommandLineOption open(
        QStringLiteral("open"),
        QStringLiteral("Open a KML file and refresh its network link, as Google Earth does."),
        QStringLiteral("file"));
    parser.addOption(serverName);
    parser.addOption(windowed);
    parser.addOption(open);
    parser.process(app);

    earthsim::Camera start;
    start.latitude = 34.67;
    start.longitude = 112.58;
    start.range = 12000;
    CameraMotion motion(start);
    EarthWindow window(motion);
    AutomationRequests requests(motion, window.view());
    AutomationServer server(requests);
    QString error;
    if (!server.listen(parser.value(serverName), error)) {
        std::fprintf(stderr, "earthsim: %s\n", qPrintable(error));
        return 1;
    }
    NetworkLinkClient link(motion, window.view());
    window.offerOpen(link);

    window.resize(1024, 768);
    if (parser.isSet(windowed)) {
        window.show();
    } else {
        window.toggleFullScreen();
    }
    if (parser.isSet(open) && !link.open(parser.value(open), error)) {
        std::fprintf(stderr, "earthsim: %s\n", qPrintable(error));
        return 1;
    }
    return QApplication::exec();
}
