#pragma once

#include <string>

#include "GdalShared.h"
#include "PartialFile.h"

namespace kartovex::gdal {

// A written raster under its final name, with its overlay's name or why the overlay failed.
// An empty `tifPath` means the user cancelled.
struct FinishedRaster {
    std::string tifPath;
    std::string kmzPath;
    std::string overlayFailure;
};

// Finishes the raster written at `partial`: its Google Earth super-overlay at `kmzPath` (none
// when empty), then its overviews (when `overviews`), then its final name. The overlay comes
// first: tiling through the overviews corrupted GDAL 3.6's heap on rasters of 5,000 x 5,000
// pixels. The overlay's failure is told, not thrown; any later failure removes the overlay
// again, which would match no raster, and throws. Progress runs from `from` to 1, the
// overviews taking the last `overviewSpan` of it.
FinishedRaster finishRaster(PartialFile& partial, const std::string& tifPath,
                            const std::string& kmzPath, bool overviews, int width, int height,
                            const GeoTiffWriter::Progress& progress, double from,
                            double overviewSpan, FirstError& errors);

}  // namespace kartovex::gdal
