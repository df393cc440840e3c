#include "GdalGeoTiff.h"

#include <cpl_conv.h>
#include <cpl_error.h>
#include <cpl_string.h>
#include <gdal.h>
#include <gdal_alg.h>
#include <gdal_utils.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <initializer_list>
#include <memory>
#include <mutex>
#include <numbers>
#include <optional>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "GdalCall.h"
#include "GeoTiffFinish.h"
#include "PartialFile.h"
#include "SuperOverlay.h"
#include "Version.h"
#include "model/RuntimeError.h"

namespace kartovex {
namespace {

// Chosen by measurement (bench/GeoreferenceAccuracy.cpp): through the 5 x 5 grid of a
// 1920 x 1080 view 500 km high at 75 degrees north, a third-order polynomial is at worst
// 0.6 px off the ground, a second-order one 7 px and a thin-plate spline, which passes
// through the points but bends between them, 6 px.
constexpr int kPolynomialOrder = 3;
// GDAL's default block cache is a twentieth of the machine's memory; ours is bounded so
// that the largest picture warps in the same memory on every machine.
constexpr GIntBig kBlockCacheBytes = 256ll << 20;
constexpr const char* kWarpMemoryBytes = "67108864";
// GDAL splits a warped block between its threads only in chunks of this many pixels; the
// default is a whole block, which leaves the second thread idle.
constexpr const char* kWarpThreadChunkPixels = "16384";
// Cubic took a quarter more time than bilinear on a large picture.
constexpr const char* kResampling = "bilinear";
// The transform is evaluated exactly along each row only where interpolating it would be
// off by more than this many pixels.
constexpr const char* kTransformTolerancePixels = "0.02";
constexpr double kMetresPerDegree = 6371008.8 * std::numbers::pi / 180.0;

constexpr const char* kSoftwareItem = "TIFFTAG_SOFTWARE";
constexpr const char* kFitItem = "KARTOVEX_FIT";
constexpr const char* kFitErrorPixelsItem = "KARTOVEX_FIT_ERROR_PX";
constexpr const char* kFitErrorMetresItem = "KARTOVEX_FIT_ERROR_M";
constexpr const char* kSoftwarePrefix = "Kartovex ";

std::string number(double v) {
    std::array<char, 32> text{};
    const auto end = std::to_chars(text.data(), text.data() + text.size(), v).ptr;
    return {text.data(), end};
}

struct DatasetCloser {
    void operator()(GDALDatasetH dataset) const { GDALClose(dataset); }
};
using Dataset = std::unique_ptr<void, DatasetCloser>;

template <typename Free>
struct OptionsCloser {
    Free free;
    template <typename T>
    void operator()(T* options) const {
        free(options);
    }
};

// Hands GDAL's progress on to the caller's, scaled into one stretch of the whole.
struct ProgressStretch {
    const GeoTiffWriter::Progress& progress;
    double start, span;
    bool cancelled = false;

    static int CPL_STDCALL report(double done, const char*, void* data) {
        auto* self = static_cast<ProgressStretch*>(data);
        if (!self->cancelled && self->progress && !self->progress(self->start + self->span * done))
            self->cancelled = true;
        return self->cancelled ? FALSE : TRUE;
    }
};

// A picture position's ground, through the fitted polynomial.
class Fit {
public:
    explicit Fit(const std::vector<GDAL_GCP>& points)
        : transformer_(GDALCreateGCPTransformer(static_cast<int>(points.size()), points.data(),
                                                kPolynomialOrder, FALSE)) {
        if (!transformer_)
            throw RuntimeError(error::InvalidArgument,
                               "The control points do not determine the picture's place: " +
                                   std::string(CPLGetLastErrorMsg()));
    }
    ~Fit() { GDALDestroyGCPTransformer(transformer_); }
    Fit(const Fit&) = delete;
    Fit& operator=(const Fit&) = delete;

    std::pair<double, double> ground(double pixel, double line) const {
        double x = pixel, y = line, z = 0;
        int ok = FALSE;
        GDALGCPTransform(transformer_, FALSE, 1, &x, &y, &z, &ok);
        if (!ok || !std::isfinite(x) || !std::isfinite(y))
            throw RuntimeError(error::InvalidArgument,
                               "The control points do not determine the picture's place");
        return {x, y};
    }

private:
    void* transformer_;
};

double metresBetween(std::pair<double, double> a, std::pair<double, double> b) {
    const double east =
        (a.first - b.first) * std::cos((a.second + b.second) / 2 * std::numbers::pi / 180);
    return std::hypot(east, a.second - b.second) * kMetresPerDegree;
}

// Where the warped picture lies and at which resolution; the fit's expected error.
struct Placement {
    double west = 0, south = 0, east = 0, north = 0;
    int width = 0, height = 0;
    double errorPixels = 0, errorMetres = 0;
};

Placement place(const std::vector<GDAL_GCP>& points, int width, int height) {
    const Fit fit(points);
    Placement p;
    // The picture's own pixel size at its centre, so that the GeoTIFF keeps its detail
    // without inflating it.
    const double cx = width / 2.0, cy = height / 2.0;
    const auto centre = fit.ground(cx, cy);
    const auto right = fit.ground(cx + 1, cy);
    const auto below = fit.ground(cx, cy + 1);
    const double xSize = std::fabs(right.first - centre.first);
    const double ySize = std::fabs(below.second - centre.second);
    const double pixelMetres =
        std::sqrt(metresBetween(centre, right) * metresBetween(centre, below));
    if (!(xSize > 0) || !(ySize > 0) || !(pixelMetres > 0))
        throw RuntimeError(error::InvalidArgument,
                           "The control points do not determine the picture's place");

    p.west = p.south = HUGE_VAL;
    p.east = p.north = -HUGE_VAL;
    constexpr int kSteps = 64;
    const auto include = [&](double pixel, double line) {
        const auto [lon, lat] = fit.ground(pixel, line);
        p.west = std::min(p.west, lon), p.east = std::max(p.east, lon);
        p.south = std::min(p.south, lat), p.north = std::max(p.north, lat);
    };
    for (int i = 0; i <= kSteps; ++i) {
        const double along = static_cast<double>(i) / kSteps;
        include(along * width, 0), include(along * width, height);
        include(0, along * height), include(width, along * height);
    }
    const double columns = std::ceil((p.east - p.west) / xSize);
    const double rows = std::ceil((p.north - p.south) / ySize);
    // A fit that folds or flings the picture would make a raster of any size.
    if (!(columns * rows <= 16.0 * width * height + 1e6))
        throw RuntimeError(error::InvalidArgument, "The control points do not fit a picture of " +
                                                       std::to_string(width) + " x " +
                                                       std::to_string(height) + " pixels");
    p.width = std::max(1, static_cast<int>(columns));
    p.height = std::max(1, static_cast<int>(rows));
    p.east = p.west + p.width * xSize;
    p.south = p.north - p.height * ySize;

    for (const GDAL_GCP& point : points)
        p.errorMetres =
            std::max(p.errorMetres, metresBetween(fit.ground(point.dfGCPPixel, point.dfGCPLine),
                                                  {point.dfGCPX, point.dfGCPY}));
    p.errorPixels = p.errorMetres / pixelMetres;
    return p;
}

// Longitudes taken next to the first point's, so that a view across the 180th meridian
// is fitted as one piece.
std::vector<GDAL_GCP> groundControl(const std::vector<ControlPoint>& points) {
    std::vector<GDAL_GCP> gcps(points.size());
    for (std::size_t i = 0; i < points.size(); ++i) {
        GDAL_GCP& g = gcps[i];
        g = GDAL_GCP{};
        g.pszId = const_cast<char*>("");
        g.pszInfo = const_cast<char*>("");
        g.dfGCPPixel = points[i].pixel;
        g.dfGCPLine = points[i].line;
        g.dfGCPX = points[i].longitude;
        g.dfGCPY = points[i].latitude;
        if (!std::isfinite(g.dfGCPPixel) || !std::isfinite(g.dfGCPLine) ||
            !std::isfinite(g.dfGCPX) || !(std::fabs(g.dfGCPY) <= 90))
            throw RuntimeError(error::InvalidArgument, "A control point is no place on Earth");
        while (g.dfGCPX - gcps[0].dfGCPX > 180) g.dfGCPX -= 360;
        while (g.dfGCPX - gcps[0].dfGCPX < -180) g.dfGCPX += 360;
    }
    return gcps;
}

// Whether the whole picture decodes, read afresh: asked only after a failure, to tell a
// damaged picture from a GeoTIFF that could not be written.
std::optional<std::string> pictureDamage(const std::string& path, FirstError& errors) {
    errors.clear();
    const Dataset picture(
        GDALOpenEx(path.c_str(), GDAL_OF_RASTER | GDAL_OF_READONLY, nullptr, nullptr, nullptr));
    if (!picture) return errors.reason();
    const int width = GDALGetRasterXSize(picture.get()), height = GDALGetRasterYSize(picture.get());
    std::vector<GByte> line(static_cast<std::size_t>(width));
    if (GDALRasterIO(GDALGetRasterBand(picture.get(), 1), GF_Read, 0, height - 1, width, 1,
                     line.data(), width, 1, GDT_Byte, 0, 0) == CE_None)
        return std::nullopt;
    return errors.reason();
}

RuntimeError writingFailed(const std::string& reason) {
    const bool full = reason.find(std::error_code(ENOSPC, std::generic_category()).message()) !=
                      std::string::npos;
    // The caller's message already says what could not be written.
    return RuntimeError(full ? error::DiskFull : error::PathFileAccess, reason);
}

CPLStringList arguments(std::initializer_list<std::string> list) {
    CPLStringList args;
    for (const auto& a : list) args.AddString(a.c_str());
    return args;
}

// The picture with its control points, as an in-memory virtual dataset of three bands.
Dataset withControlPoints(GDALDatasetH picture, const std::vector<GDAL_GCP>& gcps) {
    const bool grey = GDALGetRasterCount(picture) < 3;
    CPLStringList args = arguments({"-of", "VRT", "-a_srs", "EPSG:4326", "-b", "1", "-b",
                                    grey ? "1" : "2", "-b", grey ? "1" : "3"});
    for (const GDAL_GCP& g : gcps) {
        args.AddString("-gcp");
        for (const double v : {g.dfGCPPixel, g.dfGCPLine, g.dfGCPX, g.dfGCPY})
            args.AddString(number(v).c_str());
    }
    std::unique_ptr<GDALTranslateOptions, OptionsCloser<decltype(&GDALTranslateOptionsFree)>>
        options(GDALTranslateOptionsNew(args.List(), nullptr), {&GDALTranslateOptionsFree});
    return Dataset(GDALTranslate("", picture, options.get(), nullptr));
}

// The warp as a virtual dataset: computed block by block as it is read, with alpha for
// the ground outside the picture.
Dataset warped(GDALDatasetH source, const Placement& p) {
    CPLStringList args = arguments(
        {"-of", "VRT", "-t_srs", "EPSG:4326", "-order", std::to_string(kPolynomialOrder), "-r",
         kResampling, "-et", kTransformTolerancePixels, "-te", number(p.west), number(p.south),
         number(p.east), number(p.north), "-ts", std::to_string(p.width), std::to_string(p.height),
         "-dstalpha", "-wm", kWarpMemoryBytes, "-wo", "NUM_THREADS=2",
         // The output pixel is the picture's own: told so, GDAL
         // keeps to its fast bilinear kernel even where a skewed
         // picture's source window is taller than the block.
         "-wo", "XSCALE=1", "-wo", "YSCALE=1"});
    std::unique_ptr<GDALWarpAppOptions, OptionsCloser<decltype(&GDALWarpAppOptionsFree)>> options(
        GDALWarpAppOptionsNew(args.List(), nullptr), {&GDALWarpAppOptionsFree});
    GDALDatasetH sources[] = {source};
    return Dataset(GDALWarp("", nullptr, 1, sources, options.get(), nullptr));
}

Dataset translated(const std::string& path, GDALDatasetH warp, const Placement& p,
                   ProgressStretch& stretch) {
    CPLStringList args = arguments({"-of", "GTiff", "-b", "1", "-b", "2", "-b", "3", "-mask", "4"});
    for (const std::string& a : geoTiffCreationArguments()) args.AddString(a.c_str());
    for (const std::string& item :
         {std::string(kSoftwareItem) + "=" + kSoftwarePrefix + KARTOVEX_VERSION,
          std::string(kFitItem) + "=polynomial of order " + std::to_string(kPolynomialOrder),
          std::string(kFitErrorPixelsItem) + "=" + number(p.errorPixels),
          std::string(kFitErrorMetresItem) + "=" + number(p.errorMetres)}) {
        args.AddString("-mo");
        args.AddString(item.c_str());
    }
    std::unique_ptr<GDALTranslateOptions, OptionsCloser<decltype(&GDALTranslateOptionsFree)>>
        options(GDALTranslateOptionsNew(args.List(), nullptr), {&GDALTranslateOptionsFree});
    GDALTranslateOptionsSetProgress(options.get(), &ProgressStretch::report, &stretch);
    return Dataset(GDALTranslate(path.c_str(), warp, options.get(), nullptr));
}

}  // namespace

GdalGeoTiff::GdalGeoTiff() {
    static std::once_flag registered;
    std::call_once(registered, [] {
        GDALAllRegister();
        GDALSetCacheMax64(kBlockCacheBytes);
    });
}

GeoTiffOutcome GdalGeoTiff::write(const GeoTiffJob& job, const Progress& progress) {
    const GeoTiffConfig geoTiff;
    const ThreadConfig warpThreads{{"WARP_THREAD_CHUNK_SIZE", kWarpThreadChunkPixels}};
    FirstError errors;
    if (job.points.size() < 10)
        throw RuntimeError(error::InvalidArgument,
                           "The picture needs at least 10 control points for its GeoTIFF, not " +
                               std::to_string(job.points.size()));
    const std::vector<GDAL_GCP> gcps = groundControl(job.points);

    PartialFile partial(job.tifPath);
    Dataset picture(GDALOpenEx(job.picturePath.c_str(), GDAL_OF_RASTER | GDAL_OF_READONLY, nullptr,
                               nullptr, nullptr));
    if (!picture)
        throw RuntimeError(error::InvalidPicture,
                           "The picture could not be read: " + errors.reason());
    const int width = GDALGetRasterXSize(picture.get()), height = GDALGetRasterYSize(picture.get());
    const Placement placement = place(gcps, width, height);

    const bool overviews = wantsOverviews(placement.width, placement.height);
    const bool overlay = !job.kmzPath.empty();
    const double copySpan = overviews ? 0.7 : overlay ? 0.85 : 1.0;
    const double overviewSpan = overviews ? (overlay ? 0.15 : 0.3) : 0.0;
    ProgressStretch copying{progress, 0.0, copySpan};
    Dataset tif;
    {
        Dataset controlled = withControlPoints(picture.get(), gcps);
        Dataset warp = controlled ? warped(controlled.get(), placement) : nullptr;
        tif = warp ? translated(partial.path(), warp.get(), placement, copying) : nullptr;
    }
    // The sources go before the tiles are finished and the overviews read them back: they
    // hold their own caches.
    picture.reset();
    // Closing writes the last tiles: a full disk may show only here.
    const bool copied = tif != nullptr;
    tif.reset();
    if (copying.cancelled) return {};
    if (!copied || errors.any()) {
        const std::string reason = errors.reason();
        if (auto damage = pictureDamage(job.picturePath, errors))
            throw RuntimeError(error::InvalidPicture, "The picture could not be read: " + *damage);
        throw writingFailed(reason);
    }
    if (overviews) {
        ProgressStretch reducing{progress, copySpan, overviewSpan};
        const bool built = addOverviews(partial.path(), placement.width, placement.height,
                                        &ProgressStretch::report, &reducing);
        if (reducing.cancelled) return {};
        if (!built || errors.any()) throw writingFailed(errors.reason());
    }
    GeoTiffOutcome outcome{GeoTiffResult::Written,
                           {},
                           {},
                           {placement.west, placement.south, placement.east, placement.north,
                            placement.width, placement.height},
                           placement.errorPixels,
                           {}};
    if (overlay) {
        ProgressStretch tiling{progress, copySpan + overviewSpan, 1.0 - copySpan - overviewSpan};
        const Dataset written(GDALOpenEx(partial.path().c_str(), GDAL_OF_RASTER | GDAL_OF_READONLY,
                                         nullptr, nullptr, nullptr));
        try {
            if (!written) throw writingFailed(errors.reason());
            const auto kmz =
                writeSuperOverlay(written.get(), job.kmzPath, &ProgressStretch::report, &tiling);
            if (!kmz) return {};
            outcome.kmzPath = *kmz;
        } catch (const RuntimeError& e) {
            outcome.overlayFailure = e.description();
        }
    }
    outcome.tifPath = partial.place();
    if (progress) progress(1.0);
    return outcome;
}

}  // namespace kartovex
