#include "Step1Command.h"

#include <chrono>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <utility>

#include "capture/DegreeMinute.h"
#include "model/ControlNames.h"
#include "model/NumberText.h"
#include "model/RuntimeError.h"

namespace kartovex {
namespace {

using namespace std::chrono_literals;

constexpr auto kSettleBound = 10s;
// The whole press: the settle wait and the few quick calls around it. Each call has its own
// time-out in the back end, but a dozen slow answers would still hold the window too long.
constexpr auto kPressBound = kSettleBound + 5s;
constexpr auto kSettlePoll = 30ms;
constexpr double kKilometresPerDegreeOfLatitude = 111.0;

// Screen size in pixels: W as Step 1 has always held it, single precision and unrounded;
// H rounded to the nearest pixel, ties to even.
struct ScreenSize {
    float w = 0;
    std::int32_t h = 0;
};

ScreenSize measureScreen(const ScreenMetrics& m) {
    const double w = m.widthTwips / m.twipsPerPixelX;
    const double h = m.heightTwips / m.twipsPerPixelY;
    double rounded = std::floor(h);
    const double fraction = h - rounded;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(rounded, 2.0) != 0)) rounded += 1;
    if (!std::isfinite(w) || std::fabs(w) > std::numeric_limits<float>::max() ||
        !std::isfinite(rounded) || rounded < std::numeric_limits<std::int32_t>::min() ||
        rounded > std::numeric_limits<std::int32_t>::max())
        throw RuntimeError(error::Overflow, "The screen size in pixels is out of range");
    return {static_cast<float>(w), static_cast<std::int32_t>(rounded)};
}

// Angular distance, so that 359.9999999 counts as next to 0 and -180 as 180.
double angleBetween(double a, double b) {
    const double d = std::fmod(std::fabs(a - b), 360.0);
    return d > 180.0 ? 360.0 - d : d;
}

// Close enough that the corners read afterwards belong to the view the user sees.
bool hasArrived(const CameraInfo& now, const CameraInfo& requested, const SettleTolerance& t) {
    return std::fabs(now.focusPointLatitude - requested.focusPointLatitude) <= t.focusDegrees &&
           angleBetween(now.focusPointLongitude, requested.focusPointLongitude) <= t.focusDegrees &&
           std::fabs(now.range - requested.range) <=
               t.rangeMetres + t.rangeRelative * std::fmax(std::fabs(requested.range), 1.0) &&
           angleBetween(now.tilt, 0.0) <= t.angleDegrees &&
           angleBetween(now.azimuth, 0.0) <= t.angleDegrees;
}

// A number outside its range is as malformed as one that is no number: 1e300 degrees would
// reach the read-outs and the table as 300-digit texts.
double checked(double v, const char* what, double lowest, double highest) {
    if (!(v >= lowest && v <= highest))
        throw RuntimeError(error::AutomationError, std::string("Google Earth answered a ") + what +
                                                       " that is no number in its range");
    return v;
}

double latitude(double v, const char* what) {
    return checked(v, what, -90, 90);
}

double longitude(double v, const char* what) {
    return checked(v, what, -180, 180);
}

// IApplicationGE with one deadline for the whole press, checked after every call: a call
// that hangs cannot be interrupted from this thread, but no further call follows a late one.
class PressDeadline : public ApplicationGE {
public:
    PressDeadline(std::unique_ptr<ApplicationGE> app, GoogleEarthPlatform& platform,
                  std::chrono::steady_clock::time_point deadline)
        : app_(std::move(app)), platform_(platform), deadline_(deadline) {}

    void check() {
        if (platform_.now() > deadline_)
            throw RuntimeError(error::AutomationError,
                               "Google Earth answered too slowly: the press was given up after " +
                                   std::to_string(kPressBound.count()) + " seconds");
    }
    CameraInfo GetCamera(bool considerTerrain) override {
        return checked(app_->GetCamera(considerTerrain));
    }
    void SetCameraParams(double latitude, double longitude, double altitude, int altitudeMode,
                         double range, double tilt, double azimuth, double speed) override {
        app_->SetCameraParams(latitude, longitude, altitude, altitudeMode, range, tilt, azimuth,
                              speed);
        check();
    }
    std::int32_t GetRenderHwnd() override { return checked(app_->GetRenderHwnd()); }
    ViewExtents GetViewExtents() override { return checked(app_->GetViewExtents()); }
    PointOnTerrain GetPointOnTerrainFromScreenCoords(double x, double y) override {
        return checked(app_->GetPointOnTerrainFromScreenCoords(x, y));
    }
    SettleTolerance settleTolerance() const override { return app_->settleTolerance(); }

private:
    template <typename T>
    T checked(T answer) {
        check();
        return answer;
    }

    std::unique_ptr<ApplicationGE> app_;
    GoogleEarthPlatform& platform_;
    std::chrono::steady_clock::time_point deadline_;
};

// SetCameraParams returns while the camera is still flying; corners read before it
// arrives would register the picture to a view that is not the one on screen.
void levelCamera(ApplicationGE& app, GoogleEarthPlatform& platform) {
    const CameraInfo camera = app.GetCamera(false);
    CameraInfo requested;
    constexpr double kLargest = std::numeric_limits<double>::max();
    requested.focusPointLatitude = latitude(camera.focusPointLatitude, "camera latitude");
    requested.focusPointLongitude = longitude(camera.focusPointLongitude, "camera longitude");
    requested.focusPointAltitude =
        checked(camera.focusPointAltitude, "camera altitude", -kLargest, kLargest);
    requested.range =
        checked(camera.range, "camera range", std::numeric_limits<double>::denorm_min(), kLargest);
    constexpr int kRelativeToGround = 1;
    app.SetCameraParams(requested.focusPointLatitude, requested.focusPointLongitude,
                        requested.focusPointAltitude, kRelativeToGround, requested.range, 0.0, 0.0,
                        4.0);

    const auto deadline = platform.now() + kSettleBound;
    while (!hasArrived(app.GetCamera(false), requested, app.settleTolerance())) {
        if (platform.now() >= deadline)
            throw RuntimeError(error::AutomationError,
                               "Google Earth's camera did not come to look straight down with "
                               "north up within 10 seconds");
        platform.pause(kSettlePoll);
    }
}

// Everything of a press that reaches the window only when the press completes.
struct ViewReadOut {
    std::string label7, label8;
    std::string zuoshanglong, zuoshanglat, youxialong, youxialat;
    CornerTexts corners;
    GroundGrid grid;
};

PointOnTerrain pointOnTerrain(ApplicationGE& app, double x, double y) {
    const PointOnTerrain p = app.GetPointOnTerrainFromScreenCoords(x, y);
    longitude(p.longitude, "longitude");
    latitude(p.latitude, "latitude");
    return p;
}

void readGeography(ApplicationGE& app, ViewReadOut& out) {
    // Two reads of the view extents, one for each edge, as the design makes them.
    const double south = latitude(app.GetViewExtents().south, "south edge latitude");
    const double north = latitude(app.GetViewExtents().north, "north edge latitude");
    out.label8 =
        "N-S DIS: " + text(std::fabs(north - south) * kKilometresPerDegreeOfLatitude) + " km";

    // Corners run clockwise from the upper left, then the centre; y is up.
    CornerTexts& c = out.corners;
    PointOnTerrain p = pointOnTerrain(app, -1, 1);
    c.strZuoshangLong = plainText(p.longitude);
    c.strZuoshangLat = plainText(p.latitude);
    out.zuoshanglong = degreeMinute(p.longitude);
    out.zuoshanglat = degreeMinute(p.latitude);

    p = pointOnTerrain(app, 1, 1);
    c.strYoushangLong = plainText(p.longitude);
    c.strYoushangLat = plainText(p.latitude);

    p = pointOnTerrain(app, 1, -1);
    c.strYouxiaLong = plainText(p.longitude);
    c.strYouxiaLat = plainText(p.latitude);
    out.youxialong = degreeMinute(p.longitude);
    out.youxialat = degreeMinute(p.latitude);

    p = pointOnTerrain(app, -1, -1);
    c.strZuoxiaLong = plainText(p.longitude);
    c.strZuoxiaLat = plainText(p.latitude);

    p = pointOnTerrain(app, 0, 0);
    c.strCenterLong = plainText(p.longitude);
    c.strCenterLat = plainText(p.latitude);

    // The geoset centre is the mean of the stored texts, the sampled centre among them.
    c.strCenterLong =
        plainText((value(c.strZuoshangLong) + value(c.strYouxiaLong) + value(c.strYoushangLong) +
                   value(c.strZuoxiaLong) + value(c.strCenterLong)) /
                  5.0);
    c.strCenterLat =
        plainText((value(c.strZuoshangLat) + value(c.strYouxiaLat) + value(c.strYoushangLat) +
                   value(c.strZuoxiaLat) + value(c.strCenterLat)) /
                  5.0);

    // Then the grid the GeoTIFF is fitted to, corners and centre among its points.
    constexpr int n = GroundGrid::kPointsPerSide;
    out.grid.points.clear();
    out.grid.points.reserve(n * n);
    for (int row = 0; row < n; ++row) {
        const double y = 1.0 - 2.0 * row / (n - 1);
        for (int column = 0; column < n; ++column) {
            const double x = -1.0 + 2.0 * column / (n - 1);
            p = pointOnTerrain(app, x, y);
            out.grid.points.push_back({x, y, p.longitude, p.latitude});
        }
    }
}

void commit(MainWindowModel& form, ViewReadOut&& r) {
    form.setCaption(control::Label7, std::move(r.label7));
    form.setCaption(control::Label8, std::move(r.label8));
    form.setCaption(control::zuoshanglong, std::move(r.zuoshanglong));
    form.setCaption(control::zuoshanglat, std::move(r.zuoshanglat));
    form.setCaption(control::youxialong, std::move(r.youxialong));
    form.setCaption(control::youxialat, std::move(r.youxialat));
    form.corners = std::move(r.corners);
    form.grid = std::move(r.grid);
}

void capture(MainWindowModel& form, GoogleEarthPlatform& platform) {
    const auto deadline = platform.now() + kPressBound;
    const ScreenSize screen = measureScreen(platform.screenMetrics());
    form.setCaption(control::Label4, text(screen.w) + " X " + text(static_cast<double>(screen.h)));

    std::unique_ptr<ApplicationGE> connected = platform.connect();
    if (!connected)
        throw RuntimeError(error::CannotCreateObject, "Google Earth gave no application object");
    PressDeadline app(std::move(connected), platform, deadline);
    app.check();
    levelCamera(app, platform);

    WindowRect rect;
    platform.getWindowRect(app.GetRenderHwnd(), rect);
    app.check();
    // In 64 bits: a rectangle from a confused window system must not overflow.
    const auto width = static_cast<std::int64_t>(rect.right) - rect.left;
    const auto height = static_cast<std::int64_t>(rect.bottom) - rect.top;
    form.setCaption(control::Label5,
                    text(static_cast<double>(width)) + " X " + text(static_cast<double>(height)));

    ViewReadOut result;
    // Against Bottom, not the height: a view across the full width that reaches the
    // screen's bottom edge fills the screen wherever its top edge lies.
    const bool fullScreen =
        static_cast<double>(screen.w) == static_cast<double>(width) && screen.h == rect.bottom;
    result.label7 = fullScreen ? "YES" : "NO";
    result.grid.viewWidth = width;
    result.grid.viewHeight = height;
    result.grid.viewLeft = rect.left;
    result.grid.viewTop = rect.top;
    readGeography(app, result);
    commit(form, std::move(result));
}

std::string failureText(const RuntimeError& e) {
    return "Step 1 failed with error " + std::to_string(e.number()) + ": " + e.description() +
           "\nNo view coordinates were taken from this press: the N-S distance, the corner "
           "read-outs and the corner coordinates still hold the last completed Step 1. The "
           "full-screen verdict reads NO until a Step 1 completes, and Step 2 waits for it.";
}

}  // namespace

bool runStep1(MainWindowModel& form, GoogleEarthPlatform& platform, Log& log) {
    if (form.step1Clicks < 2) ++form.step1Clicks;
    // This warning and the main window say "KartoVex", the error boxes "Kartovex": both by design.
    if (form.step1Clicks < 2)
        platform.messageBox("Open GoogleEarth first！Otherwise it will quit Automatically!",
                            "KartoVex");
    try {
        capture(form, platform);
        return true;
    } catch (const RuntimeError& e) {
        form.setCaption(control::Label7, "NO");
        log.write(LogArea::Capture, "Step 1 failed with error " + std::to_string(e.number()) +
                                        ": " + e.description());
        platform.messageBox(failureText(e), "Kartovex");
        return false;
    }
}

}  // namespace kartovex
