#pragma once

#include <chrono>
#include <cmath>
#include <map>
#include <memory>
#include <numbers>
#include <optional>
#include <string>

#include "capture/AreaCapture.h"
#include "capture/LocalFrame.h"
#include "georef/FileSaver.h"
#include "model/RuntimeError.h"

namespace kartovex::testing {

// A Google Earth whose ground follows its camera: a pin-hole camera 60 degrees wide looking
// straight down on the ellipsoid. Its disk is a map of files. A grab shows where the camera
// looks, and keeping it writes that place as the picture, so a test can tell which view a
// picture shows.
class FakeAreaEarth : public GoogleEarthPlatform, public ViewGrab, public FileSaver {
public:
    static constexpr std::int32_t kWidth = 1920, kHeight = 1080;
    CameraInfo camera{60, 10, 0, 20000, 0, 0};
    std::optional<double> loading = 100;  // nothing: a back end without a loading report
    int flightsLeft = 1000;               // then Google Earth is gone
    int movedOnFlight = -1;               // the user drags the camera on this flight
    int savesLeft = 1000;                 // then the disk is full
    WindowRect window{0, 0, kWidth, kHeight};
    int flights = 0;
    std::map<std::string, std::string> files;
    std::chrono::steady_clock::time_point clock{};

    // Screen x and y from -1 to 1. A ray far off the nadir meets the globe farther out than
    // flat ground would: at a wide range the view's edges stretch.
    PointOnTerrain ground(double x, double y) const {
        constexpr double kRadius = 6371008.8;
        const double east = x * std::tan(std::numbers::pi / 6);
        const double north = y * std::tan(std::numbers::pi / 6) * kHeight / kWidth;
        const double slope = std::hypot(east, north), off = std::atan(slope);
        const double arc =
            kRadius * (std::asin((kRadius + camera.range) / kRadius * std::sin(off)) - off);
        const double metres = slope > 0 ? arc / slope : camera.range;
        const auto p = LocalFrame(camera.focusPointLatitude, camera.focusPointLongitude)
                           .toDegrees({east * metres, north * metres});
        return {p.latitude, p.longitude};
    }
    GroundGrid grid() {
        return readGroundGrid(*std::make_unique<Application>(*this), kWidth, kHeight);
    }

    std::unique_ptr<ApplicationGE> connect() override {
        if (flightsLeft < 0) throw RuntimeError(error::CannotCreateObject, "not running");
        return std::make_unique<Application>(*this);
    }
    ScreenMetrics screenMetrics() override { return {kWidth * 15.0, kHeight * 15.0, 15, 15}; }
    bool getWindowRect(std::int32_t, WindowRect& rect) override {
        rect = window;
        return true;
    }
    void messageBox(const std::string&, const std::string&) override {}
    std::chrono::steady_clock::time_point now() override { return clock; }
    void pause(std::chrono::milliseconds d) override { clock += d; }

    std::uint64_t grab(const WindowRect&) override {
        grabbed_ = std::to_string(camera.focusPointLatitude) + " " +
                   std::to_string(camera.focusPointLongitude);
        return std::hash<std::string>()(grabbed_);
    }
    void keep(const std::string& path) override { save(path, grabbed_); }

    void save(const std::string& path, std::string_view bytes) override {
        if (--savesLeft < 0) throw RuntimeError(error::DiskFull, "No space left on device");
        files[path] = bytes;
    }
    bool exists(const std::string& path) override { return files.count(path) > 0; }
    bool isRegularFile(const std::string& path) override { return exists(path); }
    std::optional<std::string> head(const std::string& path, std::size_t) override {
        if (!exists(path)) return std::nullopt;
        return files[path];
    }
    void remove(const std::string& path) override { files.erase(path); }

private:
    class Application : public ApplicationGE {
    public:
        explicit Application(FakeAreaEarth& e) : e_(e) {}
        CameraInfo GetCamera(bool) override {
            alive();
            return e_.camera;
        }
        void SetCameraParams(double latitude, double longitude, double altitude, int, double range,
                             double tilt, double azimuth, double) override {
            alive();
            --e_.flightsLeft;
            e_.camera = {latitude, longitude, altitude, range, tilt, azimuth};
            if (e_.flights++ == e_.movedOnFlight) moveOnNextRead_ = true;
        }
        std::int32_t GetRenderHwnd() override { return 1; }
        std::optional<double> StreamingProgressPercentage() override { return e_.loading; }
        ViewExtents GetViewExtents() override {
            return {e_.ground(0, 1).latitude, e_.ground(0, -1).latitude};
        }
        PointOnTerrain GetPointOnTerrainFromScreenCoords(double x, double y) override {
            alive();
            // The user's drag lands while the grid is read.
            if (moveOnNextRead_) e_.camera.focusPointLongitude += 0.01, moveOnNextRead_ = false;
            return e_.ground(x, y);
        }

    private:
        void alive() const {
            if (e_.flightsLeft < 0)
                throw RuntimeError(error::AutomationError, "The RPC server is unavailable");
        }
        FakeAreaEarth& e_;
        bool moveOnNextRead_ = false;
    };
    std::string grabbed_;
};

}  // namespace kartovex::testing
