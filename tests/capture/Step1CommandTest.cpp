#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "FakeGoogleEarth.h"
#include "capture/Step1Command.h"
#include "model/NumberText.h"

namespace kartovex {
namespace {

using namespace std::chrono_literals;
using testing::FakeGoogleEarth;

const char* const kWarning = "Open GoogleEarth first！Otherwise it will quit Automatically!";
const double kNaN = std::numeric_limits<double>::quiet_NaN();
// Screen coordinates of the points read, clockwise from the upper left, then the centre.
const std::pair<double, double> kReadOrder[] = {{-1, 1}, {1, 1}, {1, -1}, {-1, -1}, {0, 0}};

std::vector<std::string> allCornerTexts(const CornerTexts& c) {
    return {c.strZuoshangLong, c.strZuoshangLat, c.strYoushangLong, c.strYoushangLat,
            c.strYouxiaLong,   c.strYouxiaLat,   c.strZuoxiaLong,   c.strZuoxiaLat,
            c.strCenterLong,   c.strCenterLat};
}

// Everything a completed press leaves that a failing press must not touch.
std::vector<std::string> geographyOf(const MainWindowModel& form) {
    std::vector<std::string> g = allCornerTexts(form.corners);
    for (const char* name : {"Label8", "zuoshanglong", "zuoshanglat", "youxialong", "youxialat"})
        g.push_back(form.caption(name));
    for (const GroundPoint& p : form.grid.points)
        g.push_back(text(p.longitude) + " " + text(p.latitude));
    return g;
}

// A press that failed: one report, "NO", the last completed press's geography, all released.
void expectFailedPress(const MainWindowModel& form, const FakeGoogleEarth& ge,
                       const std::vector<std::string>& before, const std::string& where) {
    ASSERT_EQ(ge.messages.size(), 1u) << where;
    EXPECT_EQ(ge.messages[0].title, "Kartovex") << where;
    EXPECT_EQ(form.caption("Label7"), "NO") << where;
    EXPECT_EQ(geographyOf(form), before) << where;
    EXPECT_EQ(ge.applicationsAlive, 0) << where;
}

TEST(Step1Command, FullScreenVerdictComparesWidthAndBottomEdge) {
    const ScreenMetrics at100{19200, 15360, 15, 15}, at125{19200, 15360, 12, 12};
    const WindowRect full125{0, 0, 1600, 1280};
    const struct {
        ScreenMetrics metrics;
        std::optional<WindowRect> rect;  // none: GetWindowRect fails
        const char *label4, *label5, *label7;
    } rows[] = {
        {at100, WindowRect{0, 60, 1280, 1024}, "1280 X 1024", "1280 X 964", "YES"},
        {at100, WindowRect{0, 0, 1280, 994}, "1280 X 1024", "1280 X 994", "NO"},
        {at100, WindowRect{0, 0, 1279, 1024}, "1280 X 1024", "1279 X 1024", "NO"},
        {at100, std::nullopt, "1280 X 1024", "0 X 0", "NO"},
        // 125 %: the screen is measured in physical pixels, as a screenshot has them.
        {at125, full125, "1600 X 1280", "1600 X 1280", "YES"},
        // W keeps its fraction and so never equals a whole width; H rounds ties to even.
        {{19210, 15360, 12, 12}, full125, "1600.833 X 1280", "1600 X 1280", "NO"},
        {{19200, 15366, 12, 12}, full125, "1600 X 1280", "1600 X 1280", "YES"},
        {{19200, 15378, 12, 12}, WindowRect{0, 0, 1600, 1282}, "1600 X 1282", "1600 X 1282", "YES"},
    };
    for (const auto& r : rows) {
        MainWindowModel form;
        FakeGoogleEarth ge;
        ge.metrics = r.metrics;
        ge.renderRect = r.rect;
        runStep1(form, ge, ge);
        // The corners are taken whatever the verdict.
        EXPECT_EQ(std::vector({form.caption("Label4"), form.caption("Label5"),
                               form.caption("Label7"), form.corners.strYouxiaLat}),
                  std::vector<std::string>({r.label4, r.label5, r.label7, "38.1"}));
    }
}

TEST(Step1Command, LevelsTheCameraItReadWaitsForItToLandThenReadsTheView) {
    MainWindowModel form;
    FakeGoogleEarth ge;
    ge.pollsInFlight = 2;
    // South comes from the first read, North from the second; here North lies south of South.
    ge.extents = {{99, 40.5}, {40.25, -99}};
    runStep1(form, ge, ge);
    // Sent back to where it was, straight down and north up.
    EXPECT_EQ(ge.count("SetCameraParams(34.67, 112.58, 12.5, 1, 5000, 0, 0, 4)"), 1);
    const auto waited = ge.clock - std::chrono::steady_clock::time_point{};
    EXPECT_GE(waited, 2 * 20ms);
    EXPECT_LE(waited, 2 * 50ms);

    std::string captions;
    for (const char* name :
         {"Label7", "Label8", "zuoshanglong", "zuoshanglat", "youxialong", "youxialat"})
        captions += form.caption(name) + "; ";
    EXPECT_EQ(captions, "YES; N-S DIS: 27.75 km; 11030; 3954; 11230; 3806; ");
    EXPECT_EQ(std::pair(form.grid.viewWidth, form.grid.viewHeight),
              (std::pair<std::int64_t, std::int64_t>(1280, 1024)));
    ASSERT_EQ(form.grid.points.size(), 25u);
    const GroundPoint& second = form.grid.points[6];  // second row, second column
    EXPECT_EQ(std::vector({second.x, second.y, second.longitude, second.latitude}),
              std::vector({-0.5, 0.5, 111.0, 39.45}));
}

// Later presses, failing or not, warn no more: the failing-press rows count their messages.
TEST(Step1Command, WarnsOnTheFirstPressEvenWhenItFails) {
    MainWindowModel form;
    FakeGoogleEarth ge;
    ge.failOn("connect", 1, RuntimeError(429, "ActiveX component can't create object"));
    runStep1(form, ge, ge);
    ASSERT_EQ(ge.messages.size(), 2u);
    EXPECT_EQ(ge.messages[0], (FakeGoogleEarth::Message{kWarning, "KartoVex"}));
    EXPECT_EQ(ge.messages[1].title, "Kartovex");
}

// The texts are the points as read, never with an exponent; the centre is the mean of the
// five stored texts in the design's order, which across the equator leaves no -2.2E-17.
TEST(Step1Command, CornerTextsAreThePointsAsReadAndTheCentreTheirMean) {
    const std::string tiny = "-0.0000000000000000000000000000025";
    const struct {
        PointOnTerrain points[5];  // in the read order
        std::vector<std::string> texts;
    } rows[] = {
        {{{0.6, 110.5}, {0.8, 112.5}, {-0.6, 112.5}, {-0.8, 110.5}, {0, 112.5}},
         {"110.5", "0.6", "112.5", "0.8", "112.5", "-0.6", "110.5", "-0.8", "111.7", "0"}},
        {{{-2.5e-30, 1e-7}, {-2.5e-30, 1e-7}, {-2.5e-30, 1e-7}, {-2.5e-30, 1e-7}, {-2.5e-30, 1e-7}},
         {"0.0000001", tiny, "0.0000001", tiny, "0.0000001", tiny, "0.0000001", tiny, "0.0000001",
          tiny}},
    };
    for (const auto& r : rows) {
        MainWindowModel form;
        FakeGoogleEarth ge;
        for (int i = 0; i < 5; ++i) ge.points[kReadOrder[i]] = r.points[i];
        runStep1(form, ge, ge);
        EXPECT_EQ(allCornerTexts(form.corners), r.texts);
    }
}

TEST(Step1Command, SettleWaitAcceptsOnlyALevelViewAtTheRequestedPlace) {
    // How the landed camera differs from where it was sent (the camera looks at 180 E).
    const struct {
        const char* name;
        int pollsInFlight;
        double latitude, longitude, rangeFactor, tilt, azimuth;
        bool lands;
    } rows[] = {
        {"azimuth just below 360", 0, 0, 0, 1, 0, 359.99999999, true},
        {"azimuth just below 0", 0, 0, 0, 1, 0, -1e-7, true},
        {"longitude 180 as -180", 0, 0, -360, 1, 0, 0, true},
        {"range a billionth off", 0, 0, 0, 1 + 1e-9, 0, 0, true},
        {"focus a hundred-millionth off", 0, 1e-8, 0, 1, 0, 0, true},
        {"still flying", -1, 0, 0, 1, 0, 0, false},
        {"tilted", 0, 0, 0, 1, 0.01, 0, false},
        {"turned", 0, 0, 0, 1, 0, 1, false},
        {"further north", 0, 1e-5, 0, 1, 0, 0, false},
        {"further east", 0, 0, 1e-5, 1, 0, 0, false},
        {"further away", 0, 0, 0, 1.001, 0, 0, false},
    };
    for (const auto& r : rows) {
        MainWindowModel form;
        form.step1Clicks = 2;  // past the first-press warning
        FakeGoogleEarth ge;
        ge.camera.focusPointLongitude = 180;
        ge.pollsInFlight = r.pollsInFlight;
        ge.landedAs = [&r](CameraInfo c) {
            c.focusPointLatitude += r.latitude;
            c.focusPointLongitude += r.longitude;
            c.range *= r.rangeFactor;
            c.tilt = r.tilt;
            c.azimuth = r.azimuth;
            return c;
        };
        runStep1(form, ge, ge);
        if (r.lands) {
            EXPECT_EQ(form.caption("Label7"), "YES") << r.name;
            EXPECT_EQ(ge.count("GetCamera"), 2) << r.name;
            continue;
        }
        const auto waited = ge.clock - std::chrono::steady_clock::time_point{};
        EXPECT_GE(waited, 10s) << r.name;
        EXPECT_LE(waited, 10s + 50ms) << r.name;
        expectFailedPress(form, ge, geographyOf(MainWindowModel{}), r.name);
        EXPECT_EQ(ge.messages.at(0).text.rfind(
                      "Step 1 failed with error 440: Google Earth's camera did not", 0),
                  0u)
            << ge.messages[0].text;
    }
}

TEST(Step1Command, FailingPressReportsAndKeepsTheLastCompletedPress) {
    const struct {
        const char* call;  // the call that fails, or the last one made before the press stops
        int nth;           // its use in the press
        long number;
        std::function<void(FakeGoogleEarth&)> spoil;  // none: the call throws
    } rows[] = {
        {"screenMetrics", 1, 6, {}},
        {"connect", 1, 429, {}},
        {"GetCamera", 1, 440, {}},
        {"GetCamera", 2, 440, {}},
        {"getWindowRect", 1, 440, {}},
        {"GetPointOnTerrainFromScreenCoords", 30, 440, {}},  // in the grid
        // Every answer just inside its own time-out: the press as a whole runs out of time.
        {"GetRenderHwnd", 1, 440, [](auto& ge) { ge.callTime = 2900ms; }},
        // Numbers that are not numbers, or not in their range.
        {"screenMetrics", 1, 6, [](auto& ge) { ge.metrics.twipsPerPixelX = 0; }},
        {"screenMetrics", 1, 6, [](auto& ge) { ge.metrics.heightTwips = 1e300; }},
        {"GetCamera", 1, 440, [](auto& ge) { ge.camera.range = 0; }},
        {"GetViewExtents", 1, 440, [](auto& ge) { ge.extents[0].south = kNaN; }},
        {"GetPointOnTerrainFromScreenCoords", 2, 440,
         [](auto& ge) { ge.points[kReadOrder[1]].longitude = -1.7e308; }},
        {"GetPointOnTerrainFromScreenCoords", 5, 440,
         [](auto& ge) { ge.points[kReadOrder[4]].latitude = 1e300; }},
    };
    for (const auto& r : rows) {
        const std::string where = std::string(r.call) + " #" + std::to_string(r.nth) +
                                  (r.spoil ? " answers no number" : " fails");
        MainWindowModel form;
        FakeGoogleEarth ge;
        runStep1(form, ge, ge);
        ASSERT_EQ(form.caption("Label7"), "YES");
        const auto before = geographyOf(form);

        // A different view that must not reach the window.
        ge.extents = {{50, 49}};
        for (auto& [xy, p] : ge.points) p = {p.latitude + 1, p.longitude + 1};
        ge.calls.clear();
        ge.messages.clear();
        if (r.spoil)
            r.spoil(ge);
        else
            ge.failOn(r.call, r.nth, RuntimeError(r.number, "Automation error"));
        runStep1(form, ge, ge);

        expectFailedPress(form, ge, before, where);
        const std::string report = "Step 1 failed with error " + std::to_string(r.number) + ": " +
                                   (r.spoil ? "" : "Automation error\n");
        EXPECT_EQ(ge.messages.at(0).text.rfind(report, 0), 0u) << ge.messages[0].text;
        ASSERT_EQ(ge.logged.size(), 1u) << where;
        EXPECT_EQ(ge.logged[0].rfind(report.substr(0, report.find('\n')), 0), 0u) << ge.logged[0];

        // The press stops at the failing call; Google Earth is let go before the report.
        ASSERT_GE(ge.calls.size(), 2u) << where;
        EXPECT_EQ(ge.calls.back(), "messageBox(Kartovex)") << where;
        auto last = ge.calls.end() - 2;
        if (*last == "release") --last;
        EXPECT_EQ(last->rfind(r.call, 0), 0u) << where << ": " << *last;
        EXPECT_EQ(ge.count(r.call), r.nth) << where;
    }
}

}  // namespace
}  // namespace kartovex
