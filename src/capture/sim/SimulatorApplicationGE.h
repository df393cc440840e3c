#pragma once

#include <QString>
#include <chrono>

#include "SimulatorConnection.h"
#include "capture/GoogleEarth.h"

namespace kartovex {

// IApplicationGE of the Google Earth simulator for one press, over a connection of its
// own that closes when the object is destroyed.
class SimulatorApplicationGE : public ApplicationGE {
public:
    // Throws RuntimeError 429 when the simulator is not running.
    SimulatorApplicationGE(const QString& serverName, std::chrono::milliseconds timeout);

    CameraInfo GetCamera(bool considerTerrain) override;
    void SetCameraParams(double latitude, double longitude, double altitude, int altitudeMode,
                         double range, double tilt, double azimuth, double speed) override;
    std::int32_t GetRenderHwnd() override;
    ViewExtents GetViewExtents() override;
    PointOnTerrain GetPointOnTerrainFromScreenCoords(double x, double y) override;
    std::optional<double> StreamingProgressPercentage() override;

private:
    SimulatorConnection connection_;
};

}  // namespace kartovex
