#include "CommandWithoutWindow.h"

#include <QCoreApplication>
#include <QSettings>
#include <cstdio>
#include <memory>
#include <string>

#include "GeoTiffSwitch.h"
#include "GoogleEarthChoice.h"
#include "Program.h"
#include "TerminalLines.h"
#include "capture/CaptureView.h"
#include "capture/qt/QtCaptureFolder.h"
#include "capture/qt/QtViewGrabber.h"
#include "georef/qt/QtFileSaver.h"
#include "georef/qt/QtJpegWriter.h"
#include "model/MainWindowModel.h"
#include "model/qt/QtLog.h"

#ifdef KARTOVEX_HAVE_GDAL
#include "georef/gdal/GdalGeoTiff.h"
#endif

#ifdef _WIN32
#include "georef/win/WinCodePage936.h"
#else
#include "georef/posix/IconvCodePage936.h"
#endif

namespace kartovex {
namespace {

// Message boxes as terminal lines: each text on one line, failures kept for the exit.
class TerminalMessages : public MessageBoxService {
public:
    void information(const std::string& text, const std::string&) override { last_ = text; }
    bool question(const std::string& text, const std::string&) override {
        last_ = text;
        return false;
    }

    const std::string& last() const { return last_; }

private:
    std::string last_;
};

}  // namespace

int runWithoutWindow(const Options& options) {
    TerminalMessages messages;
    QtLog log;
    GoogleEarthChoice googleEarth(options, messages);
#ifdef _WIN32
    WinCodePage936 codePage;
#else
    IconvCodePage936 codePage;
#endif
    QSettings settings(QSettings::UserScope, QCoreApplication::applicationName(),
                       QCoreApplication::applicationName());
    const bool writeGeoTiff = geoTiffSwitch(options.geoTiff, settings);
    std::unique_ptr<GeoTiffWriter> geoTiff;
#ifdef KARTOVEX_HAVE_GDAL
    geoTiff = std::make_unique<GdalGeoTiff>();
#endif
    QtFileSaver saver;
    FileOutputRecord record(outputRecordPath(), saver);
    QtViewGrabber grabber;
    QtJpegWriter jpeg;
    QtCaptureFolder folder(*options.captureViewFolder);
    MainWindowModel form;
    // The first press's warning about Google Earth closing is for the window.
    form.step1Clicks = 1;
    const bool ok = captureView(form,
                                {*googleEarth.chosen,
                                 log,
                                 grabber,
                                 jpeg,
                                 folder,
                                 {saver, codePage, record, geoTiff.get(), writeGeoTiff},
                                 messages,
                                 [](const std::string& phase) { say(phase + "..."); }},
                                captureTimeStamp());
    if (ok) {
        std::fprintf(stdout, "%s\n", messages.last().c_str());
        return 0;
    }
    say(oneLine(messages.last()), stderr);
    return 1;
}

}  // namespace kartovex
