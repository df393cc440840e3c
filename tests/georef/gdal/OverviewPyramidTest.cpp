#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TemporaryFolder.h"
#include "georef/gdal/GdalShared.h"
#include "georef/gdal/OverviewPyramid.h"

namespace kartovex {
namespace {

std::vector<GByte> pixels(GDALRasterBandH band) {
    const int w = GDALGetRasterBandXSize(band), h = GDALGetRasterBandYSize(band);
    std::vector<GByte> out(std::size_t(w) * h);
    EXPECT_EQ(GDALRasterIO(band, GF_Read, 0, 0, w, h, out.data(), w, h, GDT_Byte, 0, 0), CE_None);
    return out;
}

// GDAL's own averaging of the same raster is the measure: the overviews made while writing
// show what building them afterwards did, without black from the ground outside the
// picture (here a slanted strip on the right).
TEST(OverviewPyramid, EachLevelIsGdalsOwnAverageOfTheCoveredPixels) {
    const testing::TemporaryFolder folder;
    gdal::registerOnce();
    const gdal::ThreadConfig internalMask{{"GDAL_TIFF_INTERNAL_MASK", "YES"}};
    for (const auto& [width, height] : {std::pair{640, 320}, std::pair{601, 301}}) {
        SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(height));
        gdal::Dataset tifs[2];
        for (int i = 0; i < 2; ++i) {
            const char* options[] = {"TILED=YES", nullptr};
            tifs[i].reset(GDALCreate(GDALGetDriverByName("GTiff"),
                                     (folder / (std::to_string(i) + ".tif")).c_str(), width, height,
                                     3, GDT_Byte, const_cast<char**>(options)));
            ASSERT_EQ(GDALCreateDatasetMaskBand(tifs[i].get(), GMF_PER_DATASET), CE_None);
        }
        gdal::OverviewPyramid pyramid;
        ASSERT_TRUE(pyramid.create(tifs[0].get(), 32));
        for (int top = 0; top < height; top += 256) {
            const int rows = std::min(256, height - top);
            const std::size_t plane = std::size_t(width) * rows;
            std::vector<GByte> planes(4 * plane);
            for (std::size_t at = 0; at < plane; ++at) {
                const int x = int(at % width), y = top + int(at / width);
                planes[at] = GByte(x * 7 + y * 3), planes[plane + at] = GByte((x ^ y) * 5);
                planes[2 * plane + at] = GByte(x / 3 + y);
                planes[3 * plane + at] = 2 * x + y < 2 * width - 40 ? 255 : 0;
            }
            for (auto& tif : tifs) {
                int bands[] = {1, 2, 3};
                ASSERT_EQ(
                    GDALDatasetRasterIO(tif.get(), GF_Write, 0, top, width, rows, planes.data(),
                                        width, rows, GDT_Byte, 3, bands, 0, 0, 0),
                    CE_None);
                ASSERT_EQ(GDALRasterIO(GDALGetMaskBand(GDALGetRasterBand(tif.get(), 1)), GF_Write,
                                       0, top, width, rows, planes.data() + 3 * plane, width, rows,
                                       GDT_Byte, 0, 0),
                          CE_None);
            }
            ASSERT_TRUE(pyramid.add(planes.data(), width, rows));
        }
        ASSERT_TRUE(pyramid.finish());
        std::vector<int> factors;
        for (int f = 2; std::max(width, height) / f >= 32; f *= 2) factors.push_back(f);
        ASSERT_EQ(GDALBuildOverviews(tifs[1].get(), "AVERAGE", int(factors.size()), factors.data(),
                                     0, nullptr, nullptr, nullptr),
                  CE_None);
        for (int i = 0; i < 2; ++i) {  // closed, then read afresh
            tifs[i].reset();
            tifs[i] = gdal::openForReading((folder / (std::to_string(i) + ".tif")).string());
        }

        for (int level = 0; level < int(factors.size()); ++level)
            for (int band = 1; band <= 3; ++band) {
                SCOPED_TRACE("level " + std::to_string(level) + ", band " + std::to_string(band));
                GDALRasterBandH ours =
                    GDALGetOverview(GDALGetRasterBand(tifs[0].get(), band), level);
                GDALRasterBandH gdals =
                    GDALGetOverview(GDALGetRasterBand(tifs[1].get(), band), level);
                ASSERT_TRUE(ours && gdals);
                const std::vector<GByte> a = pixels(ours), b = pixels(gdals),
                                         am = pixels(GDALGetMaskBand(ours)),
                                         bm = pixels(GDALGetMaskBand(gdals));
                ASSERT_EQ(a.size(), b.size());
                // Where a level does not divide the raster, GDAL spreads its last pixel's
                // weight over the whole row; the pyramid keeps each pixel to its own four.
                if (width % factors[level] || height % factors[level]) continue;
                int wrong = 0;
                for (std::size_t i = 0; i < a.size(); ++i)
                    wrong += (am[i] != 0) != (bm[i] != 0) || (bm[i] && std::abs(a[i] - b[i]) > 1);
                EXPECT_EQ(wrong, 0);
            }
    }
}

}  // namespace
}  // namespace kartovex
