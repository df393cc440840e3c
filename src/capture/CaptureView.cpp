#include "CaptureView.h"

#include <chrono>
#include <cmath>
#include <memory>
#include <string>
#include <utility>

#include "capture/ImageryWait.h"
#include "capture/Step1Command.h"
#include "model/ControlNames.h"
#include "model/NumberText.h"
#include "model/RuntimeError.h"

namespace kartovex {
namespace {

constexpr const char* kTitle = "Kartovex";
constexpr int kJpegQuality = 95;
constexpr int kMostSuffixes = 999;
constexpr std::chrono::milliseconds kSteadyPoll{500};
constexpr std::chrono::seconds kSteadyBound{15};

// A name no file in the folder starts with, so no output of this capture can replace one.
std::string freeStem(CaptureFolder& folder, const std::string& path, const std::string& stamp) {
    const std::string base = "view_" + stamp;
    std::string stem = base;
    for (int n = 2; folder.holdsNameStartingWith(path, stem); ++n) {
        if (n > kMostSuffixes)
            throw RuntimeError(error::PathFileAccess,
                               "Every name from " + base + " to " + stem + " is taken");
        stem = base + "_" + std::to_string(n);
    }
    return stem;
}

bool sameView(const CameraInfo& a, const CameraInfo& b, const SettleTolerance& t) {
    return std::fabs(a.focusPointLatitude - b.focusPointLatitude) <= t.focusDegrees &&
           std::fabs(a.focusPointLongitude - b.focusPointLongitude) <= t.focusDegrees &&
           std::fabs(a.range - b.range) <=
               t.rangeMetres + t.rangeRelative * std::fmax(std::fabs(a.range), 1.0) &&
           std::fabs(a.tilt - b.tilt) <= t.angleDegrees &&
           std::fabs(a.azimuth - b.azimuth) <= t.angleDegrees;
}

// The picture of the view Step 1 just read: after its imagery has loaded, and only if the
// camera stayed where Step 1 left it, so the grid still describes the picture.
Picture grabLoadedView(const CaptureViewServices& s, const GroundGrid& grid,
                       const std::function<void(const std::string&)>& tell) {
    std::unique_ptr<ApplicationGE> app = s.earth.connect();
    if (!app)
        throw RuntimeError(error::CannotCreateObject, "Google Earth gave no application object");
    const CameraInfo before = app->GetCamera(false);
    tell("Waiting for Google Earth's imagery");
    const bool loaded = waitForImagery(*app, s.earth);
    tell("Grabbing the view");
    const ScreenRect rect{grid.viewLeft, grid.viewTop, grid.viewWidth, grid.viewHeight};
    Picture picture = grabView(s.grabber, rect);
    // Where Google Earth cannot say, its imagery has loaded once the screen stops changing.
    const auto giveUp = s.earth.now() + kSteadyBound;
    while (!loaded && s.earth.now() < giveUp) {
        s.earth.pause(kSteadyPoll);
        Picture next = grabView(s.grabber, rect);
        if (next.pixels == picture.pixels) break;
        picture = std::move(next);
    }
    if (!sameView(before, app->GetCamera(false), app->settleTolerance()))
        throw RuntimeError(error::AutomationError,
                           "Google Earth's camera moved during the capture, so the picture may "
                           "not show the view that was read: keep the view still and try again");
    return picture;
}

}  // namespace

bool captureView(MainWindowModel& form, const CaptureViewServices& s,
                 const std::string& timeStamp) {
    const auto tell = [&](const std::string& phase) {
        if (s.progress) s.progress(phase);
    };
    std::string folder;
    try {
        folder = s.folder.prepare();
    } catch (const RuntimeError& e) {
        s.messages.information(
            "The capture folder cannot be used.\n" + e.description() + "\nNo file was written.",
            kTitle);
        return false;
    }
    tell("Reading Google Earth's view");
    if (!runStep1(form, s.earth, s.log)) return false;
    if (form.caption(control::Label7) == "NO") {
        s.messages.information("GoogleEarth Not yet fullscreen\uFF01Get it fullscreen first!",
                               kTitle);
        return false;
    }
    // Copied at once: the picture is registered by this press's grid and no other.
    const CornerTexts corners = form.corners;
    const GroundGrid grid = form.grid;

    Step2Report report;
    try {
        Picture picture;
        attempt("The view could not be captured.",
                [&] { picture = grabLoadedView(s, grid, tell); });
        tell("Writing the files");
        std::string stem;
        attempt("The capture folder has no free name: " + shown(folder),
                [&] { stem = freeStem(s.folder, folder, timeStamp); });
        const std::string fileName = stem + ".jpg";
        const std::string path = folder + fileName;
        attempt("The picture could not be written: " + shown(path),
                [&] { s.jpeg.write(path, picture, kJpegQuality); });
        report.written.push_back(path);

        const Module1 extents{text(picture.width - 1.0), text(picture.height - 1.0)};
        NamedPicture named;
        attempt("The table and geoset cannot be named after the picture.",
                [&] { named = namePicture(path, folder, fileName, stem, s.writers.codePage); });
        writeOutputs(named, extents, corners, grid, s.writers, report);
    } catch (const Failure& failure) {
        report.failures.push_back(failure);
    }
    if (!report.failures.empty()) {
        s.messages.information(message(report), kTitle);
        return false;
    }
    s.messages.information("The view was captured." + message(report), kTitle);
    return true;
}

}  // namespace kartovex
