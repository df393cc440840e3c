#pragma once

#include <gdal.h>

#include <optional>
#include <string>

namespace kartovex {

// Writes the Google Earth super-overlay (.kmz) of a north-up WGS 84 raster: tiles and
// levels of detail that Google Earth lays exactly where the raster lies, at any range,
// with the raster's mask as transparency. `raster` is an open RGB raster with a mask;
// `kmzPath` is UTF-8. Written under a temporary name and placed without replacing any
// file: returns the name used, or nothing when `progress` cancelled. Throws RuntimeError
// saying why it could not be written.
std::optional<std::string> writeSuperOverlay(GDALDatasetH raster, const std::string& kmzPath,
                                             GDALProgressFunc progress, void* progressData);

}  // namespace kartovex
