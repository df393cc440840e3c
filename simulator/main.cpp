#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>
#include <cstdlib>

#include "AutomationRequests.h"
#include "AutomationServer.h"
#include "CameraMotion.h"
#include "EarthView.h"
#include "EarthWindow.h"
#include "NetworkLinkClient.h"
#include "Version.h"
#include "model/qt/QtCommandLine.h"

namespace {

// The number an option gives, or `fallback` when it is not given. Anything but a number
// from `lowest` to `highest` ends the program with a message.
double numberOption(const QCommandLineParser& parser, const QCommandLineOption& option,
                    double fallback, double lowest, double highest) {
    if (!parser.isSet(option)) return fallback;
    bool ok = false;
    const double value = parser.value(option).toDouble(&ok);
    if (ok && value >= lowest && value <= highest) return value;
    std::fprintf(stderr, "earthsim: --%s takes a number from %g to %g, not '%s'.\n",
                 qPrintable(option.names().constFirst()), lowest, highest,
                 qPrintable(parser.value(option)));
    std::exit(2);
}

}  // namespace

// Starts looking straight down, by default over the example area of the georeferencing
// workflow.
int main(int argc, char* argv[]) {
    QCoreApplication::setApplicationName(QStringLiteral("earthsim"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KARTOVEX_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("A stand-in for Google Earth: a 3-D globe that serves Google Earth's "
                       "automation operations on a local socket."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
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
    const QCommandLineOption latitude(QStringLiteral("latitude"),
                                      QStringLiteral("Focus latitude to start over, degrees "
                                                     "north (default 34.67)."),
                                      QStringLiteral("degrees"));
    const QCommandLineOption longitude(QStringLiteral("longitude"),
                                       QStringLiteral("Focus longitude to start over, degrees "
                                                      "east (default 112.58)."),
                                       QStringLiteral("degrees"));
    const QCommandLineOption range(
        QStringLiteral("range"),
        QStringLiteral("Metres from the focus point to the eye (default 12000)."),
        QStringLiteral("metres"));
    const QCommandLineOption instant(
        QStringLiteral("instant-imagery"),
        QStringLiteral("Show every view at full detail at once, instead of streaming its "
                       "imagery in about a second as Google Earth does."));
    const QCommandLineOption controls(
        QStringLiteral("controls"),
        QStringLiteral("Draw on-screen controls (a compass, a status line) over the view, "
                       "as Google Earth does; they never appear in a saved image."));
    parser.addOptions({serverName, windowed, open, latitude, longitude, range, instant, controls});

    // Help, version and a bad option answer before the application object, which needs a
    // display.
    kartovex::acceptQtOptions(parser);
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    if (!parser.parse(arguments)) {
        std::fprintf(stderr, "earthsim: %s\nSee earthsim --help.\n",
                     qPrintable(parser.errorText()));
        return 2;
    }
    if (parser.isSet(help)) {
        std::fputs(qPrintable(parser.helpText().replace(QStringLiteral("<executable_name>"),
                                                        QStringLiteral("earthsim"))),
                   stdout);
        return 0;
    }
    if (parser.isSet(version)) {
        std::printf("earthsim %s\n", KARTOVEX_VERSION);
        return 0;
    }

    QApplication app(argc, argv);

    earthsim::Camera start;
    start.latitude = numberOption(parser, latitude, 34.67, -90, 90);
    start.longitude = numberOption(parser, longitude, 112.58, -180, 180);
    start.range = numberOption(parser, range, 12000, earthsim::kMinRange, earthsim::kMaxRange);
    CameraMotion motion(start);
    EarthWindow window(motion);
    window.view().setStreamedImagery(!parser.isSet(instant));
    window.view().setShowControls(parser.isSet(controls));
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
