#pragma once

#include <QString>
#include <memory>

#include "LinkServer.h"
#include "capture/GoogleEarth.h"
#include "capture/link/LinkApplicationGE.h"
#include "capture/link/ViewExchange.h"
#include "model/Services.h"

namespace kartovex {

// Step 1's Google Earth through a KML network link, for Google Earth Pro on every
// desktop: serves the link from construction to destruction, and keeps the link file
// that the user opens once in Google Earth in `folder`.
class LinkGoogleEarth : public GoogleEarthPlatform {
public:
    static constexpr const char* kFileName = "kartovex-link.kml";

    // Port 0 serves on any free port (for tests); the link file names the port served.
    LinkGoogleEarth(MessageBoxService& messages, const QString& folder, quint16 port);

    quint16 port() const { return port_; }
    QString linkFile() const { return QString::fromStdString(status_.linkFile); }

    std::unique_ptr<ApplicationGE> connect() override;
    ScreenMetrics screenMetrics() override;
    // The view's rectangle is (0, 0, width, height) of the latest report: Google Earth's
    // full-screen view sits at the screen's top left, and where a smaller view sits is not
    // reported. A size that equals the screen's in logical pixels counts in physical ones.
    bool getWindowRect(std::int32_t hwnd, WindowRect& rect) override;
    void messageBox(const std::string& text, const std::string& title) override;
    std::chrono::steady_clock::time_point now() override;
    void pause(std::chrono::milliseconds duration) override;

private:
    MessageBoxService& messages_;
    std::unique_ptr<ViewExchange> exchange_;
    std::unique_ptr<LinkServer> server_;
    quint16 port_ = 0;
    LinkStatus status_;
};

}  // namespace kartovex
