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
    // The Google Earth super-overlay of the mosaic, when not empty.
    std::string kmzPath;
};

// Writes the views as one GeoTIFF in WGS 84 longitude and latitude at the finest view's
// pixel size, each view warped by its own grid, and its super-overlay. The files appear
// only complete, like the single picture's GeoTIFF; the outcome says where the raster lies.
class MosaicWriter {
public:
    virtual ~MosaicWriter() = default;
    // Throws RuntimeError whose description says why, e.g. a view's picture could not be
    // read or the disk is full.
    virtual GeoTiffOutcome write(const MosaicJob& job, const GeoTiffWriter::Progress& progress) = 0;
};

}  // namespace kartovex
