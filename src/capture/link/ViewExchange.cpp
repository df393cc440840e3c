#include "ViewExchange.h"

#include "model/NumberText.h"

namespace kartovex {

ViewExchange::ViewExchange(std::string key) : key_(std::move(key)) {}

ViewExchange::Answer ViewExchange::receive(std::string_view query, Clock::time_point now) {
    std::string error;
    const std::optional<LinkRequest> request = parseLinkRequest(query, error);
    const std::lock_guard lock(mutex_);
    if (request && request->key != key_) {
        latest_.wrongKeySeen = true;
        return {400, "Wrong key: this link is not the one Kartovex wrote.\n"};
    }
    if (!request) return {400, "Bad view report: " + error + ".\n"};
    latest_.view = request->view;
    latest_.at = now;
    return {200, answerText()};
}

std::string ViewExchange::answerText() {
    std::string control;
    if (pending_) {
        ++flights_;
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
    if (flights_ > 0)
        control = "<NetworkLinkControl><cookie>flight=" + std::to_string(flights_) + "</cookie>" +
                  control + "</NetworkLinkControl>";
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<kml xmlns=\"http://www.opengis.net/kml/2.2\">" +
           control + "</kml>\n";
}

ViewExchange::Latest ViewExchange::latest() const {
    const std::lock_guard lock(mutex_);
    return latest_;
}

void ViewExchange::flyTo(const LookAt& view) {
    const std::lock_guard lock(mutex_);
    pending_ = view;
}

void ViewExchange::withdrawFlight() {
    const std::lock_guard lock(mutex_);
    pending_.reset();
}

}  // namespace kartovex
