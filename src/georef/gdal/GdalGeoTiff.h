#pragma once

#include <string>

#include "georef/GeoTiffWriter.h"

namespace kartovex {

// The GeoTIFF written with GDAL: the picture warped into WGS 84 longitude and latitude
// (longitude first) through a third-order polynomial fitted to the control points, JPEG
// tiles in YCbCr with an internal mask for the ground outside the picture, and internal
// overviews for large pictures, then its Google Earth super-overlay. Its metadata carry
// the fit's expected error and the program that wrote it.
class GdalGeoTiff : public GeoTiffWriter {
public:
    GdalGeoTiff();

    GeoTiffOutcome write(const GeoTiffJob& job, const Progress& progress) override;
};

}  // namespace kartovex
