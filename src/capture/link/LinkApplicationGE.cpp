#include "LinkApplicationGE.h"

#include <cmath>

#include "ReportedView.h"
#include "model/RuntimeError.h"

namespace kartovex {

LinkApplicationGE::LinkApplicationGE(ViewExchange& exchange, LinkStatus status,
                                     std::function<ViewExchange::Clock::time_point()> now)
    : exchange_(exchange), status_(std::move(status)), now_(std::move(now)) {
    view();
}

// A press that ends before Google Earth took its flight had the view it asked for
// already; a flight sent later would only pull the user back.
LinkApplicationGE::~LinkApplicationGE() {
    exchange_.withdrawFlight();
}

ViewReport LinkApplicationGE::currentView(const ViewExchange& exchange, const LinkStatus& status,
                                          ViewExchange::Clock::time_point now) {
    if (!status.failure.empty()) throw RuntimeError(error::CannotCreateObject, status.failure);
    const ViewExchange::Latest latest = exchange.latest();
    const std::string open = "open the link file " + status.linkFile +
                             " in Google Earth (File > Open) and keep it in My Places";
    // An old copy of the link in My Places is worth a word only when nothing else reports.
    const std::string oldKey = latest.wrongKeySeen
                                   ? " Google Earth also asks through an old Kartovex link "
                                     "whose key is no longer valid: remove the old Kartovex "
                                     "link from My Places, then open the file again."
                                   : "";
    if (!latest.view)
        throw RuntimeError(error::CannotCreateObject,
                           "Google Earth has not reported its view through the link yet: start "
                           "Google Earth and " +
                               open + "." + oldKey);
    const auto age = std::chrono::duration_cast<std::chrono::seconds>(now - latest.at);
    if (age > kStaleAfter)
        throw RuntimeError(error::CannotCreateObject,
                           "Google Earth's last view report came " + std::to_string(age.count()) +
                               " s ago: Google Earth was closed, or the link was removed from "
                               "My Places. Start Google Earth; if the link is gone, " +
                               open + "." + oldKey);
    return *latest.view;
}

CameraInfo LinkApplicationGE::GetCamera(bool) {
    const ViewReport v = view();
    // The look-at point lies on the ground.
    return {v.lookAtLatitude, v.lookAtLongitude, 0.0, v.range, v.tilt, v.heading};
}

void LinkApplicationGE::SetCameraParams(double latitude, double longitude, double altitude, int,
                                        double range, double tilt, double azimuth, double) {
    view();
    exchange_.flyTo({latitude, longitude, altitude, range, tilt, azimuth});
}

ViewExtents LinkApplicationGE::GetViewExtents() {
    const ViewReport v = view();
    return {v.north, v.south};
}

PointOnTerrain LinkApplicationGE::GetPointOnTerrainFromScreenCoords(double x, double y) {
    return ReportedView(view()).pointOnTerrain(x, y);
}

// Google Earth prints the range to 0.01 m and angles to 0.001 degree.
SettleTolerance LinkApplicationGE::settleTolerance() const {
    SettleTolerance t;
    t.angleDegrees = 0.001;
    t.rangeMetres = 0.01;
    return t;
}

}  // namespace kartovex
