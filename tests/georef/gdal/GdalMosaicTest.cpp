#include <gdal.h>
#include <gtest/gtest.h>
#include <ogr_srs_api.h>

#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

#include "ScratchMount.h"
#include "TemporaryFolder.h"
#include "georef/gdal/GdalMosaic.h"
#include "model/RuntimeError.h"

namespace kartovex::mosaic {
namespace {

namespace fs = std::filesystem;
using testing::TemporaryFolder;
using Dataset = std::unique_ptr<void, decltype(&GDALClose)>;

constexpr int kWidth = 400, kHeight = 300, kMargin = 20;
constexpr double kDegreesPerPixel = 0.001;
using Colour = std::array<GByte, 3>;
constexpr Colour kRed{230, 20, 20}, kGreen{20, 200, 20}, kBlue{20, 20, 220};

// A view in one colour with its margin in red, kept as a JPG; its grid put `east` pixels
// east of the first view's.
MosaicView makeView(const fs::path& path, Colour colour, int east) {
    GDALAllRegister();
    Dataset memory(GDALCreate(GDALGetDriverByName("MEM"), "", kWidth, kHeight, 3, GDT_Byte, {}),
                   GDALClose);
    std::vector<GByte> band(kWidth * kHeight);
    for (int b = 0; b < 3; ++b) {
        for (int i = 0; i < kWidth * kHeight; ++i) {
            const int x = i % kWidth, y = i / kWidth;
            const bool margin =
                x < kMargin || y < kMargin || x >= kWidth - kMargin || y >= kHeight - kMargin;
            band[i] = margin ? kRed[b] : colour[b];
        }
        EXPECT_EQ(GDALRasterIO(GDALGetRasterBand(memory.get(), b + 1), GF_Write, 0, 0, kWidth,
                               kHeight, band.data(), kWidth, kHeight, GDT_Byte, 0, 0),
                  CE_None);
    }
    Dataset(GDALCreateCopy(GDALGetDriverByName("JPEG"), path.c_str(), memory.get(), FALSE, nullptr,
                           nullptr, nullptr),
            GDALClose);
    MosaicView view{path.string(), {}};
    for (int i = 0; i < 25; ++i) {
        const double pixel = i % 5 / 4.0 * kWidth, line = i / 5 / 4.0 * kHeight;
        view.points.push_back(
            {pixel, line, 10 + (east + pixel) * kDegreesPerPixel, 50.3 - line * kDegreesPerPixel});
    }
    return view;
}

MosaicJob jobIn(const fs::path& folder) {
    return {{makeView(folder / "a.jpg", kGreen, 0), makeView(folder / "b.jpg", kBlue, 300)},
            (folder / "mosaic.tif").string(),
            kMargin,
            ""};
}

// Each view lies where its own grid says, in its own colours, and no margin shows.
TEST(GdalMosaicTest, EachViewLiesByItsOwnGridWithoutItsMargin) {
    TemporaryFolder folder;
    MosaicJob job = jobIn(folder.path());
    job.kmzPath = (folder / "mosaic.kmz").string();
    const GeoTiffOutcome outcome = GdalMosaic().write(job, nullptr);
    ASSERT_EQ(outcome.result, GeoTiffResult::Written);
    EXPECT_EQ(outcome.kmzPath, job.kmzPath);
    EXPECT_TRUE(fs::exists(job.kmzPath));
    const NorthUpRaster& extent = outcome.raster;
    EXPECT_NEAR(extent.west, 10 + kMargin * kDegreesPerPixel, 1e-9);
    EXPECT_NEAR(extent.north, 50.3 - kMargin * kDegreesPerPixel, 1e-9);
    EXPECT_NEAR(extent.width, 300 + kWidth - 2 * kMargin, 2);
    EXPECT_NEAR(extent.height, kHeight - 2 * kMargin, 2);

    Dataset tif(GDALOpen(job.tifPath.c_str(), GA_ReadOnly), GDALClose);
    ASSERT_TRUE(tif);
    EXPECT_STREQ(OSRGetAuthorityCode(GDALGetSpatialRef(tif.get()), nullptr), "4326");
    const int w = GDALGetRasterXSize(tif.get()), h = GDALGetRasterYSize(tif.get());
    std::vector<GByte> rgb(static_cast<std::size_t>(w) * h * 3);
    ASSERT_EQ(GDALDatasetRasterIO(tif.get(), GF_Read, 0, 0, w, h, rgb.data(), w, h, GDT_Byte, 3,
                                  nullptr, 3, 3 * w, 1),
              CE_None);
    const auto at = [&](double lon, double lat) {
        const int x = static_cast<int>((lon - extent.west) / kDegreesPerPixel);
        const int y = static_cast<int>((extent.north - lat) / kDegreesPerPixel);
        const GByte* p = &rgb[(static_cast<std::size_t>(y) * w + x) * 3];
        return p[1] > 150 ? kGreen : p[2] > 150 ? kBlue : p[0] > 150 ? kRed : Colour{};
    };
    EXPECT_EQ(at(10.1, 50.15), kGreen);
    EXPECT_EQ(at(10.36, 50.15), kBlue);  // both views: the later one
    EXPECT_EQ(at(10.6, 50.15), kBlue);
    for (int i = 0; i < w * h; ++i)
        ASSERT_LT(rgb[i * 3], 150) << "red at " << i % w << " " << i / w;
}

// A cancel or a failure says why, and leaves the folder as it was.
TEST(GdalMosaicTest, CancelOrFailureLeavesTheFolderAsItWas) {
    struct Case {
        const char* name;
        std::function<void(MosaicJob&)> spoil;
        long number;  // 0: cancelled half-way
        std::string says;
    };
    std::optional<testing::ScratchMount> disk;
    const std::vector<Case> cases{
        {"cancelled half-way", [](MosaicJob&) {}, 0, ""},
        {"second picture missing", [](MosaicJob& j) { fs::remove(j.views[1].picturePath); },
         error::InvalidPicture, "View 2's picture could not be read"},
        {"margin larger than the view", [](MosaicJob& j) { j.marginPixels = 100; },
         error::InvalidArgument, "View 1's picture is too small for a margin of 100 pixels"},
        {"a folder that fills", [&](MosaicJob&) { disk->fillLeavingOnePage(); }, error::DiskFull,
         "No space left on device"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TemporaryFolder scratch;
        fs::path folder = scratch.path();
        if (c.number == error::DiskFull) {
            folder /= "disk";
            if (!disk.emplace(folder, "size=1m").mounted()) continue;  // no right to mount here
        }
        MosaicJob job = jobIn(folder);
        c.spoil(job);
        const std::set<std::string> before = TemporaryFolder::namesIn(folder);
        try {
            EXPECT_EQ(GdalMosaic().write(job, [&](double f) { return c.number || f < 0.5; }).result,
                      GeoTiffResult::Cancelled);
            EXPECT_EQ(c.number, 0);
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.number(), c.number);
            EXPECT_EQ(e.description().substr(0, c.says.size()), c.says) << e.description();
        }
        EXPECT_EQ(TemporaryFolder::namesIn(folder), before);
    }
}

}  // namespace
}  // namespace kartovex::mosaic
