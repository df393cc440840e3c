#include <gdal.h>
#include <gtest/gtest.h>
#include <ogr_srs_api.h>

#include <cmath>
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "ErrorOf.h"
#include "TemporaryFolder.h"
#include "georef/gdal/GdalGeoTiff.h"
#include "model/RuntimeError.h"

#ifdef __linux__
#include "ScratchMount.h"
#endif

namespace kartovex {
namespace {

namespace fs = std::filesystem;
using testing::TemporaryFolder;
constexpr auto put = &TemporaryFolder::put;
constexpr auto contentOf = &TemporaryFolder::contentOf;
constexpr auto namesIn = &TemporaryFolder::namesIn;

constexpr int kWidth = 320, kHeight = 240;
// A bright spot on a dark picture, centred on this pixel.
constexpr int kSpotPixel = 200, kSpotLine = 60;

// The ground under a picture position (pixel edges): curved as a wide view is, longitude
// growing to the right and latitude to the top.
std::pair<double, double> ground(double pixel, double line) {
    return {116.0 + 0.001 * pixel + 2e-8 * pixel * line,
            39.9 - 0.0008 * line + 1e-8 * pixel * pixel};
}

std::vector<ControlPoint> gridOfPoints() {
    std::vector<ControlPoint> points;
    for (int row = 0; row < 5; ++row)
        for (int column = 0; column < 5; ++column) {
            const double pixel = column / 4.0 * kWidth, line = row / 4.0 * kHeight;
            const auto [lon, lat] = ground(pixel, line);
            points.push_back({pixel, line, lon, lat});
        }
    return points;
}

struct DatasetCloser {
    void operator()(void* dataset) const {
        if (dataset) GDALClose(dataset);
    }
};
using Dataset = std::unique_ptr<void, DatasetCloser>;

// A picture written by GDAL's `driver` ("JPEG", or "GTiff" for someone else's GeoTIFF):
// a bright spot on dark ground above, noise that compresses badly below.
void makePicture(const fs::path& path, const char* driver) {
    GDALAllRegister();
    Dataset memory(
        GDALCreate(GDALGetDriverByName("MEM"), "", kWidth, kHeight, 3, GDT_Byte, nullptr));
    std::vector<GByte> pixels(kWidth * kHeight, 20);
    for (int i = kWidth * kHeight / 2; i < kWidth * kHeight; ++i)
        pixels[i] = static_cast<GByte>(i * 2654435761u >> 24);
    for (int dy = -2; dy <= 2; ++dy)
        for (int dx = -2; dx <= 2; ++dx)
            pixels[(kSpotLine + dy) * kWidth + kSpotPixel + dx] =
                static_cast<GByte>(235 * std::exp(-(dx * dx + dy * dy) / 2.0));
    for (int band = 1; band <= 3; ++band)
        ASSERT_EQ(GDALRasterIO(GDALGetRasterBand(memory.get(), band), GF_Write, 0, 0, kWidth,
                               kHeight, pixels.data(), kWidth, kHeight, GDT_Byte, 0, 0),
                  CE_None);
    double transform[] = {116, 0.001, 0, 39.9, 0, -0.001};
    if (std::string(driver) == "GTiff") GDALSetGeoTransform(memory.get(), transform);
    char* options[] = {const_cast<char*>("QUALITY=95"), nullptr};
    Dataset written(GDALCreateCopy(GDALGetDriverByName(driver), path.c_str(), memory.get(), FALSE,
                                   std::string(driver) == "JPEG" ? options : nullptr, nullptr,
                                   nullptr));
    ASSERT_TRUE(written);
}

class GdalGeoTiffTest : public ::testing::Test {
protected:
    GeoTiffJob job() const {
        return {(folder / "area.jpg").string(), (folder / "area.tif").string(), gridOfPoints()};
    }

    TemporaryFolder scratch;
    fs::path folder = scratch.path();
    GdalGeoTiff writer;
};

// What a GIS sees: WGS 84 longitude/latitude around the picture's corners, and the
// picture's bright spot where its pixel lies on the ground.
TEST_F(GdalGeoTiffTest, TheGeoTiffLiesWhereTheControlPointsSay) {
    makePicture(folder / "area.jpg", "JPEG");
    std::vector<double> told;
    EXPECT_EQ(writer.write(job(), [&](double f) { return told.push_back(f), true; }),
              GeoTiffResult::Written);
    EXPECT_EQ(told.back(), 1.0);
    EXPECT_TRUE(writer.wroteIt((folder / "area.tif").string()));

    Dataset tif(GDALOpen((folder / "area.tif").c_str(), GA_ReadOnly));
    ASSERT_TRUE(tif);
    OGRSpatialReferenceH srs = GDALGetSpatialRef(tif.get());
    ASSERT_TRUE(srs);
    EXPECT_STREQ(OSRGetAuthorityCode(srs, nullptr), "4326");
    double t[6];
    ASSERT_EQ(GDALGetGeoTransform(tif.get(), t), CE_None);
    const int columns = GDALGetRasterXSize(tif.get()), rows = GDALGetRasterYSize(tif.get());
    for (const auto& [pixel, line] :
         {std::pair{0, 0}, {kWidth, 0}, {0, kHeight}, {kWidth, kHeight}}) {
        const auto [lon, lat] = ground(pixel, line);
        EXPECT_GE(lon, t[0]);
        EXPECT_LE(lon, t[0] + columns * t[1]);
        EXPECT_LE(lat, t[3]);
        EXPECT_GE(lat, t[3] + rows * t[5]);
    }
    EXPECT_NE(GDALGetMaskFlags(GDALGetRasterBand(tif.get(), 1)) & GMF_PER_DATASET, 0);

    // The spot's centre of brightness, in the GeoTIFF's pixels, around where it belongs.
    const auto [lon, lat] = ground(kSpotPixel + 0.5, kSpotLine + 0.5);
    const double x = (lon - t[0]) / t[1], y = (lat - t[3]) / t[5];
    const int left = static_cast<int>(x) - 6, top = static_cast<int>(y) - 6;
    std::vector<GByte> window(13 * 13);
    ASSERT_EQ(GDALRasterIO(GDALGetRasterBand(tif.get(), 1), GF_Read, left, top, 13, 13,
                           window.data(), 13, 13, GDT_Byte, 0, 0),
              CE_None);
    double sum = 0, sx = 0, sy = 0;
    for (int j = 0; j < 13; ++j)
        for (int i = 0; i < 13; ++i) {
            const double w = std::max(0, window[j * 13 + i] - 40);
            sum += w, sx += w * (left + i + 0.5), sy += w * (top + j + 0.5);
        }
    ASSERT_GT(sum, 0);
    EXPECT_NEAR(sx / sum, x, 0.3);
    EXPECT_NEAR(sy / sum, y, 0.3);
}

TEST_F(GdalGeoTiffTest, CancelHalfWayLeavesTheEarlierFileAsItWas) {
    makePicture(folder / "area.jpg", "JPEG");
    put(folder / "area.tif", "earlier GeoTIFF");
    EXPECT_EQ(writer.write(job(), [](double f) { return f < 0.5; }), GeoTiffResult::Cancelled);
    EXPECT_EQ(contentOf(folder / "area.tif"), "earlier GeoTIFF");
    EXPECT_EQ(namesIn(folder), (std::set<std::string>{"area.jpg", "area.tif"}));
}

// Each failure says why, and leaves the folder as it was.
TEST_F(GdalGeoTiffTest, AFailureSaysWhyAndLeavesNoPartialFile) {
    struct Case {
        const char* name;
        std::function<void(const fs::path& folder, GeoTiffJob& job)> prepare;
        long number;
        std::string says;
    };
    const std::vector<Case> cases{
        {"picture cut short after its header",
         [](const fs::path& f, GeoTiffJob&) {
             makePicture(f / "area.jpg", "JPEG");
             const std::string whole = contentOf(f / "area.jpg");
             put(f / "area.jpg", whole.substr(0, whole.size() / 3));
         },
         error::InvalidPicture, "The picture could not be read: "},
        {"no picture", [](const fs::path&, GeoTiffJob&) {}, error::InvalidPicture,
         "The picture could not be read: "},
        {"corners only",
         [](const fs::path& f, GeoTiffJob& job) {
             makePicture(f / "area.jpg", "JPEG");
             job.points = {job.points[0], job.points[4], job.points[20], job.points[24]};
         },
         error::InvalidArgument, "at least 10 control points"},
        {"points all in one place",
         [](const fs::path& f, GeoTiffJob& job) {
             makePicture(f / "area.jpg", "JPEG");
             for (auto& p : job.points) p.longitude = 116, p.latitude = 40;
         },
         error::InvalidArgument, "The control points do not"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TemporaryFolder own;
        GeoTiffJob j = job();
        j.picturePath = (own / "area.jpg").string(), j.tifPath = (own / "area.tif").string();
        c.prepare(own.path(), j);
        put(own / "area.tif", "earlier GeoTIFF");
        const std::set<std::string> before = namesIn(own.path());
        const RuntimeError e = testing::errorOf([&] { writer.write(j, nullptr); });
        EXPECT_EQ(e.number(), c.number);
        EXPECT_NE(e.description().find(c.says), std::string::npos) << e.description();
        EXPECT_EQ(contentOf(own / "area.tif"), "earlier GeoTIFF");
        EXPECT_EQ(namesIn(own.path()), before);
    }
}

#ifdef __linux__
TEST_F(GdalGeoTiffTest, AFolderThatFillsSaysTheDiskIsFull) {
    testing::ScratchMount disk(folder / "disk", "size=1m");
    if (!disk.mounted()) GTEST_SKIP() << "no right to mount a tmpfs here";
    makePicture(folder / "disk" / "area.jpg", "JPEG");
    disk.fillLeavingOnePage();
    GeoTiffJob j = job();
    j.picturePath = (folder / "disk" / "area.jpg").string();
    j.tifPath = (folder / "disk" / "area.tif").string();
    const RuntimeError e = testing::errorOf([&] { writer.write(j, nullptr); });
    EXPECT_EQ(e.number(), error::DiskFull);
    EXPECT_EQ(e.description(), "The GeoTIFF could not be written: No space left on device");
    EXPECT_EQ(namesIn(folder / "disk"), (std::set<std::string>{"area.jpg", "filler"}));
}
#endif

TEST_F(GdalGeoTiffTest, OnlyItsOwnGeoTiffReadsAsItsOwn) {
    makePicture(folder / "area.jpg", "JPEG");
    makePicture(folder / "theirs.tif", "GTiff");
    put(folder / "text.tif", "II*\0 not really a TIFF");
    for (const char* name : {"theirs.tif", "area.jpg", "text.tif", "missing.tif"})
        EXPECT_FALSE(writer.wroteIt((folder / name).string())) << name;
}

}  // namespace
}  // namespace kartovex
