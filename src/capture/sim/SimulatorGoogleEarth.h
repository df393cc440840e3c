#pragma once

#include <QString>
#include <chrono>

#include "capture/GoogleEarthBackEnd.h"

namespace kartovex {

// Step 1's Google Earth on systems without it: the simulator (earthsim) over its local
// socket, the screen as Qt sees it in physical pixels, and the window system's message
// box through the given service.
class SimulatorGoogleEarth : public GoogleEarthBackEnd {
public:
    static constexpr const char* kDefaultServerName = "kartovex-google-earth";
    static constexpr std::chrono::milliseconds kDefaultTimeout{3000};

    explicit SimulatorGoogleEarth(MessageBoxService& messages,
                                  QString serverName = QString::fromLatin1(kDefaultServerName),
                                  std::chrono::milliseconds timeout = kDefaultTimeout);

    std::unique_ptr<ApplicationGE> connect() override;
    ScreenMetrics screenMetrics() override;
    bool getWindowRect(std::int32_t hwnd, WindowRect& rect) override;
    void pause(std::chrono::milliseconds duration) override;

private:
    QString serverName_;
    std::chrono::milliseconds timeout_;
};

}  // namespace kartovex
