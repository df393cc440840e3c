#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "georef/GeoTiffWriter.h"

namespace kartovex {

// One view of a mosaic: its picture and the ground grid it was read with, as control points.
struct MosaicView {
    std::string picturePath;
    std::vector<ControlPoint> points;
};

struct MosaicJob {
    std::vector<MosaicView> views;
    std::string tifPath;
    // Only each view's inner part goes in: Google Earth draws its controls near the edges.
    int marginPixels = 96;
};

// Where the mosaic lies: a north-up raster in longitude and latitude, degrees.
struct MosaicExtent {
    double west = 0, south = 0, east = 0, north = 0;
    std::int64_t width = 0, height = 0;
};

// Writes the views as one GeoTIFF in WGS 84 longitude and latitude at the finest view's
// pixel size, each view warped by its own grid. The file appears only complete, like the
// single picture's GeoTIFF.
class MosaicWriter {
public:
    virtual ~MosaicWriter() = default;
    // Throws RuntimeError whose description says why, e.g. a view's picture could not be
    // read or the disk is full.
    virtual GeoTiffResult write(const MosaicJob& job, const GeoTiffWriter::Progress& progress,
                                MosaicExtent& extent) = 0;
};

}  // namespace kartovex
