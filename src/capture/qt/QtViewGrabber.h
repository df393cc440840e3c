#pragma once

#include <QImage>
#include <functional>

#include "capture/ViewGrabber.h"

namespace kartovex {

// The screen's pixels through Qt, where the window system lets a program read them (X11,
// Windows; macOS with the screen-recording permission). Kartovex's own windows are hidden
// for the grab and shown again after it.
class QtViewGrabber : public ViewGrabber {
public:
    // The whole primary screen in physical pixels.
    using ScreenShot = std::function<QImage()>;
    static QImage primaryScreenShot();

    explicit QtViewGrabber(ScreenShot screenShot = primaryScreenShot);

    Picture grab(const ScreenRect& rect) override;

private:
    QImage settledScreenShot();

    ScreenShot screenShot_;
};

}  // namespace kartovex
