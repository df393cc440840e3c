#pragma once

#include <string>

#include "GdalShared.h"
#include "PartialFile.h"

namespace kartovex::gdal {

// Finishes the raster written at `partial`: its Google Earth super-overlay at `kmzPath` (none
// when empty), then its final name. The overlay is tiled from the full-size raster alone:
// when the tiler reads through the overviews, GDAL 3.6 frees the raster a second time as the
// virtual raster that makes its mask an alpha band closes.
// The names used go into `outcome`, and the overlay's failure too: it is told, not thrown.
// A failure after it removes the overlay again, which would match no raster, and throws.
// False when the user cancelled. Progress runs from `from` to 1.
bool finishRaster(PartialFile& partial, const std::string& tifPath, const std::string& kmzPath,
                  const GeoTiffWriter::Progress& progress, double from, FirstError& errors,
                  GeoTiffOutcome& outcome);

}  // namespace kartovex::gdal
