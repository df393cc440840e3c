#include <gtest/gtest.h>

#include <string>

#include "capture/Step1Command.h"
#include "capture/link/LinkApplicationGE.h"
#include "capture/link/LinkFile.h"
#include "capture/link/ReportedView.h"
#include "capture/link/ViewExchange.h"
#include "model/Log.h"
#include "model/NumberText.h"
#include "model/RuntimeError.h"

namespace kartovex {
namespace {

using namespace std::chrono_literals;
using Clock = ViewExchange::Clock;

const std::string kKey(32, 'a');

// A report in the form Google Earth sends: varying decimals, a negative heading, and the
// encoded line breaks and tabs of a view format written over several lines.
const std::string kReport =
    "key=" + kKey +
    "&BBOX=10.20045469843596,43.66302191930933,10.66672168693798,43.8667284090175"
    "%0A%09%09%09&LOOKAT=10.43397248408143,43.76510665598479,29287.22,0,-0.556"
    "&TERRAIN=10.43397243010223,43.76510664670415,13.83"
    "&CAMERA=10.43397248408143,43.76510665598479,29301.05"
    "%0A%09&FOV=60,38.141&PIXELS=1306,782&TERRAIN_ON=1";

// The report with the first `from` replaced.
std::string with(const std::string& from, const std::string& to, std::string query = kReport) {
    return query.replace(query.find(from), from.size(), to);
}

TEST(LinkExchange, BadReportsAreRefusedAndChangeNothing) {
    ViewExchange exchange(kKey);
    const Clock::time_point t0{};
    ASSERT_EQ(exchange.receive(kReport, t0).status, 200);

    const struct {
        const char* what;
        std::string query;
    } rows[] = {
        {"missing value", with("&BBOX=", "&BOX=")},
        {"non-numeric", with("29287.22,0,", "29287.22,level,")},
        {"NaN", with("29287.22,0,", "29287.22,nan,")},
        {"tilt of 200", with("29287.22,0,", "29287.22,200,")},
        {"fractional width", with("1306,", "1306.5,")},
        {"field of view of 180", with("FOV=60,", "FOV=180,")},
        {"field of view of 1e-300", with("38.141&", "1e-300&")},
        {"range of 4.9e-324", with("29287.22", "4.9e-324")},
        {"100 KB query", kReport + "&pad=" + std::string(100 * 1024, 'x')},
        {"wrong key", with(kKey, std::string(32, 'b'))},
    };
    for (const auto& row : rows) {
        const ViewExchange::Answer answer = exchange.receive(row.query, t0 + 1s);
        EXPECT_EQ(answer.status, 400) << row.what;
        EXPECT_EQ(exchange.latest().at, t0) << row.what;
    }
    ASSERT_EQ(exchange.receive(with(",-0.556", "%2C-0.556"), t0 + 2s).status, 200);
    EXPECT_EQ(exchange.latest().view->heading, -0.556);
    EXPECT_EQ(exchange.latest().view->range, 29287.22);
}

TEST(LinkExchange, AFlightIsSentInExactlyOneAnswer) {
    ViewExchange exchange(kKey);
    exchange.flyTo({43.5, 10.25, 0, 29287.22, 0, 0});
    EXPECT_NE(exchange.receive(kReport, {}).body.find("<LookAt>"), std::string::npos);
    EXPECT_EQ(exchange.receive(kReport, {}).body.find("LookAt"), std::string::npos);

    exchange.flyTo({43.5, 10.25, 0, 29287.22, 0, 0});
    exchange.withdrawFlight();
    EXPECT_EQ(exchange.receive(kReport, {}).body.find("LookAt"), std::string::npos);
}

// Google Earth as the settle wait sees it: each pause is one refresh, which sends the next
// scripted report with the cookie of the last answer; a refresh also comes in the middle
// of the press's reads, when the window's rectangle is asked for.
class ScriptedGoogleEarth : public GoogleEarthPlatform {
public:
    explicit ScriptedGoogleEarth(std::vector<std::string> refreshes)
        : refreshes_(std::move(refreshes)) {
        refresh(with("29287.22,0,-0.556", "29287.22,35,20"));
    }

    ViewExchange exchange{kKey};
    std::vector<std::string> shown;

    std::unique_ptr<ApplicationGE> connect() override {
        return std::make_unique<LinkApplicationGE>(exchange, LinkStatus{"link.kml", ""},
                                                   [this] { return now(); });
    }
    ScreenMetrics screenMetrics() override { return {1306 * 15, 782 * 15, 15, 15}; }
    bool getWindowRect(std::int32_t, WindowRect& rect) override {
        rect = {0, 0, 1306, 782};
        refresh(with("10.43397248408143,43.76510665598479,29287.22", "10.5,43.8,29287.22"));
        return true;
    }
    void messageBox(const std::string& text, const std::string&) override { shown.push_back(text); }
    Clock::time_point now() override { return clock_; }
    void pause(std::chrono::milliseconds duration) override {
        clock_ += duration;
        if (next_ < refreshes_.size()) refresh(refreshes_[next_++]);
    }

private:
    void refresh(std::string query) {
        const auto cookie = cookie_.find("flight=");
        if (cookie != std::string::npos) query += "&" + cookie_.substr(cookie);
        const std::string body = exchange.receive(query, clock_).body;
        const auto from = body.find("<cookie>"), to = body.find("</cookie>");
        if (from != std::string::npos) cookie_ = body.substr(from + 8, to - from - 8);
    }

    std::vector<std::string> refreshes_;
    std::size_t next_ = 0;
    std::string cookie_ = "flight=7";  // from an earlier run
    Clock::time_point clock_{};
};

// Levelled, Google Earth derives the look-at point afresh a few metres from the one asked
// for, and prints range and angles to its own precision; a report that is level but made
// before the flight arrived (no cookie of it yet) is no sign of arrival.
TEST(LinkExchange, APressTakesTheFlightsReportAndReadsItAlone) {
    const std::string beforeFlight = with(",-0.556", ",0");
    const std::string arrived =
        with("43.76510665598479,29287.22,0,-0.556", "43.76513,29287.23,0.0004,359.9996");
    ScriptedGoogleEarth earth({beforeFlight, arrived});
    MainWindowModel form;
    NoLog log;
    form.step1Clicks = 1;
    runStep1(form, earth, log);
    ASSERT_TRUE(earth.shown.empty()) << earth.shown[0];
    EXPECT_EQ(form.caption("Label7"), "YES");

    std::string error;
    const ReportedView expected(parseLinkRequest(arrived, error)->view);
    for (const GroundPoint& p : form.grid.points) {
        const PointOnTerrain ground = expected.pointOnTerrain(p.x, p.y);
        EXPECT_EQ(p.longitude, ground.longitude) << p.x << "," << p.y;
        EXPECT_EQ(p.latitude, ground.latitude) << p.x << "," << p.y;
    }
}

// One application may fly many times, as an area's capture does: each flight's reads come
// from a report made after it.
TEST(LinkExchange, EachFlightIsReadFromItsOwnReport) {
    ViewExchange exchange(kKey);
    exchange.receive(kReport, {});
    LinkApplicationGE app(exchange, {"link.kml", ""}, [] { return Clock::time_point{}; });
    EXPECT_EQ(app.GetViewExtents().north, 43.8667284090175);
    app.SetCameraParams(44, 10.4, 0, 1, 29287.22, 0, 0, 5);
    const std::string answer = exchange.receive(kReport, {}).body;
    const auto cookie = answer.find("flight=");
    exchange.receive(with("43.8667284090175", "44.1") + "&" +
                         answer.substr(cookie, answer.find('<', cookie) - cookie),
                     {});
    EXPECT_EQ(app.GetViewExtents().north, 44.1);
}

TEST(LinkExchange, APressFailsWithWhatTheUserCanDo) {
    ViewExchange exchange(kKey);
    const Clock::time_point t0{};
    Clock::time_point now = t0;
    auto press = [&](const LinkStatus& status) -> std::string {
        try {
            LinkApplicationGE app(exchange, status, [&] { return now; });
            return "ok";
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.number(), error::CannotCreateObject);
            return e.description();
        }
    };
    const LinkStatus serving{"/home/u/kartovex-link.kml", ""};
    EXPECT_NE(press(serving).find("has not reported its view through the link yet: start Google "
                                  "Earth and open the link file /home/u/kartovex-link.kml"),
              std::string::npos);
    exchange.receive(kReport, t0);
    now = t0 + 5s;
    EXPECT_EQ(press(serving), "ok");
    now = t0 + 6s;
    const std::string oldLink = "remove the old Kartovex link from My Places";
    EXPECT_NE(press(serving).find("came 6 s ago"), std::string::npos);
    EXPECT_EQ(press(serving).find(oldLink), std::string::npos);
    exchange.receive(with(kKey, std::string(32, 'c')), t0 + 6s);
    EXPECT_NE(press(serving).find(oldLink), std::string::npos);
    now = t0 + 12s;  // one stray request long ago is no old link
    EXPECT_EQ(press(serving).find(oldLink), std::string::npos);
    exchange.receive(kReport, now);
    EXPECT_EQ(press(serving), "ok");
    EXPECT_EQ(press({serving.linkFile, "port taken"}), "port taken");
}

}  // namespace
}  // namespace kartovex
