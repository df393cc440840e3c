#pragma once

#include <chrono>
#include <functional>
#include <string>

#include "ViewExchange.h"
#include "capture/GoogleEarth.h"

namespace kartovex {

// Why the link cannot serve: its port was taken, or the link file could not be written.
// Empty when it serves.
struct LinkStatus {
    std::string linkFile;  // where the link file is
    std::string failure;
};

// IApplicationGE through the network link, for one press: the camera is Google Earth's
// latest view report, levelling is a flight sent in the next answer, and the ground under
// a screen point is computed from the report.
class LinkApplicationGE : public ApplicationGE {
public:
    // Reports older than this mean Google Earth was closed or the link removed: five
    // refresh intervals.
    static constexpr std::chrono::seconds kStaleAfter{5};
    static constexpr std::int32_t kRenderHwnd = 1;

    LinkApplicationGE(ViewExchange& exchange, LinkStatus status,
                      std::function<ViewExchange::Clock::time_point()> now);
    ~LinkApplicationGE() override;

    CameraInfo GetCamera(bool considerTerrain) override;
    void SetCameraParams(double latitude, double longitude, double altitude, int altitudeMode,
                         double range, double tilt, double azimuth, double speed) override;
    std::int32_t GetRenderHwnd() override { return kRenderHwnd; }
    ViewExtents GetViewExtents() override;
    PointOnTerrain GetPointOnTerrainFromScreenCoords(double x, double y) override;
    SettleTolerance settleTolerance() const override;

    // The latest report, or a RuntimeError that says what the user can do about it.
    static ViewReport currentView(const ViewExchange& exchange, const LinkStatus& status,
                                  ViewExchange::Clock::time_point now);

private:
    ViewReport view() const { return currentView(exchange_, status_, now_()); }

    ViewExchange& exchange_;
    LinkStatus status_;
    std::function<ViewExchange::Clock::time_point()> now_;
};

}  // namespace kartovex
