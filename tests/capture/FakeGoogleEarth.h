#pragma once

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "RecordingMessageBox.h"
#include "capture/GoogleEarth.h"
#include "model/Log.h"
#include "model/NumberText.h"
#include "model/RuntimeError.h"

namespace kartovex::testing {

// A Google Earth and window system that answer from fields the test sets, log every call
// in order (with its arguments in the general number form), count the application objects
// alive, and keep a clock that only pause() moves, so the camera wait costs no real time.
// Also the log, which keeps the capture lines.
class FakeGoogleEarth : public GoogleEarthPlatform, public Log {
public:
    static constexpr std::int32_t kRenderHwnd = 4242;
    using Message = RecordingMessageBox::Message;

    ScreenMetrics metrics{19200, 15360, 15, 15};  // 1280 × 1024 at 96 dots per inch
    std::optional<WindowRect> renderRect = WindowRect{0, 0, 1280, 1024};  // none: call fails
    CameraInfo camera{34.67, 112.58, 12.5, 5000, 45, 30};  // the view before levelling
    // Polls after SetCameraParams that still see the camera in flight; -1: it never lands.
    int pollsInFlight = 0;
    // How a camera that has landed reports itself, given where it was sent.
    std::function<CameraInfo(CameraInfo)> landedAs = [](CameraInfo c) { return c; };
    std::vector<ViewExtents> extents{{40.5, 40.25}};  // one per read in a press; the last repeats
    // The imagery's loading percentage, one per read, the last repeating; none: unknown.
    std::vector<double> loading;
    // A flat view 2° wide and 1.8° high around 111.5 E, 39 N, at every point of the grid.
    std::map<std::pair<double, double>, PointOnTerrain> points = [] {
        std::map<std::pair<double, double>, PointOnTerrain> grid;
        for (double x : {-1.0, -0.5, 0.0, 0.5, 1.0})
            for (double y : {-1.0, -0.5, 0.0, 0.5, 1.0}) grid[{x, y}] = {39 + 0.9 * y, 111.5 + x};
        return grid;
    }();

    // From now on the named call throws `error` on its nth use.
    void failOn(std::string call, int nth, RuntimeError error) {
        std::tie(failAt_, failOnUse_, failure_, uses_) = std::tuple(std::move(call), nth, error, 0);
    }

    std::vector<std::string> calls;
    std::vector<Message> messages;
    std::vector<std::string> logged;
    int applicationsAlive = 0;
    std::chrono::steady_clock::time_point clock{};
    std::chrono::milliseconds callTime{};  // how far each call moves the clock

    int count(const std::string& call) const {
        return static_cast<int>(std::count_if(calls.begin(), calls.end(), [&](const auto& c) {
            return c.compare(0, call.size(), call) == 0;
        }));
    }

    void write(LogArea area, const std::string& line) override {
        if (area == LogArea::Capture) logged.push_back(line);
    }

    std::unique_ptr<ApplicationGE> connect() override {
        record("connect");
        return std::make_unique<Application>(*this);
    }
    ScreenMetrics screenMetrics() override {
        record("screenMetrics");
        return metrics;
    }
    bool getWindowRect(std::int32_t hwnd, WindowRect& rect) override {
        record("getWindowRect", "(" + std::to_string(hwnd) + ")");
        if (!renderRect || hwnd != kRenderHwnd) return false;
        rect = *renderRect;
        return true;
    }
    void messageBox(const std::string& text, const std::string& title) override {
        record("messageBox", "(" + title + ")");
        messages.push_back({text, title});
    }
    std::chrono::steady_clock::time_point now() override { return clock; }
    void pause(std::chrono::milliseconds duration) override { clock += duration; }

private:
    class Application : public ApplicationGE {
    public:
        explicit Application(FakeGoogleEarth& ge) : ge_(ge) { ++ge_.applicationsAlive; }
        ~Application() override {
            --ge_.applicationsAlive;
            ge_.calls.push_back("release");
        }
        CameraInfo GetCamera(bool considerTerrain) override {
            ge_.record("GetCamera", considerTerrain ? "(true)" : "(false)");
            if (!sentTo_) return ge_.camera;
            if (ge_.pollsInFlight >= 0 && pollsSinceSent_++ >= ge_.pollsInFlight)
                return ge_.landedAs(*sentTo_);
            CameraInfo flying = *sentTo_;
            flying.tilt = 20, flying.azimuth = 10, flying.range *= 1.5;
            return flying;
        }
        void SetCameraParams(double latitude, double longitude, double altitude, int altitudeMode,
                             double range, double tilt, double azimuth, double speed) override {
            ge_.record("SetCameraParams", "(" + text(latitude) + ", " + text(longitude) + ", " +
                                              text(altitude) + ", " + std::to_string(altitudeMode) +
                                              ", " + text(range) + ", " + text(tilt) + ", " +
                                              text(azimuth) + ", " + text(speed) + ")");
            sentTo_ = CameraInfo{latitude, longitude, altitude, range, tilt, azimuth};
            pollsSinceSent_ = 0;
        }
        std::int32_t GetRenderHwnd() override {
            ge_.record("GetRenderHwnd");
            return kRenderHwnd;
        }
        ViewExtents GetViewExtents() override {
            ge_.record("GetViewExtents");
            return ge_.extents[std::min(extentsRead_++, ge_.extents.size() - 1)];
        }
        PointOnTerrain GetPointOnTerrainFromScreenCoords(double x, double y) override {
            ge_.record("GetPointOnTerrainFromScreenCoords", "(" + text(x) + ", " + text(y) + ")");
            return ge_.points.at({x, y});
        }
        std::optional<double> StreamingProgressPercentage() override {
            ge_.record("StreamingProgressPercentage");
            if (ge_.loading.empty()) return std::nullopt;
            return ge_.loading[std::min(loadingRead_++, ge_.loading.size() - 1)];
        }

    private:
        FakeGoogleEarth& ge_;
        std::optional<CameraInfo> sentTo_;
        int pollsSinceSent_ = 0;
        std::size_t extentsRead_ = 0;
        std::size_t loadingRead_ = 0;
    };

    void record(const std::string& name, const std::string& arguments = "") {
        calls.push_back(name + arguments);
        clock += callTime;
        if (name == failAt_ && ++uses_ == failOnUse_) throw failure_;
    }

    std::string failAt_;
    int failOnUse_ = 0, uses_ = 0;
    RuntimeError failure_{0, ""};
};

}  // namespace kartovex::testing
