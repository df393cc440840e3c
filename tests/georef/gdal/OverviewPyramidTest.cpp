#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "georef/gdal/GdalShared.h"
#include "georef/gdal/OverviewPyramid.h"

namespace kartovex {
namespace {

namespace fs = std::filesystem;

// A raster whose right part lies outside the picture, on a slant, in strips as the writer
// sends them: colour, then a 0/255 mask.
std::vector<GByte> strip(int width, int top, int rows) {
    const std::size_t plane = static_cast<std::size_t>(width) * rows;
    std::vector<GByte> planes(4 * plane);
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < width; ++x) {
            const std::size_t at = static_cast<std::size_t>(y) * width + x;
            const int row = top + y;
            planes[at] = static_cast<GByte>(x * 7 + row * 3);
            planes[plane + at] = static_cast<GByte>((x ^ row) * 5);
            planes[2 * plane + at] = static_cast<GByte>(x / 3 + row);
            planes[3 * plane + at] = 2 * x + row < 2 * width - 40 ? 255 : 0;
        }
    return planes;
}

gdal::Dataset raster(const fs::path& path, int width, int height) {
    const gdal::ThreadConfig internalMask{{"GDAL_TIFF_INTERNAL_MASK", "YES"}};
    const char* options[] = {"TILED=YES", nullptr};
    gdal::Dataset tif(GDALCreate(GDALGetDriverByName("GTiff"), path.c_str(), width, height, 3,
                                 GDT_Byte, const_cast<char**>(options)));
    EXPECT_EQ(GDALCreateDatasetMaskBand(tif.get(), GMF_PER_DATASET), CE_None);
    return tif;
}

// GDAL's own averaging of the same full-size raster is the measure: the overviews built
// while writing must show what building them afterwards did, without black at the edges,
// in levels of the same size.
TEST(OverviewPyramid, EachLevelIsGdalsOwnAverageOfTheCoveredPixels) {
    const fs::path folder =
        fs::temp_directory_path() / ("kartovex-pyramid-" + std::to_string(getpid()));
    fs::create_directories(folder);
    gdal::registerOnce();
    for (const auto& [width, height] : {std::pair{640, 320}, std::pair{601, 301}}) {
        SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(height));
        gdal::Dataset ours = raster(folder / "ours.tif", width, height);
        gdal::Dataset gdals = raster(folder / "gdals.tif", width, height);
        gdal::OverviewPyramid pyramid;
        ASSERT_TRUE(pyramid.create(ours.get(), 32));
        int bands[] = {1, 2, 3};
        for (int top = 0; top < height; top += 256) {
            const int rows = std::min(256, height - top);
            std::vector<GByte> planes = strip(width, top, rows);
            for (GDALDatasetH tif : {ours.get(), gdals.get()}) {
                ASSERT_EQ(GDALDatasetRasterIO(tif, GF_Write, 0, top, width, rows, planes.data(),
                                              width, rows, GDT_Byte, 3, bands, 0, 0, 0),
                          CE_None);
                ASSERT_EQ(GDALRasterIO(GDALGetMaskBand(GDALGetRasterBand(tif, 1)), GF_Write, 0, top,
                                       width, rows, planes.data() + 3 * std::size_t(width) * rows,
                                       width, rows, GDT_Byte, 0, 0),
                          CE_None);
            }
            ASSERT_TRUE(pyramid.add(planes.data(), width, rows));
        }
        ASSERT_TRUE(pyramid.finish());
        std::vector<int> factors;
        for (int f = 2; std::max(width, height) / f >= 32; f *= 2) factors.push_back(f);
        ASSERT_EQ(GDALBuildOverviews(gdals.get(), "AVERAGE", int(factors.size()), factors.data(), 0,
                                     nullptr, nullptr, nullptr),
                  CE_None);
        ours.reset(), gdals.reset();  // closed before they are read afresh
        ours = gdal::openForReading((folder / "ours.tif").string());
        gdals = gdal::openForReading((folder / "gdals.tif").string());

        for (int level = 0; level < int(factors.size()); ++level) {
            SCOPED_TRACE("level " + std::to_string(level));
            for (int band = 1; band <= 3; ++band) {
                GDALRasterBandH mine = GDALGetOverview(GDALGetRasterBand(ours.get(), band), level);
                GDALRasterBandH theirs =
                    GDALGetOverview(GDALGetRasterBand(gdals.get(), band), level);
                ASSERT_TRUE(mine && theirs);
                const int w = GDALGetRasterBandXSize(theirs), h = GDALGetRasterBandYSize(theirs);
                ASSERT_EQ(GDALGetRasterBandXSize(mine), w);
                ASSERT_EQ(GDALGetRasterBandYSize(mine), h);
                // Where a level does not divide the raster, GDAL spreads its last pixel's
                // weight over the whole row; the pyramid keeps each pixel to its own four.
                if (width % factors[level] || height % factors[level]) continue;
                std::vector<GByte> a(std::size_t(w) * h), b(a.size()), am(a.size()), bm(a.size());
                for (auto [from, into] : {std::pair{mine, a.data()},
                                          {theirs, b.data()},
                                          {GDALGetMaskBand(mine), am.data()},
                                          {GDALGetMaskBand(theirs), bm.data()}})
                    ASSERT_EQ(GDALRasterIO(from, GF_Read, 0, 0, w, h, into, w, h, GDT_Byte, 0, 0),
                              CE_None);
                int wrong = 0;
                for (std::size_t i = 0; i < a.size(); ++i)
                    wrong += (am[i] != 0) != (bm[i] != 0) || (bm[i] && std::abs(a[i] - b[i]) > 1);
                EXPECT_EQ(wrong, 0) << "band " << band;
            }
        }
    }
    fs::remove_all(folder);
}

}  // namespace
}  // namespace kartovex
