#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

// What Step 1 needs of Google Earth and of the window system, as one small interface.
// Back ends: the simulator's local socket (sim/), Google Earth's COM automation server
// (win/), Google Earth's network link (link/), and fakes in the tests. Every failure is thrown as a
// RuntimeError carrying the error's number and description.
namespace kartovex {

// ICameraInfoGE, read in this order: focus latitude, longitude, altitude, range; tilt
// and azimuth only serve to see whether a levelling move has arrived.
struct CameraInfo {
    double focusPointLatitude = 0;
    double focusPointLongitude = 0;
    double focusPointAltitude = 0;
    double range = 0;
    double tilt = 0;
    double azimuth = 0;
};

// IViewExtentsGE: latitudes of the view's north and south edges, decimal degrees.
struct ViewExtents {
    double north = 0;
    double south = 0;
};

// IPointOnTerrainGE: decimal degrees.
struct PointOnTerrain {
    double latitude = 0;
    double longitude = 0;
};

// GetWindowRect's rectangle, screen pixels.
struct WindowRect {
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;
};

// Screen size as the window system gives it: twips and twips per pixel. Pixels are
// physical pixels, the same as a screenshot's, also on a display scaled above 100 %.
struct ScreenMetrics {
    double widthTwips = 0;
    double heightTwips = 0;
    double twipsPerPixelX = 15;
    double twipsPerPixelY = 15;
};

// How close the camera must come to a levelling request to count as arrived. A back end
// whose camera reads back coarser says so, lest the wait never end.
struct SettleTolerance {
    double focusDegrees = 1e-6;  // about 0.1 m on the ground
    double angleDegrees = 1e-4;  // tilt and azimuth
    double rangeRelative = 1e-6;
    double rangeMetres = 0;  // added to the relative part
};

// IApplicationGE for one press. Destroying it releases every object of the press.
class ApplicationGE {
public:
    virtual ~ApplicationGE() = default;
    virtual CameraInfo GetCamera(bool considerTerrain) = 0;
    virtual void SetCameraParams(double latitude, double longitude, double altitude,
                                 int altitudeMode, double range, double tilt, double azimuth,
                                 double speed) = 0;
    virtual std::int32_t GetRenderHwnd() = 0;
    virtual ViewExtents GetViewExtents() = 0;
    // x from -1 (left) to 1 (right), y from -1 (bottom) to 1 (top) of the render window.
    virtual PointOnTerrain GetPointOnTerrainFromScreenCoords(double x, double y) = 0;
    virtual SettleTolerance settleTolerance() const { return {}; }
    // How far Google Earth has loaded the imagery of the view it shows, 0 to 100; nothing
    // where the back end cannot tell (the network link has no loading report).
    virtual std::optional<double> StreamingProgressPercentage() { return std::nullopt; }
};

class GoogleEarthPlatform {
public:
    virtual ~GoogleEarthPlatform() = default;

    // Creates the automation object by its ProgID and asks it for IApplicationGE.
    virtual std::unique_ptr<ApplicationGE> connect() = 0;

    virtual ScreenMetrics screenMetrics() = 0;
    // False when the window system cannot tell; the rectangle is then left as it was.
    virtual bool getWindowRect(std::int32_t hwnd, WindowRect& rect) = 0;
    virtual void messageBox(const std::string& text, const std::string& title) = 0;

    // The settle wait polls the camera: a clock and a pause, so tests need not wait.
    virtual std::chrono::steady_clock::time_point now() = 0;
    virtual void pause(std::chrono::milliseconds duration) = 0;
};

}  // namespace kartovex
