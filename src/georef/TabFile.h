#pragma once

#include <string>
#include <string_view>

#include "model/MainWindowModel.h"

// The MapInfo raster table that registers the picked image by its four corners: the
// control points run clockwise from the upper left, each pairing Step 1's longitude and
// latitude of a screen corner with the pixel of the same corner in the image.
namespace kartovex {

// The table's exact bytes, CRLF after every line. `imageName` is the picked image's own
// file name, already in the file's code page (936); every text stands as given.
std::string tabFileBytes(std::string_view imageName, const CornerTexts& corners,
                         std::string_view strPicMaxX, std::string_view strPicMaxY);

}  // namespace kartovex
