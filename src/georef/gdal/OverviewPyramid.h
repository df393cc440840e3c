#pragma once

#include <gdal.h>

#include <vector>

namespace kartovex::gdal {

// The overviews of a GeoTIFF made while its full-size strips are written, from the strips
// still in memory: built afterwards, they would decode every JPEG tile just written. Each
// level halves the one above it; a reduced pixel is the mean of the covered ones among its
// four and is covered when any of them is, so that no black creeps in from the ground
// outside the picture.
class OverviewPyramid {
public:
    // Adds to `tif` (three colour bands and an internal mask, nothing written yet) the
    // levels 2, 4, 8 ... down to the last whose longer side keeps `smallest` pixels. None
    // when even the first would be smaller. False when GDAL could not make them.
    bool create(GDALDatasetH tif, int smallest);

    // The next `rows` rows of the full raster: red, green, blue and mask planes one after the
    // other, `width` x `rows` each, the mask 0 or 255. Whole tile rows (256) except the
    // last. False when GDAL could not write.
    bool add(const GByte* planes, int width, int rows);

    // Writes the rows each level still holds. False when GDAL could not write.
    bool finish();

private:
    static constexpr int kRows = 256;

    struct Level {
        GDALRasterBandH bands[4] = {};
        int width = 0;
        int written = 0;
        int held = 0;
        std::vector<GByte> planes;  // kRows rows of each of the four bands
    };

    bool take(std::size_t level, const GByte* planes, int width, int rows, std::size_t from);
    bool flush(std::size_t level);

    std::vector<Level> levels_;
};

}  // namespace kartovex::gdal
