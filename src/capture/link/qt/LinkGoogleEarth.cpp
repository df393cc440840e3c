#include "LinkGoogleEarth.h"

#include <QDir>
#include <QTcpServer>
#include <cmath>

#include "LinkFileOnDisk.h"
#include "capture/qt/PhysicalScreen.h"
#include "capture/qt/RepaintingPause.h"
#include "model/RuntimeError.h"
#include "model/qt/QtLog.h"

namespace kartovex {

namespace {

bool someoneServes(quint16 port) {
    QTcpServer probe;
    return !probe.listen(QHostAddress::LocalHost, port);
}

}  // namespace

LinkGoogleEarth::LinkGoogleEarth(MessageBoxService& messages, const QString& folder, quint16 port)
    : GoogleEarthBackEnd(messages), path_(QDir(folder).filePath(QLatin1String(kFileName))) {
    // Google Earth keeps its own copy of the link, so the key stays what it was.
    const std::optional<LinkAddress> found = readLinkFile(path_);
    const std::string key = found ? found->key : newLinkKey();
    exchange_ = std::make_unique<ViewExchange>(key);
    server_ = std::make_unique<LinkServer>(*exchange_);
    QString listenError;
    port_ = server_->listen(port, listenError);
    const QString nativePath = QDir::toNativeSeparators(path_);
    if (port_ == 0) {
        status_.failure = QStringLiteral(
                              "Kartovex cannot serve Google Earth's link on port %1 (%2): another "
                              "program holds it. Start Kartovex with --link-port=N for a free "
                              "port N, then open the link file %3 in Google Earth again.")
                              .arg(port)
                              .arg(listenError, nativePath)
                              .toStdString();
    }
    status_.linkFile = nativePath.toStdString();
    // Another instance on another port leaves the file to the one it names, lest the file
    // point at a dead port once this one exits.
    QString note;
    if (found && found->port != port_ && someoneServes(static_cast<quint16>(found->port))) {
        note = QStringLiteral(
                   "which names port %1, served by another program, perhaps another "
                   "Kartovex: left as it was")
                   .arg(found->port);
    } else if (const QString error = writeLinkFile(path_, port_ != 0 ? port_ : port, key);
               !error.isEmpty()) {
        note = QStringLiteral("which Kartovex could not write: %1").arg(error);
    }
    qCInfo(linkLog).noquote() << "serving on 127.0.0.1 port" << port_ << "for the link file"
                              << path_ << note << status_.failure.c_str();
    if (!note.isEmpty()) status_.linkFile += " (" + note.toStdString() + ")";
}

std::unique_ptr<ApplicationGE> LinkGoogleEarth::connect() {
    return std::make_unique<LinkApplicationGE>(
        *exchange_, status_, [this] { return now(); }, pressView_);
}

ScreenMetrics LinkGoogleEarth::screenMetrics() {
    return physicalScreenMetrics();
}

bool LinkGoogleEarth::getWindowRect(std::int32_t hwnd, WindowRect& rect) {
    if (hwnd != LinkApplicationGE::kRenderHwnd) return false;
    try {
        const ViewReport view =
            *pressView_ ? **pressView_
                        : *LinkApplicationGE::currentReport(*exchange_, status_, now()).view;
        const ScreenMetrics screen = physicalScreenMetrics();
        const double scale = screenScale();
        const double screenWidth = screen.widthTwips / screen.twipsPerPixelX;
        const double screenHeight = screen.heightTwips / screen.twipsPerPixelY;
        // Whether Google Earth counts physical or logical pixels on a scaled display is
        // not known: a view the size of the logical screen is taken as full screen.
        const bool logical = scale != 1.0 && view.width == std::lround(screenWidth / scale) &&
                             view.height == std::lround(screenHeight / scale);
        rect = {0, 0, static_cast<std::int32_t>(logical ? screenWidth : view.width),
                static_cast<std::int32_t>(logical ? screenHeight : view.height)};
        return true;
    } catch (const RuntimeError&) {
        return false;
    }
}

void LinkGoogleEarth::pause(std::chrono::milliseconds duration) {
    pauseRepainting(duration);
}

}  // namespace kartovex
