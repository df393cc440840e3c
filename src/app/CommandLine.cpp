#include "CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <algorithm>
#include <cstdio>
#include <iterator>
#include <utility>

#ifdef _WIN32
#include <windows.h>
#endif

#include "model/qt/QtCommandLine.h"

namespace kartovex {
CommandLine CommandLine::parse(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Reads Google Earth's view and writes georeferencing files for a saved picture of it."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    acceptQtOptions(parser);
    const QCommandLineOption googleEarth(
        QStringLiteral("google-earth"),
        QStringLiteral("Which Google Earth Step 1 reads: auto (at each press, %1 when it "
                       "answers, else the network link), com, simulator or link.")
#ifdef _WIN32
            .arg(QStringLiteral("COM")),
#else
            .arg(QStringLiteral("the simulator")),
#endif
        QStringLiteral("auto|com|simulator|link"), QStringLiteral("auto"));
    const QCommandLineOption linkPort(
        QStringLiteral("link-port"),
        QStringLiteral("Port on 127.0.0.1 that serves Google Earth's network link (default %1).")
            .arg(Options().linkPort),
        QStringLiteral("N"), QString::number(Options().linkPort));
    const QCommandLineOption geoTiff(
        QStringLiteral("geotiff"),
        QStringLiteral("Step 2 also writes a GeoTIFF, its MapInfo table and a Google Earth "
                       "overlay (.kmz) beside the table and geoset, where this build can (the "
                       "default). Remembered "
                       "until --no-geotiff."));
    const QCommandLineOption noGeoTiff(
        QStringLiteral("no-geotiff"),
        QStringLiteral("Step 2 writes the table and geoset only. Remembered until --geotiff."));
    const QCommandLineOption captureView(
        QStringLiteral("capture-view"),
        QStringLiteral("Without the main window: read Google Earth's view as Step 1 does, grab it "
                       "from the screen and write it into DIR as a JPG with every file Step 2 "
                       "writes, named after the date and time. Exits with 0 when every file was "
                       "written, else with 1 and the reason."),
        QStringLiteral("DIR"));
    parser.addOption(captureView);
    const QCommandLineOption captureArea(
        QStringLiteral("capture-area"),
        QStringLiteral("Without the main window: read Google Earth's view as Step 1 does, take "
                       "its ground again in views --detail times closer, and write them into DIR "
                       "as one GeoTIFF mosaic, named after the date and time. An unfinished "
                       "capture of DIR is continued. Exits with 0 when the mosaic was written, "
                       "else with 1 and the reason; the views taken stay in DIR."),
        QStringLiteral("DIR"));
    const QCommandLineOption detail(
        QStringLiteral("detail"),
        QStringLiteral("With --capture-area: the mosaic's detail, 1 to 8 times the view's "
                       "(default 2)."),
        QStringLiteral("N"), QStringLiteral("2"));
    const QCommandLineOption margin(
        QStringLiteral("margin"),
        QStringLiteral("With --capture-area: pixels along each view's edges left out of the "
                       "mosaic, where Google Earth draws its controls (default 96)."),
        QStringLiteral("PX"), QStringLiteral("96"));
    parser.addOption(captureArea);
    parser.addOption(detail);
    parser.addOption(margin);
    parser.addOption(googleEarth);
    parser.addOption(linkPort);
    parser.addOption(geoTiff);
    parser.addOption(noGeoTiff);

    CommandLine result;
    const auto stop = [&](int code, const QString& text) {
        result.exitCode = code;
        result.text = text;
        return result;
    };
    // Without an application object the parser cannot name the program itself.
    const QString usage = parser.helpText().replace(
        QStringLiteral("<executable_name>"), QFileInfo(arguments.value(0)).completeBaseName());
    if (!parser.parse(arguments))
        return stop(2, parser.errorText() + QStringLiteral("\n\n") + usage);
    if (!parser.positionalArguments().isEmpty())
        return stop(2, QStringLiteral("Unexpected argument '%1'.\n\n")
                               .arg(parser.positionalArguments().first()) +
                           usage);
    if (parser.isSet(help)) return stop(0, usage);
    if (parser.isSet(version))
        return stop(0, QCoreApplication::applicationName() + QLatin1Char(' ') +
                           QCoreApplication::applicationVersion() + QLatin1Char('\n'));

    using GE = Options::GoogleEarth;
    const QString choice = parser.value(googleEarth);
    const std::pair<const char*, GE> choices[] = {{"auto", GE::Automatic},
                                                  {"com", GE::Com},
                                                  {"simulator", GE::Simulator},
                                                  {"link", GE::Link}};
    const auto chosen = std::find_if(std::begin(choices), std::end(choices), [&](const auto& c) {
        return choice == QLatin1String(c.first);
    });
    if (chosen == std::end(choices))
        return stop(2, QStringLiteral("Unknown Google Earth '%1': use auto, com, simulator or "
                                      "link.\n\n")
                               .arg(choice) +
                           usage);
    result.options.googleEarth = chosen->second;
#ifdef _WIN32
    bool available = chosen->second != GE::Simulator;
#else
    bool available = chosen->second != GE::Com;
#endif
#ifndef KARTOVEX_HAVE_LINK
    if (chosen->second == GE::Link) available = false;
#endif
    if (!available)
        return stop(
            2, QStringLiteral("This build of Kartovex has no '%1' Google Earth.\n").arg(choice));
    bool portOk = false;
    const uint port = parser.value(linkPort).toUInt(&portOk);
    if (!portOk || port == 0 || port > 65535)
        return stop(2, QStringLiteral("The link port must be a whole number from 1 to 65535, not "
                                      "'%1'.\n\n")
                               .arg(parser.value(linkPort)) +
                           usage);
    result.options.linkPort = static_cast<quint16>(port);
    if (parser.isSet(geoTiff) && parser.isSet(noGeoTiff))
        return stop(2, QStringLiteral("Give --geotiff or --no-geotiff, not both.\n"));
    if (parser.isSet(geoTiff) || parser.isSet(noGeoTiff))
        result.options.geoTiff = parser.isSet(geoTiff);
    if (parser.isSet(captureView)) {
        if (parser.value(captureView).isEmpty())
            return stop(2, QStringLiteral("--capture-view needs the folder to write into.\n"));
        result.options.captureViewFolder = parser.value(captureView);
    }
    if (parser.isSet(captureArea)) {
        if (parser.value(captureArea).isEmpty())
            return stop(2, QStringLiteral("--capture-area needs the folder to write into.\n"));
        if (parser.isSet(captureView))
            return stop(2, QStringLiteral("Give --capture-view or --capture-area, not both.\n"));
        result.options.captureAreaFolder = parser.value(captureArea);
    }
    bool detailOk = false, marginOk = false;
    result.options.detail = parser.value(detail).toInt(&detailOk);
    result.options.marginPixels = parser.value(margin).toInt(&marginOk);
    if (!detailOk || result.options.detail < 1 || result.options.detail > 8)
        return stop(2, QStringLiteral("--detail must be a whole number from 1 to 8.\n"));
    if (!marginOk || result.options.marginPixels < 0)
        return stop(2, QStringLiteral("--margin must be a whole number of pixels, 0 or more.\n"));
    return result;
}

void CommandLine::show() const {
#ifdef _WIN32
    if (!GetConsoleWindow()) {
        MessageBoxW(nullptr, reinterpret_cast<const wchar_t*>(text.utf16()),
                    reinterpret_cast<const wchar_t*>(QCoreApplication::applicationName().utf16()),
                    exitCode == 0 ? MB_OK | MB_ICONINFORMATION : MB_OK | MB_ICONERROR);
        return;
    }
#endif
    std::fputs(qPrintable(text), exitCode == 0 ? stdout : stderr);
}

}  // namespace kartovex
