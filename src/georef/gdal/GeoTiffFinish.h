#pragma once

#include <gdal.h>

#include <string>
#include <vector>

#include "GdalCall.h"

// How every GeoTIFF Kartovex writes is made, for the single picture and the mosaic alike:
// JPEG tiles in YCbCr, an internal mask for the ground outside the pictures, BigTIFF when
// it may be needed, and internal overviews for large rasters.
namespace kartovex {

// The thread configuration the GeoTIFF's mask and overviews need; held while writing.
class GeoTiffConfig {
public:
    GeoTiffConfig();

private:
    ThreadConfig config_;
};

// The creation options as gdal_translate's arguments: "-co", "KEY=VALUE", ...
std::vector<std::string> geoTiffCreationArguments();

// Whether a raster of this size gets overviews.
bool wantsOverviews(int width, int height);

// Adds the overviews to the closed GeoTIFF at `path`, every level down to about 256
// pixels. False when GDAL failed, its reason in the caller's FirstError, or when
// `progress` cancelled.
bool addOverviews(const std::string& path, int width, int height, GDALProgressFunc progress,
                  void* progressData);

}  // namespace kartovex
