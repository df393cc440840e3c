#include "LinkGoogleEarth.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <cmath>

#include "capture/link/LinkFile.h"
#include "capture/qt/PhysicalScreen.h"
#include "model/RuntimeError.h"
#include "model/qt/QtLog.h"

namespace kartovex {

namespace {

// Google Earth keeps its own copy of the link, so the key stays what it was; the file is
// written again only when its text is not what the key and port give (missing, damaged,
// or another port). Returns "" or the reason it could not be written.
QString writeLinkFile(const QString& path, quint16 port, const std::string& key) {
    const QByteArray wanted = QByteArray::fromStdString(linkFileText(port, key));
    QFile existing(path);
    if (existing.open(QIODevice::ReadOnly) && existing.readAll() == wanted) return {};
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(wanted) != wanted.size() || !file.commit())
        return file.errorString();
    return {};
}

std::string keyOf(const QString& path) {
    QFile file(path);
    std::string key;
    if (file.open(QIODevice::ReadOnly)) key = keyInLinkFile(file.readAll().toStdString());
    return key.empty() ? newLinkKey() : key;
}

}  // namespace

LinkGoogleEarth::LinkGoogleEarth(MessageBoxService& messages, const QString& folder, quint16 port)
    : messages_(messages) {
    const QString path = QDir(folder).filePath(QLatin1String(kFileName));
    const std::string key = keyOf(path);
    exchange_ = std::make_unique<ViewExchange>(key);
    server_ = std::make_unique<LinkServer>(*exchange_);
    QString listenError;
    port_ = server_->listen(port, listenError);
    if (port_ == 0) {
        status_.failure = QStringLiteral(
                              "Kartovex cannot serve Google Earth's link on port %1 (%2): another "
                              "program holds it. Start Kartovex with --link-port=N for a free "
                              "port N, then open the link file %3 in Google Earth again.")
                              .arg(port)
                              .arg(listenError, QDir::toNativeSeparators(path))
                              .toStdString();
    }
    const QString writeError = writeLinkFile(path, port_ != 0 ? port_ : port, key);
    status_.linkFile = QDir::toNativeSeparators(path).toStdString();
    qCInfo(linkLog).noquote() << "serving on 127.0.0.1 port" << port_ << "for the link file" << path
                              << writeError << status_.failure.c_str();
    if (!writeError.isEmpty())
        status_.linkFile += " (which Kartovex could not write: " + writeError.toStdString() + ")";
}

std::unique_ptr<ApplicationGE> LinkGoogleEarth::connect() {
    return std::make_unique<LinkApplicationGE>(*exchange_, status_, [this] { return now(); });
}

ScreenMetrics LinkGoogleEarth::screenMetrics() {
    return physicalScreenMetrics();
}

bool LinkGoogleEarth::getWindowRect(std::int32_t hwnd, WindowRect& rect) {
    if (hwnd != LinkApplicationGE::kRenderHwnd) return false;
    try {
        const ViewReport view = LinkApplicationGE::currentView(*exchange_, status_, now());
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

void LinkGoogleEarth::messageBox(const std::string& text, const std::string& title) {
    messages_.information(text, title);
}

std::chrono::steady_clock::time_point LinkGoogleEarth::now() {
    return std::chrono::steady_clock::now();
}

void LinkGoogleEarth::pause(std::chrono::milliseconds duration) {
    QThread::msleep(static_cast<unsigned long>(std::max<std::int64_t>(0, duration.count())));
}

}  // namespace kartovex
