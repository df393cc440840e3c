#include <gtest/gtest.h>

#include <string>

#include "capture/link/LinkApplicationGE.h"
#include "capture/link/LinkFile.h"
#include "capture/link/ViewExchange.h"
#include "model/RuntimeError.h"

namespace kartovex {
namespace {

using namespace std::chrono_literals;
using Clock = ViewExchange::Clock;

const std::string kKey(32, 'a');

// A report in the form Google Earth sends: varying decimals, a negative heading, and the
// encoded line breaks and tabs of a view format written over several lines.
std::string report(const std::string& tilt = "0", const std::string& width = "1306",
                   const std::string& key = kKey) {
    return "key=" + key +
           "&BBOX=10.20045469843596,43.66302191930933,10.66672168693798,43.8667284090175"
           "%0A%09%09%09&LOOKAT=10.43397248408143,43.76510665598479,29287.22," +
           tilt +
           ",-0.556&TERRAIN=10.43397243010223,43.76510664670415,13.83"
           "&CAMERA=10.43397248408143,43.76510665598479,29301.05"
           "%0A%09&FOV=60,38.141&PIXELS=" +
           width + ",782&TERRAIN_ON=1";
}

TEST(LinkExchange, BadReportsAreRefusedAndChangeNothing) {
    ViewExchange exchange(kKey);
    const Clock::time_point t0{};
    ASSERT_EQ(exchange.receive(report(), t0).status, 200);

    std::string noBox = report();
    noBox.erase(noBox.find("&BBOX"), noBox.find("&LOOKAT") - noBox.find("&BBOX"));
    const struct {
        const char* what;
        std::string query;
    } rows[] = {
        {"missing value", noBox},
        {"non-numeric", report("level")},
        {"NaN", report("nan")},
        {"infinity", report("inf")},
        {"tilt of 200", report("200")},
        {"negative width", report("0", "-1306")},
        {"fractional width", report("0", "1306.5")},
        {"100 KB query", report() + "&pad=" + std::string(100 * 1024, 'x')},
        {"wrong key", report("0", "1306", std::string(32, 'b'))},
        {"missing key", report().substr(report().find('&') + 1)},
    };
    for (const auto& row : rows) {
        const ViewExchange::Answer answer = exchange.receive(row.query, t0 + 1s);
        EXPECT_EQ(answer.status, 400) << row.what;
        EXPECT_EQ(exchange.latest().at, t0) << row.what;
        EXPECT_EQ(exchange.latest().view->width, 1306) << row.what;
    }
    EXPECT_TRUE(exchange.latest().wrongKeySeen);
    EXPECT_EQ(exchange.receive(report(), t0 + 2s).status, 200);
    EXPECT_EQ(exchange.latest().view->heading, -0.556);
    EXPECT_EQ(exchange.latest().view->range, 29287.22);
}

TEST(LinkExchange, AFlightIsSentInExactlyOneAnswerAndItsCookieRidesOnTheRest) {
    ViewExchange exchange(kKey);
    EXPECT_EQ(exchange.receive(report(), {}).body.find("NetworkLinkControl"), std::string::npos);
    exchange.flyTo({43.5, 10.25, 0, 29287.22, 0, 0});
    const std::string flight = exchange.receive(report(), {}).body;
    EXPECT_NE(flight.find("<cookie>flight=1</cookie><LookAt><longitude>10.25</longitude>"
                          "<latitude>43.5</latitude><altitude>0</altitude><heading>0</heading>"
                          "<tilt>0</tilt><range>29287.22</range>"),
              std::string::npos)
        << flight;
    const std::string after = exchange.receive(report() + "&flight=1", {}).body;
    EXPECT_EQ(after.find("LookAt"), std::string::npos);
    EXPECT_NE(after.find("<cookie>flight=1</cookie>"), std::string::npos);

    exchange.flyTo({43.5, 10.25, 0, 29287.22, 0, 0});
    exchange.withdrawFlight();
    EXPECT_EQ(exchange.receive(report(), {}).body.find("LookAt"), std::string::npos);
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
    exchange.receive(report(), t0);
    now = t0 + 5s;
    EXPECT_EQ(press(serving), "ok");
    now = t0 + 6s;
    EXPECT_NE(press(serving).find("came 6 s ago"), std::string::npos);
    exchange.receive(report("0", "1306", std::string(32, 'c')), t0 + 6s);
    EXPECT_NE(press(serving).find("remove the old Kartovex link from My Places"),
              std::string::npos);
    exchange.receive(report(), t0 + 6s);  // a fresh report: the old link is no failure
    EXPECT_EQ(press(serving), "ok");
    EXPECT_EQ(press({serving.linkFile, "port taken"}), "port taken");
}

}  // namespace
}  // namespace kartovex
