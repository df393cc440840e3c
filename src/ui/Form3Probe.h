#pragma once

#include "georef/PictureProbe.h"

namespace kartovex {

// Shows a fresh probe window Form3 for each Step 2, without owner and not modal.
class Form3Probe : public PictureProbe {
public:
    void show(const std::string& path, Module1& module) override;
};

}  // namespace kartovex
