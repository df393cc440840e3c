#pragma once

#include <string>
#include <string_view>

#include "model/MainWindowModel.h"

namespace kartovex {

// A KML 2.2 ground overlay that lays the picture back on the view's four corners, so that
// Google Earth shows at a glance whether it fits. `pictureName` is the picture's file name
// in the overlay's folder and `name` the overlay's name, both UTF-8. The file says that
// Kartovex wrote it; which files are ours is known from the output record, not from this.
std::string kmlOverlayBytes(std::string_view pictureName, std::string_view name,
                            const CornerTexts& corners);

}  // namespace kartovex
