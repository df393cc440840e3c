#include "AreaCommand.h"

#include <chrono>
#include <exception>
#include <filesystem>
#include <optional>
#include <system_error>

#include "capture/Step1Command.h"
#include "georef/FileSaver.h"
#include "georef/GeoTiffOutputs.h"
#include "georef/GstFile.h"
#include "georef/MosaicWriter.h"
#include "georef/Step2Report.h"
#include "georef/Wgs84TabFile.h"
#include "model/ControlNames.h"
#include "model/NumberText.h"
#include "model/RuntimeError.h"

namespace kartovex {
namespace {

namespace fs = std::filesystem;

constexpr const char* kViewsSuffix = ".views";
constexpr const char* kMosaicExtension = ".tif";
constexpr std::size_t kLargestManifest = 16 << 20;
constexpr double kJump = 5.0;

fs::path pathOf(const std::string& utf8) {
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string utf8Of(const fs::path& path) {
    const std::u8string text = path.u8string();
    return {text.begin(), text.end()};
}

std::string withSeparator(std::string folder) {
    if (!folder.empty() && folder.back() != '/' && folder.back() != '\\') folder += '/';
    return folder;
}

// A capture of this output folder whose mosaic was never written.
struct Unfinished {
    std::string bareName;
    AreaManifest manifest;
};

std::optional<Unfinished> unfinishedIn(const std::string& folder, FileSaver& saver, Log& log) {
    std::error_code failed;
    for (const auto& entry : fs::directory_iterator(pathOf(folder), failed)) {
        const std::string name = utf8Of(entry.path().filename());
        const std::size_t suffix = name.size() - std::string(kViewsSuffix).size();
        if (name.size() <= std::string(kViewsSuffix).size() || name.substr(suffix) != kViewsSuffix)
            continue;
        const std::string bare = name.substr(0, suffix);
        if (saver.exists(folder + bare + kMosaicExtension)) continue;
        const auto text =
            saver.head(folder + name + "/" + AreaManifest::kFileName, kLargestManifest);
        if (!text) continue;
        try {
            return Unfinished{bare, AreaManifest::parse(*text)};
        } catch (const RuntimeError& e) {
            log.write(LogArea::Capture, folder + name + ": " + e.description());
        }
    }
    return std::nullopt;
}

// A reason as a sentence of a message: ends with one full stop.
std::string sentence(std::string reason) {
    if (reason.empty() || reason.back() != '.') reason += '.';
    return reason;
}

std::string keptText(const AreaManifest& m, const std::string& viewsFolder) {
    return std::to_string(m.taken.size()) + " of " + std::to_string(m.plan.views.size()) +
           " views are kept in " + viewsFolder +
           "; the next Capture area into this folder continues from there.";
}

// Google Earth back where the user had it, level or not. A Google Earth that no longer
// answers has no view to go back to.
void restore(ApplicationGE& app, const CameraInfo& user, Log& log) {
    try {
        app.SetCameraParams(user.focusPointLatitude, user.focusPointLongitude,
                            user.focusPointAltitude, 1, user.range, user.tilt, user.azimuth, kJump);
    } catch (const RuntimeError& e) {
        log.write(LogArea::Capture, "The user's view could not be restored: " + e.description());
    }
}

MosaicJob mosaicJob(const AreaManifest& m, const std::string& viewsFolder, const std::string& tif) {
    MosaicJob job;
    job.tifPath = tif;
    job.marginPixels = m.plan.marginPixels;
    for (const TakenView& t : m.taken)
        job.views.push_back(
            {viewsFolder + t.picture, controlPoints(t.grid, static_cast<double>(t.grid.viewWidth),
                                                    static_cast<double>(t.grid.viewHeight))});
    return job;
}

}  // namespace

AreaResult runCaptureArea(const AreaRequest& request, MainWindowModel& form,
                          const AreaServices& services, AreaUser& user) {
    const std::string folder = withSeparator(request.outputFolder);
    AreaResult result;
    std::optional<Unfinished> earlier = unfinishedIn(folder, services.saver, services.log);
    std::string bare = request.newName;
    AreaManifest manifest;
    if (earlier && user.continueEarlier(earlier->manifest, folder + earlier->bareName)) {
        bare = earlier->bareName;
        manifest = std::move(earlier->manifest);
    }
    const std::string viewsFolder = folder + bare + kViewsSuffix + "/";
    const std::string tif = folder + bare + kMosaicExtension;

    std::unique_ptr<ApplicationGE> app;
    CameraInfo userView;
    try {
        app = services.platform.connect();
        if (!app)
            throw RuntimeError(error::CannotCreateObject,
                               "Google Earth gave no application object");
        userView = app->GetCamera(false);
    } catch (const RuntimeError& e) {
        result.message = "Capture area could not reach Google Earth: " + e.description();
        return result;
    }

    try {
        if (manifest.plan.views.empty()) {
            // Step 1 as the button runs it: the level view, its verdict and its grid.
            form.step1Clicks = 2;
            if (!runStep1(form, services.platform, services.log)) {
                restore(*app, userView, services.log);
                result.message =
                    "Capture area stopped: Step 1 failed, as its message said. "
                    "Nothing was captured.";
                return result;
            }
            if (form.caption(control::Label7) != "YES") {
                restore(*app, userView, services.log);
                result.message =
                    "Capture area needs Google Earth's view to fill the screen, as Step 2 does. "
                    "Nothing was captured.";
                return result;
            }
            const CameraInfo levelled = app->GetCamera(false);
            const auto planAt = [&](int detail) {
                return planArea(form.grid, levelled, detail, request.marginPixels);
            };
            // A refused area is refused at any detail: said before the question.
            planAt(request.detail);
            const std::optional<int> detail =
                user.chooseDetail(request.detail, [&](int d) { return estimate(planAt(d)); });
            if (detail) manifest.plan = planAt(*detail);
            if (!detail) {
                restore(*app, userView, services.log);
                result.message = "Capture area was cancelled before anything was captured.";
                return result;
            }
            std::error_code failed;
            fs::create_directories(pathOf(viewsFolder), failed);
            if (failed)
                throw RuntimeError(error::PathFileAccess,
                                   "The views' folder could not be made: " + failed.message());
            services.saver.save(viewsFolder + AreaManifest::kFileName, manifest.text());
        }
        const AreaFolder views{viewsFolder, services.saver};
        const AreaOutcome outcome =
            captureViews(manifest, views, *app, services.platform, services.grab,
                         [&](const AreaProgress& p) { return user.progress(p); });
        restore(*app, userView, services.log);
        if (outcome == AreaOutcome::Cancelled) {
            result.message = "Capture area was cancelled. " + keptText(manifest, viewsFolder);
            return result;
        }
    } catch (const RuntimeError& e) {
        restore(*app, userView, services.log);
        result.message = "Capture area stopped: " + sentence(e.description()) + " " +
                         (manifest.plan.views.empty() ? std::string("Nothing was captured.")
                                                      : keptText(manifest, viewsFolder));
        return result;
    }

    try {
        const std::size_t views = manifest.taken.size();
        const auto started = services.platform.now();
        const auto progress = [&](double done) {
            const double elapsed =
                std::chrono::duration<double>(services.platform.now() - started).count();
            return user.progress(
                {views, views, AreaPhase::Mosaic, done > 0 ? elapsed * (1 - done) / done : 0});
        };
        MosaicJob job = mosaicJob(manifest, viewsFolder, tif);
        job.kmzPath = folder + bare + ".kmz";
        const GeoTiffOutcome written = services.mosaic.write(job, progress);
        if (written.result == GeoTiffResult::Cancelled) {
            result.message =
                "The mosaic was cancelled and not written. " + keptText(manifest, viewsFolder);
            return result;
        }
        result.files.push_back(written.tifPath);
        if (!written.kmzPath.empty()) result.files.push_back(written.kmzPath);
        // The table and geoset open the mosaic in MapInfo: a north-up raster in longitude and
        // latitude is registered exactly by its four outer corners.
        const std::string tifName = utf8Of(pathOf(written.tifPath).filename());
        const std::string tableBare = tifName.substr(0, tifName.rfind('.'));
        services.saver.save(folder + tableBare + ".tab",
                            wgs84TabFileBytes(tifName, written.raster));
        result.files.push_back(folder + tableBare + ".tab");
        services.saver.save(
            folder + tableBare + ".gst",
            gstFileBytes(tableBare, plainText((written.raster.west + written.raster.east) / 2),
                         plainText((written.raster.south + written.raster.north) / 2)));
        result.files.push_back(folder + tableBare + ".gst");
        if (!written.overlayFailure.empty())
            result.message =
                "The Google Earth overlay could not be written: " + written.overlayFailure + ".\n";
    } catch (const RuntimeError& e) {
        result.message = "The mosaic could not be written: " + sentence(e.description()) + " " +
                         keptText(manifest, viewsFolder);
        if (!result.files.empty()) result.message += " Written: " + result.files.front();
        return result;
    }
    result.written = true;
    result.complete = result.message.empty();
    const std::size_t views = manifest.taken.size();
    result.message += "The mosaic of " + std::to_string(views) + (views == 1 ? " view" : " views") +
                      " was written in " + shown(folder) + ":";
    const char* separator = " ";
    for (const std::string& file : result.files) {
        result.message += separator + utf8Of(pathOf(file).filename());
        separator = ", ";
    }
    return result;
}

}  // namespace kartovex
