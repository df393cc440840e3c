#pragma once

#include <string>

#include "georef/GeoTiffWriter.h"

namespace kartovex {

// The GeoTIFF written with GDAL: the picture warped into WGS 84 longitude and latitude
// (longitude first) through a third-order polynomial fitted to the control points, JPEG
// tiles in YCbCr with an internal mask for the ground outside the picture, and internal
// overviews for large pictures. Its metadata carry the fit's expected error and the mark
// by which `wroteIt` knows the file as ours.
class GdalGeoTiff : public GeoTiffWriter {
public:
    GdalGeoTiff();

    GeoTiffResult write(const GeoTiffJob& job, const Progress& progress) override;
    bool wroteIt(const std::string& path) override;
};

}  // namespace kartovex
