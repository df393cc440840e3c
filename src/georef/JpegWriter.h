#pragma once

#include <string>

#include "model/Picture.h"

namespace kartovex {

// Writes a picture as a JPG.
class JpegWriter {
public:
    virtual ~JpegWriter() = default;
    // Writes the file whole or not at all, and never over an existing file. Throws
    // RuntimeError whose description is the system's reason.
    virtual void write(const std::string& path, const Picture& picture, int quality) = 0;
};

}  // namespace kartovex
