#include "QtViewGrabber.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPixmap>
#include <QPointer>
#include <QScreen>
#include <QThread>
#include <QWidget>
#include <QWindow>
#include <cstring>
#include <string>
#include <vector>

#include "model/RuntimeError.h"

#ifdef Q_OS_MACOS
#include <CoreGraphics/CoreGraphics.h>
#endif

namespace kartovex {
namespace {

// After our windows are hidden, the windows below them repaint; the screen counts as
// showing the view again once two shots this far apart agree. Bounded, so a view that
// never stops changing (a flying camera) is still grabbed.
constexpr int kSettlePollMs = 40;
constexpr int kSettleBoundMs = 3000;

[[noreturn]] void cannotGrab(const std::string& why) {
    throw RuntimeError(error::PermissionDenied,
                       why +
                           " Save the view from Google Earth instead (File > Save > Save "
                           "Image) and register it with Step 2.");
}

void refuseWhereNoGrabWorks() {
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        cannotGrab(
            "Kartovex cannot read the screen under Wayland, which keeps each program's "
            "windows from the others. Log in to an X11 session (e.g. \"GNOME on Xorg\") "
            "to capture views.");
#ifdef Q_OS_MACOS
    if (!CGPreflightScreenCaptureAccess()) {
        CGRequestScreenCaptureAccess();
        cannotGrab(
            "macOS lets Kartovex read the screen only with the Screen Recording "
            "permission: allow it in System Settings > Privacy & Security > Screen "
            "Recording, then start Kartovex again.");
    }
#endif
}

// Our visible top-level windows, hidden until this goes.
class HiddenWindows {
public:
    explicit HiddenWindows(const QtViewGrabber::Ours& ours) {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible() && ours(*w)) hidden_.emplace_back(w);
        for (QWidget* w : hidden_) w->hide();
        // The window system unmaps them only once told, and reports it back.
        QElapsedTimer clock;
        clock.start();
        do {
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            if (!anyExposed()) break;
            QThread::msleep(5);
        } while (clock.elapsed() < kSettleBoundMs);
    }
    ~HiddenWindows() {
        for (QWidget* w : hidden_)
            if (w) w->show();
        // The windows come back in no set order: the main window is raised first and the
        // dialogs it owns after it, lest a progress dialog stay hidden under it.
        for (const bool owned : {false, true})
            for (QWidget* w : hidden_)
                if (w && (w->parentWidget() != nullptr) == owned &&
                    w->windowFlags().testFlag(Qt::WindowStaysOnTopHint))
                    w->raise();
    }
    HiddenWindows(const HiddenWindows&) = delete;
    HiddenWindows& operator=(const HiddenWindows&) = delete;

    bool any() const { return !hidden_.empty(); }

private:
    bool anyExposed() const {
        for (QWidget* w : hidden_)
            if (w && w->windowHandle() && w->windowHandle()->isExposed()) return true;
        return false;
    }

    std::vector<QPointer<QWidget>> hidden_;
};

Picture pictureOf(const QImage& screen, const ScreenRect& rect) {
    if (rect.left < 0 || rect.top < 0 || rect.left + rect.width > screen.width() ||
        rect.top + rect.height > screen.height())
        throw RuntimeError(error::InvalidArgument,
                           "Google Earth's view reaches beyond the screen (" +
                               std::to_string(screen.width()) + " x " +
                               std::to_string(screen.height()) + " pixels)");
    const QImage rgb =
        screen.format() == QImage::Format_RGB32 || screen.format() == QImage::Format_ARGB32
            ? screen
            : screen.convertToFormat(QImage::Format_RGB32);
    Picture picture;
    picture.width = static_cast<std::int32_t>(rect.width);
    picture.height = static_cast<std::int32_t>(rect.height);
    picture.pixels.resize(static_cast<std::size_t>(rect.width) * rect.height);
    for (std::int64_t row = 0; row < rect.height; ++row) {
        const auto* line = reinterpret_cast<const std::uint32_t*>(
                               rgb.constScanLine(static_cast<int>(rect.top + row))) +
                           rect.left;
        std::uint32_t* out = picture.pixels.data() + row * rect.width;
        for (std::int64_t x = 0; x < rect.width; ++x) out[x] = line[x] | 0xff000000u;
    }
    return picture;
}

}  // namespace

QImage QtViewGrabber::primaryScreenShot() {
    QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) cannotGrab("Kartovex finds no screen to read.");
    // Asked for in logical pixels from the screen's corner, it answers physical pixels.
    const QRect area = screen->geometry();
    return screen->grabWindow(0, 0, 0, area.width(), area.height()).toImage();
}

QtViewGrabber::QtViewGrabber(ScreenShot screenShot, Ours ours)
    : screenShot_(std::move(screenShot)), ours_(std::move(ours)) {}

QImage QtViewGrabber::settledScreenShot() {
    QImage last = screenShot_();
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < kSettleBoundMs) {
        QThread::msleep(kSettlePollMs);
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        QImage next = screenShot_();
        if (next == last) break;
        last = std::move(next);
    }
    return last;
}

Picture QtViewGrabber::grab(const ScreenRect& rect) {
    refuseWhereNoGrabWorks();
    QImage screen;
    {
        HiddenWindows hidden(ours_);
        screen = hidden.any() ? settledScreenShot() : screenShot_();
    }
    if (screen.isNull()) cannotGrab("The window system gave Kartovex no picture of the screen.");
    return pictureOf(screen, rect);
}

}  // namespace kartovex
