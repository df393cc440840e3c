#include "AreaCapture.h"

#include <chrono>
#include <cmath>
#include <optional>

#include "capture/ImageryWait.h"
#include "georef/FileSaver.h"
#include "model/RuntimeError.h"

namespace kartovex {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr auto kArrivalBound = 30s;
constexpr auto kLoadingBound = 60s;
constexpr auto kPoll = 50ms;
// The picture is taken once two grabs this far apart agree.
constexpr auto kGrabInterval = 500ms;
constexpr double kJump = 5.0;
constexpr int kRelativeToGround = 1;
// Rounds of gap filling: a gap left after the second means the views do not land where
// they are sent, which a third round would not mend.
constexpr int kFillRounds = 2;

double angleBetween(double a, double b) {
    const double d = std::fmod(std::fabs(a - b), 360.0);
    return d > 180.0 ? 360.0 - d : d;
}

bool isAt(const CameraInfo& now, const PlannedView& view, double range, const SettleTolerance& t) {
    return std::fabs(now.focusPointLatitude - view.latitude) <= t.focusDegrees &&
           angleBetween(now.focusPointLongitude, view.longitude) <= t.focusDegrees &&
           std::fabs(now.range - range) <=
               t.rangeMetres + t.rangeRelative * std::fmax(std::fabs(range), 1.0) &&
           angleBetween(now.tilt, 0.0) <= t.angleDegrees &&
           angleBetween(now.azimuth, 0.0) <= t.angleDegrees;
}

class ViewTaker {
public:
    ViewTaker(AreaManifest& manifest, const AreaFolder& folder, ApplicationGE& app,
              GoogleEarthPlatform& platform, ViewGrab& grab, const AreaProgressReport& progress)
        : m_(manifest),
          folder_(folder),
          app_(app),
          platform_(platform),
          grab_(grab),
          progress_(progress),
          started_(platform.now()),
          takenAtStart_(manifest.taken.size()) {}

    // False when cancelled.
    bool takeAll() {
        while (const auto next = m_.nextView())
            if (!take(*next)) return false;
        return true;
    }

private:
    bool report(std::size_t index, AreaPhase phase) {
        AreaProgress p{index + 1, m_.plan.views.size(), phase, 0};
        const std::size_t done = m_.taken.size() - takenAtStart_;
        const std::size_t left = m_.plan.views.size() - m_.taken.size();
        if (done > 0)
            p.secondsLeft =
                std::chrono::duration<double>(platform_.now() - started_).count() / done * left;
        return !progress_ || progress_(p);
    }

    [[noreturn]] void moved(std::size_t index) const {
        throw RuntimeError(
            error::AutomationError,
            "The camera was moved during the capture of view " + std::to_string(index + 1) +
                " of " + std::to_string(m_.plan.views.size()) + ", so that view was not kept");
    }

    void waitUntil(Clock::duration bound, const std::string& what,
                   const std::function<bool()>& done) {
        const auto deadline = platform_.now() + bound;
        while (!done()) {
            if (platform_.now() >= deadline)
                throw RuntimeError(
                    error::AutomationError,
                    what + " within " +
                        std::to_string(
                            std::chrono::duration_cast<std::chrono::seconds>(bound).count()) +
                        " seconds");
            platform_.pause(kPoll);
        }
    }

    // Google Earth says when its imagery has loaded, where it can; either way the screen
    // has caught up once two grabs a moment apart agree: the report may run ahead of the
    // picture on the screen.
    void waitForLoading(const WindowRect& rect) {
        waitForImagery(app_, platform_);
        std::uint64_t last = grab_.grab(rect);
        auto lastAt = platform_.now();
        waitUntil(kLoadingBound, "The view did not stop changing", [&] {
            if (platform_.now() - lastAt < kGrabInterval) return false;
            const std::uint64_t now = grab_.grab(rect);
            lastAt = platform_.now();
            const bool same = now == last;
            last = now;
            return same;
        });
    }

    // The grid's screen points are fractions of the view: a view of another size would
    // put the picture's pixels elsewhere on the ground.
    WindowRect viewOnScreen() {
        WindowRect rect;
        if (!platform_.getWindowRect(app_.GetRenderHwnd(), rect) ||
            rect.right - static_cast<std::int64_t>(rect.left) != m_.plan.viewWidth ||
            rect.bottom - static_cast<std::int64_t>(rect.top) != m_.plan.viewHeight)
            throw RuntimeError(error::AutomationError,
                               "Google Earth's view no longer fills the screen at " +
                                   std::to_string(m_.plan.viewWidth) + " x " +
                                   std::to_string(m_.plan.viewHeight) + " pixels");
        return rect;
    }

    bool take(std::size_t index) {
        const PlannedView& view = m_.plan.views[index];
        const double range = m_.plan.range;
        if (!report(index, AreaPhase::Flying)) return false;
        app_.SetCameraParams(view.latitude, view.longitude, m_.plan.altitude, kRelativeToGround,
                             range, 0.0, 0.0, kJump);
        const SettleTolerance tolerance = app_.settleTolerance();
        waitUntil(kArrivalBound,
                  "Google Earth's camera did not arrive at view " + std::to_string(index + 1),
                  [&] { return isAt(app_.GetCamera(false), view, range, tolerance); });

        if (!report(index, AreaPhase::Loading)) return false;
        const WindowRect rect = viewOnScreen();
        waitForLoading(rect);
        if (!report(index, AreaPhase::Grabbing)) return false;
        TakenView taken{index, AreaManifest::pictureName(index),
                        readGroundGrid(app_, m_.plan.viewWidth, m_.plan.viewHeight)};
        // The picture and the grid belong together only if the camera stayed put from the
        // arrival through the grid.
        if (!isAt(app_.GetCamera(false), view, range, tolerance)) moved(index);

        if (!report(index, AreaPhase::Keeping)) return false;
        grab_.keep(folder_.path + taken.picture);
        m_.taken.push_back(std::move(taken));
        try {
            folder_.saver.save(folder_.manifestPath(), m_.text());
        } catch (...) {
            m_.taken.pop_back();
            throw;
        }
        return true;
    }

    AreaManifest& m_;
    const AreaFolder& folder_;
    ApplicationGE& app_;
    GoogleEarthPlatform& platform_;
    ViewGrab& grab_;
    const AreaProgressReport& progress_;
    Clock::time_point started_;
    std::size_t takenAtStart_;
};

}  // namespace

GroundGrid readGroundGrid(ApplicationGE& app, std::int64_t viewWidth, std::int64_t viewHeight) {
    constexpr int n = GroundGrid::kPointsPerSide;
    GroundGrid grid;
    grid.viewWidth = viewWidth;
    grid.viewHeight = viewHeight;
    for (int row = 0; row < n; ++row) {
        const double y = 1.0 - 2.0 * row / (n - 1);
        for (int column = 0; column < n; ++column) {
            const double x = -1.0 + 2.0 * column / (n - 1);
            const PointOnTerrain p = app.GetPointOnTerrainFromScreenCoords(x, y);
            if (!(std::fabs(p.latitude) <= 90) || !(std::fabs(p.longitude) <= 180))
                throw RuntimeError(
                    error::AutomationError,
                    "Google Earth answered a ground point that is no place on Earth");
            grid.points.push_back({x, y, p.longitude, p.latitude});
        }
    }
    return grid;
}

AreaOutcome captureViews(AreaManifest& manifest, const AreaFolder& folder, ApplicationGE& app,
                         GoogleEarthPlatform& platform, ViewGrab& grab,
                         const AreaProgressReport& progress) {
    ViewTaker taker(manifest, folder, app, platform, grab, progress);
    for (int round = 0;; ++round) {
        if (!taker.takeAll()) return AreaOutcome::Cancelled;
        if (round == kFillRounds) return AreaOutcome::Complete;
        std::vector<GroundGrid> measured;
        for (const TakenView& t : manifest.taken) measured.push_back(t.grid);
        const std::vector<PlannedView> fill = gapsToFill(manifest.plan, measured);
        if (fill.empty()) return AreaOutcome::Complete;
        manifest.plan.views.insert(manifest.plan.views.end(), fill.begin(), fill.end());
        folder.saver.save(folder.manifestPath(), manifest.text());
    }
}

const char* phaseText(AreaPhase phase) {
    switch (phase) {
        case AreaPhase::Flying:
            return "flying there";
        case AreaPhase::Loading:
            return "waiting for the imagery";
        case AreaPhase::Grabbing:
            return "grabbing the view";
        case AreaPhase::Keeping:
            return "keeping the view";
        case AreaPhase::Mosaic:
            return "writing the mosaic";
    }
    return "";
}

}  // namespace kartovex
