#include "ViewExchange.h"

#include <random>

#include "model/NumberText.h"

namespace kartovex {

// Google Earth keeps the last cookie it was given across our restarts: cookies counted from
// a random start are not taken for those of an earlier run.
ViewExchange::ViewExchange(std::string key) : key_(std::move(key)) {
    std::random_device source;
    flights_ = std::uniform_int_distribution<long>(1, 1L << 29)(source);
}

ViewExchange::Answer ViewExchange::receive(std::string_view query, Clock::time_point now) {
    std::string error;
    const std::optional<LinkRequest> request = parseLinkRequest(query, error);
    const std::lock_guard lock(mutex_);
    if (request && request->key != key_) {
        latest_.wrongKeyAt = now;
        return {400, "Wrong key: this link is not the one Kartovex wrote.\n"};
    }
    if (!request) return {400, "Bad view report: " + error + ".\n"};
    latest_.view = request->view;
    latest_.at = now;
    latest_.flight = request->flight;
    return {200, answerText()};
}

std::string ViewExchange::answerText() {
    std::string control;
    if (pending_) {
        sent_ = flights_;
        const LookAt& v = *pending_;
        control = "<LookAt><longitude>" + plainText(v.longitude) + "</longitude><latitude>" +
                  plainText(v.latitude) + "</latitude><altitude>" + plainText(v.altitude) +
                  "</altitude><heading>" + plainText(v.heading) + "</heading><tilt>" +
                  plainText(v.tilt) + "</tilt><range>" + plainText(v.range) +
                  "</range><altitudeMode>relativeToGround</altitudeMode></LookAt>";
        pending_.reset();
    }
    // The cookie rides on every answer once a flight was sent, so reports made after it
    // began can be told from older ones.
    if (sent_)
        control = "<NetworkLinkControl><cookie>flight=" + std::to_string(*sent_) + "</cookie>" +
                  control + "</NetworkLinkControl>";
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<kml xmlns=\"http://www.opengis.net/kml/2.2\">" +
           control + "</kml>\n";
}

ViewExchange::Latest ViewExchange::latest() const {
    const std::lock_guard lock(mutex_);
    return latest_;
}

long ViewExchange::flyTo(const LookAt& view) {
    const std::lock_guard lock(mutex_);
    pending_ = view;
    return ++flights_;
}

void ViewExchange::withdrawFlight() {
    const std::lock_guard lock(mutex_);
    pending_.reset();
}

}  // namespace kartovex
