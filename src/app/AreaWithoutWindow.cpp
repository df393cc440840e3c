#include "AreaWithoutWindow.h"

#include <QDateTime>
#include <cmath>
#include <cstdio>
#include <string>

#include "GoogleEarthChoice.h"
#include "TerminalLines.h"
#include "capture/AreaCommand.h"
#include "capture/ScreenViewGrab.h"
#include "capture/qt/QtCaptureFolder.h"
#include "capture/qt/QtViewGrabber.h"
#include "georef/qt/QtFileSaver.h"
#include "georef/qt/QtJpegWriter.h"
#include "model/MainWindowModel.h"
#include "model/RuntimeError.h"
#include "model/qt/QtLog.h"

#ifdef KARTOVEX_HAVE_GDAL
#include "georef/gdal/GdalMosaic.h"
#endif

namespace kartovex {
namespace {

// Message boxes as terminal lines, for Step 1's own failure message.
class TerminalMessages : public MessageBoxService {
public:
    void information(const std::string& text, const std::string&) override { say(oneLine(text)); }
    bool question(const std::string& text, const std::string&) override {
        say(oneLine(text));
        return false;
    }
};

// The user at a terminal: takes the detail asked for, continues what was left unfinished.
class TerminalArea : public AreaUser {
public:
    std::optional<int> chooseDetail(int detail,
                                    const std::function<AreaEstimate(int)>& figures) override {
        const AreaEstimate e = figures(detail);
        char line[200];
        std::snprintf(line, sizeof line,
                      "detail %d: %zu views at %.3g m/px, a mosaic of %lld x %lld px, about %.0f s",
                      detail, e.views, e.metresPerPixel, static_cast<long long>(e.mosaicWidth),
                      static_cast<long long>(e.mosaicHeight), e.seconds);
        say(line);
        return detail;
    }
    bool continueEarlier(const AreaManifest& manifest, const std::string& folder) override {
        say("continuing the unfinished capture " + folder + " (" +
            std::to_string(manifest.taken.size()) + " of " +
            std::to_string(manifest.plan.views.size()) + " views taken)");
        return true;
    }
    bool progress(const AreaProgress& p) override {
        if (p.view == lastView_ && p.phase == lastPhase_) return true;
        lastView_ = p.view, lastPhase_ = p.phase;
        std::string line = p.phase == AreaPhase::Mosaic
                               ? std::string(phaseText(p.phase))
                               : "view " + std::to_string(p.view) + " of " +
                                     std::to_string(p.views) + ": " + phaseText(p.phase);
        if (p.secondsLeft > 0 && p.phase == AreaPhase::Flying)
            line += ", about " + std::to_string(std::lround(p.secondsLeft)) + " s left";
        say(line);
        return true;
    }

private:
    std::size_t lastView_ = 0;
    AreaPhase lastPhase_ = AreaPhase::Mosaic;
};

}  // namespace

int runCaptureAreaWithoutWindow(const Options& options) {
#ifdef KARTOVEX_HAVE_GDAL
    TerminalMessages messages;
    QtLog log;
    GoogleEarthChoice googleEarth(options, messages);
    QtFileSaver saver;
    QtViewGrabber grabber;
    QtJpegWriter jpeg;
    ScreenViewGrab grab(grabber, jpeg, saver);
    GdalMosaic mosaic;
    TerminalArea user;
    MainWindowModel form;
    std::string folder;
    try {
        folder = QtCaptureFolder(*options.captureAreaFolder).prepare();
    } catch (const RuntimeError& e) {
        say(oneLine(e.description()), stderr);
        return 1;
    }
    const AreaRequest request{folder,
                              "area_" + QDateTime::currentDateTime()
                                            .toString(QStringLiteral("yyyy-MM-dd_HH-mm-ss"))
                                            .toStdString(),
                              options.detail, options.marginPixels};
    const AreaResult result =
        runCaptureArea(request, form, {*googleEarth.chosen, grab, saver, mosaic, log}, user);
    if (result.written) {
        say(result.message);
        return 0;
    }
    say(oneLine(result.message), stderr);
    return 1;
#else
    (void)options;
    say("This build of Kartovex has no GDAL, which writes the mosaic.", stderr);
    return 1;
#endif
}

}  // namespace kartovex
