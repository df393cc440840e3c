#include "GeoTiffFinish.h"

#include <algorithm>
#include <memory>

namespace kartovex {
namespace {

constexpr int kOverviewsAbovePixels = 4000;
constexpr int kSmallestOverview = 256;
constexpr const char* kJpegQuality = "90";

}  // namespace

GeoTiffConfig::GeoTiffConfig()
    : config_{{"GDAL_PAM_ENABLED", "NO"},
              {"GDAL_TIFF_INTERNAL_MASK", "YES"},
              {"GDAL_ERROR_ON_LIBJPEG_WARNING", "TRUE"},
              {"COMPRESS_OVERVIEW", "JPEG"},
              {"PHOTOMETRIC_OVERVIEW", "YCBCR"},
              {"INTERLEAVE_OVERVIEW", "PIXEL"},
              {"JPEG_QUALITY_OVERVIEW", kJpegQuality}} {}

std::vector<std::string> geoTiffCreationArguments() {
    return {"-co", "TILED=YES", "-co", "NUM_THREADS=2", "-co", "COMPRESS=JPEG", "-co",
            "PHOTOMETRIC=YCBCR", "-co", std::string("JPEG_QUALITY=") + kJpegQuality,
            // The tiles share one set of tables instead of each carrying its own.
            "-co", "JPEGTABLESMODE=3", "-co", "BIGTIFF=IF_SAFER"};
}

bool wantsOverviews(int width, int height) {
    return std::max(width, height) > kOverviewsAbovePixels;
}

bool addOverviews(const std::string& path, int width, int height, GDALProgressFunc progress,
                  void* progressData) {
    const std::unique_ptr<void, decltype(&GDALClose)> tif(
        GDALOpenEx(path.c_str(), GDAL_OF_RASTER | GDAL_OF_UPDATE, nullptr, nullptr, nullptr),
        &GDALClose);
    if (!tif) return false;
    std::vector<int> levels;
    for (int f = 2; std::max(width, height) / f >= kSmallestOverview; f *= 2) levels.push_back(f);
    if (levels.empty()) return true;
    return GDALBuildOverviews(tif.get(), "AVERAGE", static_cast<int>(levels.size()), levels.data(),
                              0, nullptr, progress, progressData) == CE_None;
}

}  // namespace kartovex
