#pragma once

#include "georef/JpegWriter.h"

namespace kartovex {

// Encodes with Qt's JPEG plug-in into a temporary file beside the target, then gives it
// the target's name only if no file has taken that name meanwhile.
class QtJpegWriter : public JpegWriter {
public:
    void write(const std::string& path, const Picture& picture, int quality) override;
};

}  // namespace kartovex
