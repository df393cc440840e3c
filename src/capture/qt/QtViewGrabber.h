#pragma once

#include <QImage>
#include <QWidget>
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

    // Which top-level windows are ours to hide: all of this program's, unless a test that
    // shows the simulator's window in its own process says otherwise.
    using Ours = std::function<bool(const QWidget&)>;

    explicit QtViewGrabber(
        ScreenShot screenShot = primaryScreenShot, Ours ours = [](const QWidget&) { return true; });

    Picture grab(const ScreenRect& rect) override;

private:
    QImage settledScreenShot();

    ScreenShot screenShot_;
    Ours ours_;
};

}  // namespace kartovex
