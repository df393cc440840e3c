#pragma once

#include <cstdint>

#include "model/Picture.h"

namespace kartovex {

// A rectangle of the screen in physical pixels: a screenshot's pixels, also on a display
// scaled above 100 %.
struct ScreenRect {
    std::int64_t left = 0, top = 0, width = 0, height = 0;
};

// Takes the pixels of a rectangle of the screen as they show there, without any window of
// Kartovex's own in the way.
class ViewGrabber {
public:
    virtual ~ViewGrabber() = default;
    // Throws RuntimeError saying why when the screen cannot be grabbed here.
    virtual Picture grab(const ScreenRect& rect) = 0;
};

// The view's picture, refused with RuntimeError when it comes back the wrong size or as one
// flat colour: a black or blank grab is what a screen that cannot be read gives, never a
// view of the Earth.
Picture grabView(ViewGrabber& grabber, const ScreenRect& rect);

}  // namespace kartovex
