#pragma once

#include <QString>
#include <memory>

#include "LinkServer.h"
#include "capture/GoogleEarthBackEnd.h"
#include "capture/link/LinkApplicationGE.h"
#include "capture/link/ViewExchange.h"

namespace kartovex {

// Step 1's Google Earth through a KML network link, for Google Earth Pro on every
// desktop: serves the link from construction to destruction, and keeps the link file
// that the user opens once in Google Earth in `folder`.
class LinkGoogleEarth : public GoogleEarthBackEnd {
public:
    static constexpr const char* kFileName = "kartovex-link.kml";

    // Port 0 serves on any free port (for tests); the link file names the port served.
    LinkGoogleEarth(MessageBoxService& messages, const QString& folder, quint16 port);

    quint16 port() const { return port_; }
    QString linkFile() const { return path_; }

    std::unique_ptr<ApplicationGE> connect() override;
    ScreenMetrics screenMetrics() override;
    // The view's rectangle is (0, 0, width, height) of the press's report: Google Earth's
    // full-screen view sits at the screen's top left, and where a smaller view sits is not
    // reported. A size that equals the screen's in logical pixels counts in physical ones.
    bool getWindowRect(std::int32_t hwnd, WindowRect& rect) override;
    void pause(std::chrono::milliseconds duration) override;

private:
    QString path_;
    std::unique_ptr<ViewExchange> exchange_;
    std::unique_ptr<LinkServer> server_;
    quint16 port_ = 0;
    LinkStatus status_;
    PressView pressView_ = std::make_shared<std::optional<ViewReport>>();
};

}  // namespace kartovex
