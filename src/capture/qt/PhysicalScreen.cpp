#include "PhysicalScreen.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace kartovex {

namespace {
// Twips per pixel of the 96 dots-per-inch display that physical pixels are counted on.
constexpr double kTwipsPerPixel = 15.0;
}  // namespace

ScreenMetrics physicalScreenMetrics() {
    ScreenMetrics metrics;
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) return metrics;
    const qreal ratio = screen->devicePixelRatio();
    metrics.widthTwips = std::round(screen->geometry().width() * ratio) * kTwipsPerPixel;
    metrics.heightTwips = std::round(screen->geometry().height() * ratio) * kTwipsPerPixel;
    metrics.twipsPerPixelX = kTwipsPerPixel;
    metrics.twipsPerPixelY = kTwipsPerPixel;
    return metrics;
}

double screenScale() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen == nullptr ? 1.0 : screen->devicePixelRatio();
}

}  // namespace kartovex
