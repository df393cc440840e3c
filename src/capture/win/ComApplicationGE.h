#pragma once

#include "AutomationObject.h"
#include "capture/GoogleEarth.h"

namespace kartovex {

// IApplicationGE of one press. Every object a call obtains (camera, view extents, point
// on terrain) is released before the call returns; the application object itself when
// this goes.
class ComApplicationGE : public ApplicationGE {
public:
    explicit ComApplicationGE(AutomationObject application);

    CameraInfo GetCamera(bool considerTerrain) override;
    void SetCameraParams(double latitude, double longitude, double altitude, int altitudeMode,
                         double range, double tilt, double azimuth, double speed) override;
    std::int32_t GetRenderHwnd() override;
    ViewExtents GetViewExtents() override;
    PointOnTerrain GetPointOnTerrainFromScreenCoords(double x, double y) override;
    std::optional<double> StreamingProgressPercentage() override;

private:
    template <typename Call>
    auto tellingStartUp(Call&& call) -> decltype(call());

    AutomationObject application_;
};

}  // namespace kartovex
