#include <cpl_conv.h>
#include <gdal.h>
#include <gtest/gtest.h>
#include <ogr_srs_api.h>

#include <cmath>
#include <filesystem>
#include <functional>
#include <optional>

#include "ScratchMount.h"
#include "TemporaryFolder.h"
#include "georef/Wgs84TabFile.h"
#include "georef/gdal/GdalGeoTiff.h"
#include "model/RuntimeError.h"

namespace kartovex {
namespace {

namespace fs = std::filesystem;
using testing::TemporaryFolder;
constexpr auto put = &TemporaryFolder::put;
constexpr auto contentOf = &TemporaryFolder::contentOf;

constexpr int kWidth = 320, kHeight = 240, kSpotPixel = 200, kSpotLine = 60;

// The ground under a picture position (pixel edges), curved as a wide view is.
std::pair<double, double> ground(double pixel, double line) {
    return {116.0 + 0.001 * pixel + 2e-8 * pixel * line,
            39.9 - 0.0008 * line + 1e-8 * pixel * pixel};
}

GeoTiffJob jobIn(const fs::path& folder) {
    GeoTiffJob job{(folder / "area.jpg").string(), (folder / "area.tif").string(), {}, {}};
    for (int i = 0; i < 25; ++i) {
        const double pixel = i % 5 / 4.0 * kWidth, line = i / 5 / 4.0 * kHeight;
        const auto [lon, lat] = ground(pixel, line);
        job.points.push_back({pixel, line, lon, lat});
    }
    return job;
}

using Dataset = std::unique_ptr<void, decltype(&GDALClose)>;

// A JPG with a bright spot on dark ground above, noise that compresses badly below.
void makePicture(const fs::path& path) {
    GDALAllRegister();
    Dataset memory(GDALCreate(GDALGetDriverByName("MEM"), "", kWidth, kHeight, 3, GDT_Byte, {}),
                   GDALClose);
    std::vector<GByte> pixels(kWidth * kHeight, 20);
    for (int i = kWidth * kHeight / 2; i < kWidth * kHeight; ++i)
        pixels[i] = static_cast<GByte>(i * 2654435761u >> 24);
    for (int d = 0; d < 25; ++d)
        pixels[(kSpotLine + d / 5 - 2) * kWidth + kSpotPixel + d % 5 - 2] = static_cast<GByte>(
            235 * std::exp(-((d / 5 - 2) * (d / 5 - 2) + (d % 5 - 2) * (d % 5 - 2)) / 2.0));
    for (int band = 1; band <= 3; ++band)
        ASSERT_FALSE(GDALRasterIO(GDALGetRasterBand(memory.get(), band), GF_Write, 0, 0, kWidth,
                                  kHeight, pixels.data(), kWidth, kHeight, GDT_Byte, 0, 0));
    ASSERT_TRUE(Dataset(GDALCreateCopy(GDALGetDriverByName("JPEG"), path.c_str(), memory.get(),
                                       FALSE, nullptr, nullptr, nullptr),
                        GDALClose));
}

// Where a GIS and Google Earth show it: WGS 84 longitude/latitude, a mask, the bright
// spot's centre where its pixel lies on the ground; the super-overlay over the same
// bounds; the table registering the raster exactly. No name a user's file has is used or
// removed on the way, and a file that took the name meanwhile stays.
TEST(GdalGeoTiffTest, LiesWhereTheControlPointsSayAndLeavesEveryOtherFileAlone) {
    TemporaryFolder folder;
    makePicture(folder / "area.jpg");
    put(folder / "area.tif.partial", "the user's");
    GeoTiffJob job = jobIn(folder.path());
    job.kmzPath = (folder / "area.kmz").string();
    const GeoTiffOutcome done = GdalGeoTiff().write(job, nullptr);
    EXPECT_EQ(done.result, GeoTiffResult::Written);
    EXPECT_EQ(done.tifPath, job.tifPath);
    EXPECT_EQ(done.kmzPath, job.kmzPath);
    EXPECT_EQ(TemporaryFolder::namesIn(folder.path()),
              (std::set<std::string>{"area.jpg", "area.tif", "area.kmz", "area.tif.partial"}));
    EXPECT_EQ(contentOf(folder / "area.tif.partial"), "the user's");

    Dataset tif(GDALOpen((folder / "area.tif").c_str(), GA_ReadOnly), GDALClose);
    ASSERT_TRUE(tif);
    EXPECT_STREQ(OSRGetAuthorityCode(GDALGetSpatialRef(tif.get()), nullptr), "4326");
    double t[6];
    ASSERT_EQ(GDALGetGeoTransform(tif.get(), t), CE_None);
    const auto [lon, lat] = ground(kSpotPixel + 0.5, kSpotLine + 0.5);
    const double x = (lon - t[0]) / t[1], y = (lat - t[3]) / t[5];
    std::vector<GByte> v(13 * 13);
    ASSERT_FALSE(GDALRasterIO(GDALGetRasterBand(tif.get(), 1), GF_Read, int(x) - 6, int(y) - 6, 13,
                              13, v.data(), 13, 13, GDT_Byte, 0, 0));
    double sum = 0, sx = 0, sy = 0;
    for (int i = 0; i < 13 * 13; ++i) {
        const double w = std::max(0, v[i] - 40);
        sum += w, sx += w * (int(x) - 5.5 + i % 13), sy += w * (int(y) - 5.5 + i / 13);
    }
    EXPECT_LT(std::hypot(sx / sum - x, sy / sum - y), 0.3);
    // The mask: the spot's ground is the picture's, the north-west corner is not.
    GByte spot = 0, corner = 255;
    const GDALRasterBandH mask = GDALGetMaskBand(GDALGetRasterBand(tif.get(), 1));
    ASSERT_FALSE(GDALRasterIO(mask, GF_Read, int(x), int(y), 1, 1, &spot, 1, 1, GDT_Byte, 0, 0));
    ASSERT_FALSE(GDALRasterIO(mask, GF_Read, 0, 0, 1, 1, &corner, 1, 1, GDT_Byte, 0, 0));
    EXPECT_EQ(spot * 1000 + corner, 255000);

    // The outer edges, as the overlay and the table made from the outcome give them.
    const int w = GDALGetRasterXSize(tif.get()), h = GDALGetRasterYSize(tif.get());
    const double edges[] = {t[0], t[3] + h * t[5], t[0] + w * t[1], t[3]};
    Dataset overlay(GDALOpen(("/vsizip/" + job.kmzPath + "/doc.kml").c_str(), GA_ReadOnly),
                    GDALClose);
    ASSERT_TRUE(overlay);
    double o[6];
    ASSERT_EQ(GDALGetGeoTransform(overlay.get(), o), CE_None);
    const int ow = GDALGetRasterXSize(overlay.get()), oh = GDALGetRasterYSize(overlay.get());
    const double bounds[] = {o[0], o[3] + oh * o[5], o[0] + ow * o[1], o[3]};
    // The overlay's file keeps its bounds to a hundredth of a pixel.
    for (int i = 0; i < 4; ++i) EXPECT_NEAR(bounds[i], edges[i], t[1] / 100) << i;

    put(folder / "area_wgs84.tab", wgs84TabFileBytes("area.tif", done.raster));
    double fromTable[6];
    char* projection = nullptr;
    int count = 0;
    GDAL_GCP* gcps = nullptr;
    ASSERT_TRUE(GDALReadTabFile((folder / "area_wgs84.tif").c_str(), fromTable, &projection, &count,
                                &gcps));
    CPLFree(projection);
    GDALDeinitGCPs(count, gcps);
    CPLFree(gcps);
    for (int i = 0; i < 6; ++i) EXPECT_NEAR(fromTable[i], t[i], 1e-12) << i;

    // A user's GeoTIFF copied to the name while the warp ran.
    std::filesystem::remove(folder / "area.tif");
    const GeoTiffOutcome again = GdalGeoTiff().write(jobIn(folder.path()), [&](double f) {
        if (f > 0.5 && !fs::exists(folder / "area.tif")) put(folder / "area.tif", "the user's");
        return true;
    });
    EXPECT_EQ(again.tifPath, (folder / "area (2).tif").string());
    EXPECT_EQ(contentOf(folder / "area.tif"), "the user's");
}

// A cancel or a failure says why, and leaves the folder as it was.
TEST(GdalGeoTiffTest, CancelOrFailureLeavesTheEarlierFileAsItWas) {
    struct Case {
        const char* name;
        std::function<void(const fs::path& folder, GeoTiffJob& job)> prepare;
        long number;  // 0: cancelled half-way
        std::string says;
    };
    const auto fine = [](const fs::path& f, GeoTiffJob&) { makePicture(f / "area.jpg"); };
    std::optional<testing::ScratchMount> disk;
    const std::vector<Case> cases{
        {"cancelled half-way", fine, 0, ""},
        {"picture cut short after its header",
         [&](const fs::path& f, GeoTiffJob& job) {
             fine(f, job), put(f / "area.jpg", contentOf(f / "area.jpg").substr(0, 3000));
         },
         error::InvalidPicture, "The picture could not be read: Premature end of JPEG file"},
        {"no picture", [](auto&, auto&) {}, error::InvalidPicture, "The picture could not be read"},
        {"corners only",
         [&](const fs::path& f, GeoTiffJob& job) {
             fine(f, job), job.points = {job.points[0], job.points[4], job.points[20]};
         },
         error::InvalidArgument, "The picture needs at least 10 control points"},
        {"a folder that fills",
         [&](const fs::path& f, GeoTiffJob& job) { fine(f, job), disk->fillLeavingOnePage(); },
         error::DiskFull, "No space left on device"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TemporaryFolder scratch;
        fs::path folder = scratch.path();
        if (c.number == error::DiskFull) {
            folder /= "disk";
            if (!disk.emplace(folder, "size=1m").mounted()) continue;  // no right to mount here
        }
        put(folder / "area.tif", "earlier GeoTIFF");
        GeoTiffJob job = jobIn(folder);
        c.prepare(folder, job);
        const std::set<std::string> before = TemporaryFolder::namesIn(folder);
        try {
            EXPECT_EQ(
                GdalGeoTiff().write(job, [&](double f) { return c.number || f < 0.5; }).result,
                GeoTiffResult::Cancelled);
            EXPECT_EQ(c.number, 0);
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.number(), c.number);
            EXPECT_EQ(e.description().substr(0, c.says.size()), c.says) << e.description();
        }
        EXPECT_EQ(contentOf(folder / "area.tif"), "earlier GeoTIFF");
        EXPECT_EQ(TemporaryFolder::namesIn(folder), before);
    }
}

}  // namespace
}  // namespace kartovex
