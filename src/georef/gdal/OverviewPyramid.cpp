#include "OverviewPyramid.h"

#include <cpl_error.h>

#include <algorithm>

namespace kartovex::gdal {

bool OverviewPyramid::create(GDALDatasetH tif, int smallest) {
    const int width = GDALGetRasterXSize(tif), height = GDALGetRasterYSize(tif);
    std::vector<int> factors;
    for (int f = 2; std::max(width, height) / f >= smallest; f *= 2) factors.push_back(f);
    if (factors.empty()) return true;
    // "NONE" makes the levels without computing them: they are written here.
    if (GDALBuildOverviews(tif, "NONE", static_cast<int>(factors.size()), factors.data(), 0,
                           nullptr, nullptr, nullptr) != CE_None)
        return false;
    int levelWidth = width;
    for (std::size_t i = 0; i < factors.size(); ++i) {
        Level level;
        for (int b = 0; b < 3; ++b)
            level.bands[b] = GDALGetOverview(GDALGetRasterBand(tif, b + 1), static_cast<int>(i));
        levelWidth = (levelWidth + 1) / 2;
        if (!level.bands[0] || !level.bands[1] || !level.bands[2] ||
            GDALGetMaskFlags(level.bands[0]) != GMF_PER_DATASET ||
            GDALGetRasterBandXSize(level.bands[0]) != levelWidth) {
            CPLError(CE_Failure, CPLE_AppDefined, "The GeoTIFF's overviews could not be made");
            return false;
        }
        level.bands[3] = GDALGetMaskBand(level.bands[0]);
        level.width = levelWidth;
        level.planes.resize(static_cast<std::size_t>(levelWidth) * kRows * 4);
        levels_.push_back(std::move(level));
    }
    return true;
}

bool OverviewPyramid::add(const GByte* planes, int width, int rows) {
    return levels_.empty() || take(0, planes, width, rows, static_cast<std::size_t>(width) * rows);
}

bool OverviewPyramid::finish() {
    for (std::size_t i = 0; i < levels_.size(); ++i)
        if (levels_[i].held > 0 && !flush(i)) return false;
    return true;
}

// Reduces `rows` rows of the level above, `width` wide, its planes `from` bytes apart, into
// `level`.
bool OverviewPyramid::take(std::size_t level, const GByte* planes, int width, int rows,
                           std::size_t from) {
    Level& to = levels_[level];
    const std::size_t into = static_cast<std::size_t>(to.width) * kRows;
    for (int row = 0; row < rows; row += 2) {
        const int down = std::min(2, rows - row);
        GByte* out = to.planes.data() + static_cast<std::size_t>(to.held) * to.width;
        for (int x = 0; x < to.width; ++x) {
            const int across = std::min(2, width - 2 * x);
            unsigned sum[3] = {0, 0, 0}, covered = 0;
            for (int dy = 0; dy < down; ++dy)
                for (int dx = 0; dx < across; ++dx) {
                    const std::size_t at = static_cast<std::size_t>(row + dy) * width + 2 * x + dx;
                    if (!planes[3 * from + at]) continue;
                    ++covered;
                    for (int b = 0; b < 3; ++b) sum[b] += planes[b * from + at];
                }
            for (int b = 0; b < 3; ++b)
                out[b * into + x] =
                    static_cast<GByte>(covered ? (sum[b] + covered / 2) / covered : 0);
            out[3 * into + x] = covered ? 255 : 0;
        }
        if (++to.held == kRows && !flush(level)) return false;
    }
    return true;
}

// Writes the rows `level` holds, then passes them on to the level below it.
bool OverviewPyramid::flush(std::size_t level) {
    Level& l = levels_[level];
    const std::size_t plane = static_cast<std::size_t>(l.width) * kRows;
    for (int b = 0; b < 4; ++b)
        if (GDALRasterIO(l.bands[b], GF_Write, 0, l.written, l.width, l.held,
                         l.planes.data() + b * plane, l.width, l.held, GDT_Byte, 0,
                         l.width) != CE_None)
            return false;
    l.written += l.held;
    const int rows = l.held;
    l.held = 0;
    return level + 1 == levels_.size() || take(level + 1, l.planes.data(), l.width, rows, plane);
}

}  // namespace kartovex::gdal
