#pragma once

#include <chrono>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "ViewReport.h"

namespace kartovex {

// A view that Google Earth is to fly to: KML's LookAt, altitude relative to the ground.
struct LookAt {
    double latitude = 0, longitude = 0, altitude = 0, range = 0, tilt = 0, heading = 0;
};

// What the link's server thread and Step 1's press share, under one lock: the latest
// view report, and the one flight waiting to be sent. The server hands every request to
// receive(); the press reads latest() and asks for flights.
class ViewExchange {
public:
    using Clock = std::chrono::steady_clock;

    explicit ViewExchange(std::string key);

    struct Answer {
        int status = 200;
        std::string body;  // KML, or the reason for a 400
    };
    // A request's query: a bad one is refused with 400 and changes nothing, except that a
    // wrong key is remembered for the message of a failing press.
    Answer receive(std::string_view query, Clock::time_point now);

    struct Latest {
        std::optional<ViewReport> view;
        Clock::time_point at{};
        std::optional<long> flight;                   // the cookie that report carried back
        std::optional<Clock::time_point> wrongKeyAt;  // the last request from an old link
    };
    Latest latest() const;

    // The next answer, and only that one, carries this view. Returns the flight's cookie:
    // the reports that carry it back were made after Google Earth received the flight.
    long flyTo(const LookAt& view);
    // A flight not yet sent is dropped: the view it asked for is already there.
    void withdrawFlight();

private:
    std::string answerText();

    const std::string key_;
    mutable std::mutex mutex_;
    Latest latest_;
    std::optional<LookAt> pending_;
    long flights_ = 0;          // the cookie of the latest flight asked for
    std::optional<long> sent_;  // the cookie of the latest flight sent
};

}  // namespace kartovex
