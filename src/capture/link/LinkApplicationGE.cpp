#include "LinkApplicationGE.h"

#include <cmath>

#include "ReportedView.h"
#include "model/RuntimeError.h"

namespace kartovex {

namespace {

CameraInfo cameraOf(const ViewReport& v) {
    // The look-at point lies on the ground.
    return {v.lookAtLatitude, v.lookAtLongitude, 0.0, v.range, v.tilt, v.heading};
}

}  // namespace

LinkApplicationGE::LinkApplicationGE(ViewExchange& exchange, LinkStatus status,
                                     std::function<ViewExchange::Clock::time_point()> now,
                                     PressView pressView)
    : exchange_(exchange),
      status_(std::move(status)),
      now_(std::move(now)),
      pressView_(std::move(pressView)) {
    pressView_->reset();
    report();
}

// A press that ends before Google Earth took its flight had the view it asked for
// already; a flight sent later would only pull the user back.
LinkApplicationGE::~LinkApplicationGE() {
    exchange_.withdrawFlight();
}

ViewExchange::Latest LinkApplicationGE::currentReport(const ViewExchange& exchange,
                                                      const LinkStatus& status,
                                                      ViewExchange::Clock::time_point now) {
    if (!status.failure.empty()) throw RuntimeError(error::CannotCreateObject, status.failure);
    const ViewExchange::Latest latest = exchange.latest();
    const std::string open = "open the link file " + status.linkFile +
                             " in Google Earth (File > Open) and keep it in My Places";
    // Worth a word only while an old copy of the link keeps asking and nothing else
    // reports: one stray request is no reason to remove anything.
    const std::string oldKey = latest.wrongKeyAt && now - *latest.wrongKeyAt <= kStaleAfter
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
    return latest;
}

CameraInfo LinkApplicationGE::GetCamera(bool) {
    const ViewExchange::Latest latest = report();
    if (awaitedFlight_ && latest.flight != awaitedFlight_) return cameraOf(beforeFlight_);
    return cameraOf(*latest.view);
}

void LinkApplicationGE::SetCameraParams(double latitude, double longitude, double altitude, int,
                                        double range, double tilt, double azimuth, double) {
    beforeFlight_ = *report().view;
    pressView_->reset();
    awaitedFlight_ = exchange_.flyTo({latitude, longitude, altitude, range, tilt, azimuth});
}

const ViewReport& LinkApplicationGE::pressView() {
    if (!*pressView_) *pressView_ = *report().view;
    return **pressView_;
}

std::int32_t LinkApplicationGE::GetRenderHwnd() {
    pressView();
    return kRenderHwnd;
}

ViewExtents LinkApplicationGE::GetViewExtents() {
    const ViewReport& v = pressView();
    return {v.north, v.south};
}

PointOnTerrain LinkApplicationGE::GetPointOnTerrainFromScreenCoords(double x, double y) {
    return ReportedView(pressView()).pointOnTerrain(x, y);
}

// No tighter than Google Earth prints: the range to 0.01 m, angles to 0.001 degree. After a
// flight Google Earth derives the look-at point afresh from its camera, a few metres from
// the one asked for; the flight's cookie, not the point, tells its reports from older ones.
SettleTolerance LinkApplicationGE::settleTolerance() const {
    SettleTolerance t;
    t.focusDegrees = 1e-4;
    t.angleDegrees = 0.001;
    t.rangeRelative = 1e-4;
    t.rangeMetres = 0.01;
    return t;
}

}  // namespace kartovex
