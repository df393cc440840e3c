#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "FakeGoogleEarth.h"
#include "capture/Step1Command.h"

namespace kartovex {
namespace {

using namespace std::chrono_literals;
using testing::FakeGoogleEarth;

const char* const kWarning = "Open GoogleEarth first！Otherwise it will quit Automatically!";

std::vector<std::string> allCornerTexts(const CornerTexts& c) {
    return {c.strZuoshangLong, c.strZuoshangLat, c.strYoushangLong, c.strYoushangLat,
            c.strYouxiaLong,   c.strYouxiaLat,   c.strZuoxiaLong,   c.strZuoxiaLat,
            c.strCenterLong,   c.strCenterLat};
}

// Everything a completed press leaves that a failing press must not touch.
struct Geography {
    std::string label8, zuoshanglong, zuoshanglat, youxialong, youxialat;
    std::vector<std::string> corners;
    bool operator==(const Geography&) const = default;
};

Geography geographyOf(const MainWindowModel& form) {
    return {form.caption("Label8"),     form.caption("zuoshanglong"), form.caption("zuoshanglat"),
            form.caption("youxialong"), form.caption("youxialat"),    allCornerTexts(form.corners)};
}

TEST(Step1Command, FullScreenVerdictComparesWidthAndBottomEdge) {
    const struct {
        ScreenMetrics metrics;
        std::optional<WindowRect> rect;  // none: GetWindowRect fails
        const char *label4, *label5, *label7;
    } rows[] = {
        {{19200, 15360, 15, 15}, WindowRect{0, 0, 1280, 1024}, "1280 X 1024", "1280 X 1024", "YES"},
        {{19200, 15360, 15, 15}, WindowRect{0, 60, 1280, 1024}, "1280 X 1024", "1280 X 964", "YES"},
        {{19200, 15360, 15, 15}, WindowRect{0, 0, 1280, 994}, "1280 X 1024", "1280 X 994", "NO"},
        {{19200, 15360, 15, 15},
         WindowRect{-8, -8, 1288, 1000},
         "1280 X 1024",
         "1296 X 1008",
         "NO"},
        {{19200, 15360, 15, 15}, WindowRect{0, 0, 1279, 1024}, "1280 X 1024", "1279 X 1024", "NO"},
        {{19200, 15360, 15, 15}, std::nullopt, "1280 X 1024", "0 X 0", "NO"},
        // 125 %: the screen is measured in physical pixels, as a screenshot has them.
        {{19200, 15360, 12, 12}, WindowRect{0, 0, 1600, 1280}, "1600 X 1280", "1600 X 1280", "YES"},
        {{19200, 15360, 12, 12}, WindowRect{0, 0, 1280, 1024}, "1600 X 1280", "1280 X 1024", "NO"},
        // W keeps its fraction and so never equals a whole width; H rounds ties to even.
        {{19210, 15360, 12, 12},
         WindowRect{0, 0, 1600, 1280},
         "1600.833 X 1280",
         "1600 X 1280",
         "NO"},
        {{19200, 15366, 12, 12}, WindowRect{0, 0, 1600, 1280}, "1600 X 1280", "1600 X 1280", "YES"},
        {{19200, 15378, 12, 12}, WindowRect{0, 0, 1600, 1282}, "1600 X 1282", "1600 X 1282", "YES"},
        {{19200, 15372, 12, 12}, WindowRect{0, 0, 1600, 1281}, "1600 X 1281", "1600 X 1281", "YES"},
    };
    for (const auto& r : rows) {
        MainWindowModel form;
        FakeGoogleEarth ge;
        ge.metrics = r.metrics;
        ge.renderRect = r.rect;
        runStep1(form, ge);
        EXPECT_EQ(form.caption("Label4"), r.label4) << r.label5;
        EXPECT_EQ(form.caption("Label5"), r.label5) << r.label4;
        EXPECT_EQ(form.caption("Label7"), r.label7) << r.label4 << " / " << r.label5;
    }
}

TEST(Step1Command, CallsGoogleEarthInOrderAndLevelsTheCameraItRead) {
    MainWindowModel form;
    FakeGoogleEarth ge;
    runStep1(form, ge);
    const std::vector<std::string> expected = {
        "messageBox(KartoVex)",
        "screenMetrics",
        "connect",
        "GetCamera(false)",
        "SetCameraParams(34.67, 112.58, 12.5, 1, 5000, 0, 0, 4)",
        "GetCamera(false)",
        "GetRenderHwnd",
        "getWindowRect(4242)",
        "GetViewExtents",
        "GetViewExtents",
        "GetPointOnTerrainFromScreenCoords(-1, 1)",
        "GetPointOnTerrainFromScreenCoords(1, 1)",
        "GetPointOnTerrainFromScreenCoords(1, -1)",
        "GetPointOnTerrainFromScreenCoords(-1, -1)",
        "GetPointOnTerrainFromScreenCoords(0, 0)",
        "release",
    };
    EXPECT_EQ(ge.calls, expected);
    EXPECT_EQ(ge.applicationsAlive, 0);
}

TEST(Step1Command, WarnsOnTheFirstPressOnly) {
    MainWindowModel form;
    FakeGoogleEarth ge;
    for (int press = 1; press <= 3; ++press) {
        ge.messages.clear();
        runStep1(form, ge);
        if (press == 1) {
            ASSERT_EQ(ge.messages.size(), 1u);
            EXPECT_EQ(ge.messages[0].text, kWarning);
            EXPECT_EQ(ge.messages[0].title, "KartoVex");
        } else {
            EXPECT_TRUE(ge.messages.empty()) << "press " << press;
        }
    }
    EXPECT_EQ(form.step1Clicks, 2);
    EXPECT_EQ(ge.applicationsCreated, 3);
}

TEST(Step1Command, NorthSouthDistanceIsPositiveEitherWay) {
    const struct {
        ViewExtents first, second;
        const char* label8;
    } rows[] = {
        {{40.5, 40.25}, {40.5, 40.25}, "N-S DIS: 27.75 km"},
        {{40.25, 40.5}, {40.25, 40.5}, "N-S DIS: 27.75 km"},
        // South comes from the first read, North from the second.
        {{99, 40.25}, {40.5, -99}, "N-S DIS: 27.75 km"},
        {{-33.5, -34}, {-33.5, -34}, "N-S DIS: 55.5 km"},
        {{10, 10}, {10, 10}, "N-S DIS: 0 km"},
    };
    for (const auto& r : rows) {
        MainWindowModel form;
        FakeGoogleEarth ge;
        ge.extents = {r.first, r.second};
        runStep1(form, ge);
        EXPECT_EQ(form.caption("Label8"), r.label8);
    }
}

TEST(Step1Command, StoresAllCornersAndShowsTwoInDegreesAndMinutes) {
    const struct {
        PointOnTerrain upperLeft, lowerRight;
        const char *zuoshanglong, *zuoshanglat, *youxialong, *youxialat;
        const char *strZuoshangLong, *strYouxiaLat;
    } rows[] = {
        {{39.9, 110.5}, {38.1, 112.5}, "11030", "3954", "11230", "3806", "110.5", "38.1"},
        {{-0.5, 110.123456},
         {25.999999, -0.5},
         "11007.4074",
         "-30",
         "-30",
         "2559.9999",
         "110.123456",
         "25.999999"},
        {{40, 110}, {-40, -110}, "11000", "4000", "-11000", "-4000", "110", "-40"},
        {{25 + 59.99996 / 60, 0},
         {-(25 + 59.99996 / 60), 180},
         "0",
         "2600",
         "18000",
         "-2600",
         "0",
         "-25.9999993333333"},
    };
    for (const auto& r : rows) {
        MainWindowModel form;
        FakeGoogleEarth ge;
        ge.points[{-1, 1}] = r.upperLeft;
        ge.points[{1, -1}] = r.lowerRight;
        runStep1(form, ge);
        EXPECT_EQ(form.caption("zuoshanglong"), r.zuoshanglong) << r.strZuoshangLong;
        EXPECT_EQ(form.caption("zuoshanglat"), r.zuoshanglat) << r.strZuoshangLong;
        EXPECT_EQ(form.caption("youxialong"), r.youxialong) << r.strZuoshangLong;
        EXPECT_EQ(form.caption("youxialat"), r.youxialat) << r.strZuoshangLong;
        EXPECT_EQ(form.corners.strZuoshangLong, r.strZuoshangLong);
        EXPECT_EQ(form.corners.strYouxiaLat, r.strYouxiaLat);
    }
}

TEST(Step1Command, CentreIsTheMeanOfTheFiveStoredPointsInTheirOwnOrder) {
    // Latitudes upper left, upper right, lower right, lower left, sampled centre.
    const struct {
        double latitudes[5];
        PointOnTerrain sampledCentre;
        const char *strCenterLong, *strCenterLat;
    } rows[] = {
        {{39.9, 39.9, 38.1, 38.1, 39.0}, {39.0, 111.5}, "111.5", "39"},
        {{39.9, 39.9, 38.1, 38.1, 39.9}, {39.9, 112.5}, "111.7", "39.18"},
        // Across the equator the order of the sum shows: clockwise it leaves -2.2E-17.
        {{0.6, 0.8, -0.6, -0.8, 0}, {0, 111.5}, "111.5", "0"},
    };
    const std::pair<double, double> order[] = {{-1, 1}, {1, 1}, {1, -1}, {-1, -1}, {0, 0}};
    for (const auto& r : rows) {
        MainWindowModel form;
        FakeGoogleEarth ge;
        for (int i = 0; i < 5; ++i) ge.points[order[i]].latitude = r.latitudes[i];
        ge.points[{0, 0}] = r.sampledCentre;
        runStep1(form, ge);
        EXPECT_EQ(form.corners.strCenterLong, r.strCenterLong);
        EXPECT_EQ(form.corners.strCenterLat, r.strCenterLat);
    }
}

TEST(Step1Command, CornersAreStoredAlsoWhenTheViewIsNotFullScreen) {
    MainWindowModel form;
    FakeGoogleEarth ge;
    ge.renderRect = WindowRect{-8, -8, 1288, 1000};
    runStep1(form, ge);
    EXPECT_EQ(form.caption("Label7"), "NO");
    const std::vector<std::string> expected = {"110.5", "39.9",  "112.5", "39.9",  "112.5",
                                               "38.1",  "110.5", "38.1",  "111.5", "39"};
    EXPECT_EQ(allCornerTexts(form.corners), expected);
    EXPECT_EQ(form.caption("youxialong"), "11230");
}

TEST(Step1Command, CornerTextsNeverTakeAnExponent) {
    MainWindowModel form;
    FakeGoogleEarth ge;
    ge.points[{-1, 1}] = {-2.5e-30, 1e-7};
    ge.points[{1, 1}] = {1e-5, -3e-12};
    runStep1(form, ge);
    EXPECT_EQ(form.corners.strZuoshangLong, "0.0000001");
    EXPECT_EQ(form.corners.strZuoshangLat, "-0.0000000000000000000000000000025");
    EXPECT_EQ(form.corners.strYoushangLong, "-0.000000000003");
    EXPECT_EQ(form.caption("zuoshanglong"), "0");
    for (const auto& t : allCornerTexts(form.corners))
        EXPECT_EQ(t.find_first_of("Ee"), std::string::npos) << t;
}

TEST(Step1Command, WaitsUntilTheCameraHasLanded) {
    MainWindowModel form;
    FakeGoogleEarth ge;
    ge.pollsInFlight = 5;
    runStep1(form, ge);
    EXPECT_EQ(form.caption("Label7"), "YES");
    EXPECT_EQ(ge.count("GetCamera"), 1 + 6);
    EXPECT_GE(ge.clock - std::chrono::steady_clock::time_point{}, 5 * 20ms);
    EXPECT_LE(ge.clock - std::chrono::steady_clock::time_point{}, 5 * 50ms);
    // No corner is read before the camera reports the level view.
    const auto lastPoll = std::find(ge.calls.rbegin(), ge.calls.rend(), "GetCamera(false)");
    const auto firstCorner = std::find(ge.calls.begin(), ge.calls.end(), "GetViewExtents");
    EXPECT_LT(ge.calls.rend() - lastPoll, firstCorner - ge.calls.begin() + 1);
}

TEST(Step1Command, LandedCameraMayReportItsAnglesAnotherWay) {
    const struct {
        const char* name;
        double longitude;
        std::function<CameraInfo(CameraInfo)> landedAs;
    } rows[] = {
        {"azimuth 360", 112.58,
         [](CameraInfo c) {
             c.azimuth = 360;
             return c;
         }},
        {"azimuth just below 360", 112.58,
         [](CameraInfo c) {
             c.azimuth = 359.99999999;
             return c;
         }},
        {"azimuth just below 0", 112.58,
         [](CameraInfo c) {
             c.azimuth = -1e-7;
             return c;
         }},
        {"longitude 180 as -180", 180,
         [](CameraInfo c) {
             c.focusPointLongitude = -180;
             return c;
         }},
        {"longitude plus a turn", 112.58,
         [](CameraInfo c) {
             c.focusPointLongitude += 360;
             return c;
         }},
        {"range a billionth off", 112.58,
         [](CameraInfo c) {
             c.range *= 1 + 1e-9;
             return c;
         }},
        {"focus a hundred-millionth off", 112.58,
         [](CameraInfo c) {
             c.focusPointLatitude += 1e-8;
             return c;
         }},
    };
    for (const auto& r : rows) {
        MainWindowModel form;
        FakeGoogleEarth ge;
        ge.camera.focusPointLongitude = r.longitude;
        ge.landedAs = r.landedAs;
        runStep1(form, ge);
        EXPECT_EQ(form.caption("Label7"), "YES") << r.name;
        EXPECT_EQ(ge.count("GetCamera"), 2) << r.name;
    }
}

TEST(Step1Command, CameraThatNeverLandsFailsThePressAfterTenSeconds) {
    const struct {
        const char* name;
        int pollsInFlight;
        std::function<CameraInfo(CameraInfo)> landedAs;
    } rows[] = {
        {"still flying", -1, [](CameraInfo c) { return c; }},
        {"tilted", 0,
         [](CameraInfo c) {
             c.tilt = 0.01;
             return c;
         }},
        {"turned", 0,
         [](CameraInfo c) {
             c.azimuth = 1;
             return c;
         }},
        {"elsewhere", 0,
         [](CameraInfo c) {
             c.focusPointLatitude += 1e-5;
             return c;
         }},
        {"further away", 0,
         [](CameraInfo c) {
             c.range *= 1.001;
             return c;
         }},
    };
    for (const auto& r : rows) {
        MainWindowModel form;
        FakeGoogleEarth ge;
        runStep1(form, ge);
        const Geography before = geographyOf(form);
        ge.messages.clear();
        ge.calls.clear();
        ge.clock = {};
        ge.pollsInFlight = r.pollsInFlight;
        ge.landedAs = r.landedAs;
        ge.points[{-1, 1}] = {1, 1};
        runStep1(form, ge);

        const auto waited = ge.clock - std::chrono::steady_clock::time_point{};
        EXPECT_GE(waited, 10s) << r.name;
        EXPECT_LE(waited, 10s + 50ms) << r.name;
        ASSERT_EQ(ge.messages.size(), 1u) << r.name;
        EXPECT_EQ(ge.messages[0].title, "Kartovex");
        EXPECT_NE(ge.messages[0].text.find("error 440: Google Earth's camera did not"),
                  std::string::npos)
            << ge.messages[0].text;
        EXPECT_EQ(form.caption("Label7"), "NO") << r.name;
        EXPECT_EQ(geographyOf(form), before) << r.name;
        EXPECT_EQ(ge.count("GetRenderHwnd"), 0) << r.name;
        EXPECT_EQ(ge.applicationsAlive, 0) << r.name;
    }
}

TEST(Step1Command, FailingPressReportsAndKeepsTheLastCompletedPress) {
    const struct {
        const char* call;
        int nth;
        long number;
        const char* description;
    } rows[] = {
        {"screenMetrics", 1, 6, "Overflow"},
        {"connect", 1, 429, "ActiveX component can't create object"},
        {"GetCamera", 1, 440, "The automation server went away"},
        {"SetCameraParams", 1, 440, "Automation error"},
        {"GetCamera", 2, 440, "The call did not answer within 5 seconds"},
        {"GetRenderHwnd", 1, 440, "Automation error"},
        {"getWindowRect", 1, 440, "Automation error"},
        {"GetViewExtents", 1, 440, "Automation error"},
        {"GetViewExtents", 2, 440, "Automation error"},
        {"GetPointOnTerrainFromScreenCoords", 1, 440, "Automation error"},
        {"GetPointOnTerrainFromScreenCoords", 3, 440, "Automation error"},
        {"GetPointOnTerrainFromScreenCoords", 5, 440, "Automation error"},
    };
    for (const auto& r : rows) {
        const std::string where = std::string(r.call) + " #" + std::to_string(r.nth);
        MainWindowModel form;
        FakeGoogleEarth ge;
        runStep1(form, ge);
        ASSERT_EQ(form.caption("Label7"), "YES");
        const Geography before = geographyOf(form);

        // A different view that must not reach the window.
        ge.extents = {{50, 49}};
        for (auto& [xy, p] : ge.points) p = {p.latitude + 1, p.longitude + 1};
        ge.calls.clear();
        ge.messages.clear();
        ge.failOn(r.call, r.nth, RuntimeError(r.number, r.description));
        runStep1(form, ge);

        ASSERT_EQ(ge.messages.size(), 1u) << where;
        EXPECT_EQ(ge.messages[0].title, "Kartovex");
        EXPECT_EQ(ge.messages[0].text.rfind("Step 1 failed with error " + std::to_string(r.number) +
                                                ": " + r.description + "\n",
                                            0),
                  0u)
            << ge.messages[0].text;
        EXPECT_EQ(form.caption("Label7"), "NO") << where;
        EXPECT_EQ(geographyOf(form), before) << where;
        EXPECT_EQ(ge.applicationsAlive, 0) << where;

        // The press stops at the failing call; Google Earth is let go before the report.
        std::vector<std::string> tail(ge.calls.end() - 2, ge.calls.end());
        if (ge.applicationsCreated == 2)
            EXPECT_EQ(tail[0], "release") << where;
        else
            EXPECT_EQ(tail[0].rfind(r.call, 0), 0u) << where;
        EXPECT_EQ(tail[1], "messageBox(Kartovex)") << where;
        EXPECT_EQ(ge.count(r.call), r.nth) << where;
    }
}

TEST(Step1Command, FirstPressThatFailsStillWarnsFirst) {
    MainWindowModel form;
    FakeGoogleEarth ge;
    ge.failOn("connect", 1, RuntimeError(429, "ActiveX component can't create object"));
    runStep1(form, ge);
    ASSERT_EQ(ge.messages.size(), 2u);
    EXPECT_EQ(ge.messages[0].text, kWarning);
    EXPECT_EQ(ge.messages[1].title, "Kartovex");
    EXPECT_EQ(form.caption("Label7"), "NO");
    EXPECT_EQ(form.caption("Label8"), "");
    EXPECT_EQ(allCornerTexts(form.corners), std::vector<std::string>(10));
}

TEST(Step1Command, NumbersThatAreNotNumbersFailThePress) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        const char* name;
        std::function<void(FakeGoogleEarth&)> spoil;
    } rows[] = {
        {"camera range", [=](FakeGoogleEarth& ge) { ge.camera.range = inf; }},
        {"camera latitude", [=](FakeGoogleEarth& ge) { ge.camera.focusPointLatitude = nan; }},
        {"south edge",
         [=](FakeGoogleEarth& ge) {
             ge.extents = {{40, nan}};
         }},
        {"corner longitude",
         [=](FakeGoogleEarth& ge) {
             ge.points[{1, 1}].longitude = -inf;
         }},
        {"centre latitude",
         [=](FakeGoogleEarth& ge) {
             ge.points[{0, 0}].latitude = nan;
         }},
        {"screen twips per pixel", [=](FakeGoogleEarth& ge) { ge.metrics.twipsPerPixelX = 0; }},
        {"screen height", [=](FakeGoogleEarth& ge) { ge.metrics.heightTwips = 1e300; }},
    };
    for (const auto& r : rows) {
        MainWindowModel form;
        FakeGoogleEarth ge;
        runStep1(form, ge);
        const Geography before = geographyOf(form);
        ge.messages.clear();
        r.spoil(ge);
        runStep1(form, ge);
        ASSERT_EQ(ge.messages.size(), 1u) << r.name;
        EXPECT_EQ(ge.messages[0].title, "Kartovex") << r.name;
        EXPECT_EQ(form.caption("Label7"), "NO") << r.name;
        EXPECT_EQ(geographyOf(form), before) << r.name;
        EXPECT_EQ(ge.applicationsAlive, 0) << r.name;
    }
}

}  // namespace
}  // namespace kartovex
