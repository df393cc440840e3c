#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace kartovex {

// What the program's options ask for. An option another part of the program adds is a
// field here, with its default, plus its few lines in CommandLine.cpp.
struct Options {
    // Which Google Earth Step 1 reads: chosen at each press, or one forced.
    enum class GoogleEarth { Automatic, Com, Simulator, Link };
    GoogleEarth googleEarth = GoogleEarth::Automatic;
    // The port of the network link's server on 127.0.0.1.
    quint16 linkPort = 47863;
    // --geotiff or --no-geotiff: whether Step 2 writes the GeoTIFF and the overlay from
    // now on; nothing when neither is given.
    std::optional<bool> geoTiff;
    // --capture-view=DIR: one "Capture view" into DIR without the main window, then exit.
    std::optional<QString> captureViewFolder;
    // --capture-area=DIR with --detail=N and --margin=PX: one "Capture area" into DIR
    // without the main window, then exit.
    std::optional<QString> captureAreaFolder;
    int detail = 2;
    int marginPixels = 96;

    // Whether the options ask for a command run without the main window.
    bool withoutWindow() const {
        return captureViewFolder.has_value() || captureAreaFolder.has_value();
    }
};

// The command line, read before any window (or display) exists: either the options to
// run with, or a text to show and the code to exit with (help, version, a bad option).
struct CommandLine {
    Options options;
    std::optional<int> exitCode;
    QString text;

    static CommandLine parse(const QStringList& arguments);

    // The text on standard output (exit code 0) or standard error; on Windows, where a
    // program without a console has neither, in a message box.
    void show() const;
};

}  // namespace kartovex
