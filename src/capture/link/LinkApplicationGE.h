#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
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

// The one report that every read after the settle wait comes from, until the next flight,
// so that a refresh in the middle of the reads cannot mix two views. Shared with the
// platform, whose window rectangle belongs to the same view.
using PressView = std::shared_ptr<std::optional<ViewReport>>;

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
                      std::function<ViewExchange::Clock::time_point()> now,
                      PressView pressView = std::make_shared<std::optional<ViewReport>>());
    ~LinkApplicationGE() override;

    // Until Google Earth reports a view made after the levelling flight, the camera stays
    // where it was before it.
    CameraInfo GetCamera(bool considerTerrain) override;
    void SetCameraParams(double latitude, double longitude, double altitude, int altitudeMode,
                         double range, double tilt, double azimuth, double speed) override;
    std::int32_t GetRenderHwnd() override;
    ViewExtents GetViewExtents() override;
    PointOnTerrain GetPointOnTerrainFromScreenCoords(double x, double y) override;
    SettleTolerance settleTolerance() const override;

    // The latest report, or a RuntimeError that says what the user can do about it.
    static ViewExchange::Latest currentReport(const ViewExchange& exchange,
                                              const LinkStatus& status,
                                              ViewExchange::Clock::time_point now);

private:
    ViewExchange::Latest report() const { return currentReport(exchange_, status_, now_()); }
    const ViewReport& pressView();

    ViewExchange& exchange_;
    LinkStatus status_;
    std::function<ViewExchange::Clock::time_point()> now_;
    PressView pressView_;
    std::optional<long> awaitedFlight_;
    ViewReport beforeFlight_;
};

}  // namespace kartovex
