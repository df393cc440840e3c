#pragma once

#include "capture/GoogleEarth.h"

namespace kartovex {

// Chooses Step 1's Google Earth anew at each press, so that Google Earth may start after
// Kartovex: the direct back end (COM on Windows, the simulator's socket elsewhere) when
// it answers, else the network link. Either may be absent; the window-system calls of a
// press go to the back end that its connect() chose.
class AutomaticGoogleEarth : public GoogleEarthPlatform {
public:
    AutomaticGoogleEarth(GoogleEarthPlatform* direct, GoogleEarthPlatform* link);

    std::unique_ptr<ApplicationGE> connect() override;
    ScreenMetrics screenMetrics() override { return chosen().screenMetrics(); }
    bool getWindowRect(std::int32_t hwnd, WindowRect& rect) override {
        return chosen().getWindowRect(hwnd, rect);
    }
    void messageBox(const std::string& text, const std::string& title) override {
        chosen().messageBox(text, title);
    }
    std::chrono::steady_clock::time_point now() override { return chosen().now(); }
    void pause(std::chrono::milliseconds duration) override { chosen().pause(duration); }

private:
    GoogleEarthPlatform& chosen() { return current_ != nullptr ? *current_ : *fallback_; }

    GoogleEarthPlatform* direct_;
    GoogleEarthPlatform* link_;
    GoogleEarthPlatform* fallback_;
    GoogleEarthPlatform* current_ = nullptr;
};

}  // namespace kartovex
