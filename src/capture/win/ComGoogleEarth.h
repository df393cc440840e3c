#pragma once

#include "ComApartment.h"
#include "capture/GoogleEarthBackEnd.h"

namespace kartovex {

// Google Earth through its COM automation server, and the window system through user32.
// Create, use and destroy it on the user-interface thread: it keeps that thread in a
// single-threaded COM apartment while it lives.
class ComGoogleEarth : public GoogleEarthBackEnd {
public:
    explicit ComGoogleEarth(MessageBoxService& messages);

    // Creates the object registered for "GoogleEarth.ApplicationGE", in-process or as a
    // local server, and asks it for IApplicationGE.
    std::unique_ptr<ApplicationGE> connect() override;

    // The primary screen in physical pixels, as a screenshot has them.
    ScreenMetrics screenMetrics() override;
    bool getWindowRect(std::int32_t hwnd, WindowRect& rect) override;
    void pause(std::chrono::milliseconds duration) override;

private:
    ComApartment apartment_;
};

}  // namespace kartovex
