#pragma once

#include <cstdint>
#include <string>

#include "capture/GoogleEarth.h"

namespace kartovex {

// The view's own pixels as capturing an area needs them: a grab, told apart from the last
// by a digest, and the grab kept on disk.
class ViewGrab {
public:
    virtual ~ViewGrab() = default;

    // Takes the pixels of the view at `rect` on the screen and answers a digest of them:
    // two grabs of the same picture give the same digest. Throws RuntimeError for a grab
    // that shows nothing (one flat colour) or cannot be taken.
    virtual std::uint64_t grab(const WindowRect& rect) = 0;

    // Writes the last grab as a JPG at `path`, whole or not at all, in place of any earlier
    // file there. Throws RuntimeError with the system's reason.
    virtual void keep(const std::string& path) = 0;
};

}  // namespace kartovex
