#pragma once

#include "capture/ViewGrab.h"
#include "capture/ViewGrabber.h"
#include "georef/FileSaver.h"
#include "georef/JpegWriter.h"

namespace kartovex {

// The view grabbed from the screen and kept as a JPG of quality 95, as "Capture view" keeps
// its picture.
class ScreenViewGrab : public ViewGrab {
public:
    ScreenViewGrab(ViewGrabber& grabber, JpegWriter& jpeg, FileSaver& saver)
        : grabber_(grabber), jpeg_(jpeg), saver_(saver) {}

    std::uint64_t grab(const WindowRect& rect) override;
    void keep(const std::string& path) override;

private:
    ViewGrabber& grabber_;
    JpegWriter& jpeg_;
    FileSaver& saver_;
    Picture picture_;
};

}  // namespace kartovex
