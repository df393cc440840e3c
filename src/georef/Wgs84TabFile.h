#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kartovex {

// A north-up raster in WGS 84 longitude and latitude: its outer edges in decimal degrees
// and its size in pixels, as its geotransform gives them.
struct NorthUpRaster {
    double west = 0, south = 0, east = 0, north = 0;
    std::int64_t width = 0, height = 0;
};

// The MapInfo raster table that registers such a raster exactly: four control points at
// its outer corners, clockwise from the upper left, in the JPG's table's character set,
// line ends and number form, but in WGS 84 (datum 104). `rasterName` is the raster's own
// file name, already in the file's code page (936).
std::string wgs84TabFileBytes(std::string_view rasterName, const NorthUpRaster& raster);

}  // namespace kartovex
