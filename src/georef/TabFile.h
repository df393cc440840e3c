#pragma once

#include <array>
#include <string>
#include <string_view>

#include "model/MainWindowModel.h"

// MapInfo raster tables that register a picture by its four corners: the control points
// run clockwise from the upper left, each pairing a longitude and latitude with the pixel
// of the same corner in the picture.
namespace kartovex {

// One control point's ground position, as the table writes it.
struct TabCorner {
    std::string longitude, latitude;
};

// The table's exact bytes, CRLF after every line, for corners clockwise from the upper left
// whose right and bottom pixels are `right` and `bottom`. `datum` is MapInfo's number of the
// datum in the CoordSys line. `imageName` is the picture's own file name, already in the
// file's code page (936); every text stands as given.
std::string rasterTableBytes(std::string_view imageName, const std::array<TabCorner, 4>& corners,
                             std::string_view right, std::string_view bottom, int datum);

// The picked image's table: Step 1's corner texts, the image's last pixel and line.
std::string tabFileBytes(std::string_view imageName, const CornerTexts& corners,
                         std::string_view strPicMaxX, std::string_view strPicMaxY);

}  // namespace kartovex
