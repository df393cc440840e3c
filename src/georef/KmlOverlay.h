#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "model/MainWindowModel.h"

namespace kartovex {

// A KML 2.2 ground overlay that lays the picture back on the view's four corners, so that
// Google Earth shows at a glance whether it fits. `pictureName` is the picture's file name
// in the overlay's folder and `name` the overlay's name, both UTF-8. The file carries a
// mark that says Kartovex wrote it.
std::string kmlOverlayBytes(std::string_view pictureName, std::string_view name,
                            const CornerTexts& corners);

// Whether a file that begins with `head` carries the mark of an overlay Kartovex wrote.
bool isKartovexOverlay(std::string_view head);

// How many bytes from a file's start hold the mark in any overlay Kartovex writes, whatever
// the length of its name.
inline constexpr std::size_t kOverlayMarkWithin = 256 * 1024;

}  // namespace kartovex
