#pragma once

#include <string>

#include "model/MainWindowModel.h"

namespace kartovex {

// The image size probe: shows the picture in the probe window Form3 and leaves its
// right-most column and bottom row (width − 1, height − 1) in Module1. It measures from
// the file's header; the pixels are not decoded for it.
class PictureProbe {
public:
    virtual ~PictureProbe() = default;
    // Throws RuntimeError InvalidPicture, leaving `module` as it was, when the file is
    // not a picture it can read.
    virtual void show(const std::string& path, Module1& module) = 0;
};

}  // namespace kartovex
