#include "SimulatorApplicationGE.h"

#include <cmath>

#include "model/RuntimeError.h"

namespace kartovex {

SimulatorApplicationGE::SimulatorApplicationGE(const QString& serverName,
                                               std::chrono::milliseconds timeout)
    : connection_(serverName, timeout) {}

CameraInfo SimulatorApplicationGE::GetCamera(bool considerTerrain) {
    const QString op = QStringLiteral("GetCamera");
    const QJsonObject a = connection_.call(
        {{QStringLiteral("op"), op}, {QStringLiteral("considerTerrain"), considerTerrain}});
    CameraInfo camera;
    camera.focusPointLatitude = SimulatorConnection::number(a, "focusPointLatitude", op);
    camera.focusPointLongitude = SimulatorConnection::number(a, "focusPointLongitude", op);
    camera.focusPointAltitude = SimulatorConnection::number(a, "focusPointAltitude", op);
    camera.range = SimulatorConnection::number(a, "range", op);
    camera.tilt = SimulatorConnection::number(a, "tilt", op);
    camera.azimuth = SimulatorConnection::number(a, "azimuth", op);
    return camera;
}

void SimulatorApplicationGE::SetCameraParams(double latitude, double longitude, double altitude,
                                             int altitudeMode, double range, double tilt,
                                             double azimuth, double speed) {
    connection_.call({{QStringLiteral("op"), QStringLiteral("SetCameraParams")},
                      {QStringLiteral("latitude"), latitude},
                      {QStringLiteral("longitude"), longitude},
                      {QStringLiteral("altitude"), altitude},
                      {QStringLiteral("altitudeMode"), altitudeMode},
                      {QStringLiteral("range"), range},
                      {QStringLiteral("tilt"), tilt},
                      {QStringLiteral("azimuth"), azimuth},
                      {QStringLiteral("speed"), speed}});
}

std::int32_t SimulatorApplicationGE::GetRenderHwnd() {
    const QString op = QStringLiteral("GetRenderHwnd");
    const double hwnd =
        SimulatorConnection::number(connection_.call({{QStringLiteral("op"), op}}), "hwnd", op);
    if (hwnd != std::floor(hwnd) || hwnd < -2147483648.0 || hwnd > 2147483647.0) {
        throw RuntimeError(error::AutomationError,
                           "Google Earth's answer to GetRenderHwnd is not a 32-bit handle.");
    }
    return static_cast<std::int32_t>(hwnd);
}

ViewExtents SimulatorApplicationGE::GetViewExtents() {
    const QString op = QStringLiteral("GetViewExtents");
    const QJsonObject a = connection_.call({{QStringLiteral("op"), op}});
    return {SimulatorConnection::number(a, "north", op),
            SimulatorConnection::number(a, "south", op)};
}

PointOnTerrain SimulatorApplicationGE::GetPointOnTerrainFromScreenCoords(double x, double y) {
    const QString op = QStringLiteral("GetPointOnTerrainFromScreenCoords");
    const QJsonObject a = connection_.call(
        {{QStringLiteral("op"), op}, {QStringLiteral("x"), x}, {QStringLiteral("y"), y}});
    return {SimulatorConnection::number(a, "latitude", op),
            SimulatorConnection::number(a, "longitude", op)};
}

std::optional<double> SimulatorApplicationGE::StreamingProgressPercentage() {
    const QString op = QStringLiteral("StreamingProgressPercentage");
    return SimulatorConnection::number(connection_.call({{QStringLiteral("op"), op}}), "percentage",
                                       op);
}

}  // namespace kartovex
