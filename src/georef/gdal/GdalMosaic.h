#pragma once

#include "georef/MosaicWriter.h"

namespace kartovex {

// The mosaic written with GDAL, block by block: each output block is put together from the
// warped views that reach it, so memory stays bounded whatever the mosaic's size. Where
// views overlap, the later one's fully covered pixels win.
class GdalMosaic : public MosaicWriter {
public:
    GdalMosaic();
    GeoTiffOutcome write(const MosaicJob& job, const GeoTiffWriter::Progress& progress) override;
};

}  // namespace kartovex
