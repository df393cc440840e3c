#include "GdalGeoTiff.h"

#include <cpl_conv.h>
#include <cpl_error.h>
#include <cpl_string.h>
#include <gdal.h>
#include <gdal_alg.h>
#include <gdal_utils.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <initializer_list>
#include <memory>
#include <mutex>
#include <numbers>
#include <optional>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "Version.h"
#include "model/RuntimeError.h"

namespace kartovex {
namespace {

namespace fs = std::filesystem;

// Chosen by measurement (bench/GeoreferenceAccuracy.cpp): through the 5 x 5 grid of a
// 1920 x 1080 view 500 km high at 75 degrees north, a third-order polynomial is at worst
// 0.6 px off the ground, a second-order one 7 px and a thin-plate spline, which passes
// through the points but bends between them, 6 px.
constexpr int kPolynomialOrder = 3;
constexpr int kOverviewsAbovePixels = 4000;
constexpr int kSmallestOverview = 256;
// GDAL's default block cache is a twentieth of the machine's memory; ours is bounded so
// that the largest picture warps in the same memory on every machine.
constexpr GIntBig kBlockCacheBytes = 256ll << 20;
constexpr const char* kWarpMemoryBytes = "67108864";
constexpr const char* kJpegQuality = "90";
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

// GDAL configuration for this thread only, restored when the call ends.
class ThreadConfig {
public:
    ThreadConfig(std::initializer_list<std::pair<const char*, const char*>> options) {
        for (const auto& [key, value] : options) {
            const char* was = CPLGetThreadLocalConfigOption(key, nullptr);
            earlier_.emplace_back(key, was ? std::optional<std::string>(was) : std::nullopt);
            CPLSetThreadLocalConfigOption(key, value);
        }
    }
    ~ThreadConfig() {
        for (auto it = earlier_.rbegin(); it != earlier_.rend(); ++it)
            CPLSetThreadLocalConfigOption(it->first, it->second ? it->second->c_str() : nullptr);
    }
    ThreadConfig(const ThreadConfig&) = delete;
    ThreadConfig& operator=(const ThreadConfig&) = delete;

private:
    std::vector<std::pair<const char*, std::optional<std::string>>> earlier_;
};

// Keeps GDAL's first error of a call for the message, instead of printing it.
class FirstError {
public:
    FirstError() { CPLPushErrorHandlerEx(&FirstError::keep, this); }
    ~FirstError() { CPLPopErrorHandler(); }
    FirstError(const FirstError&) = delete;
    FirstError& operator=(const FirstError&) = delete;

    // GDAL's reason without the name of the routine that gave it ("_tiffWriteProc:").
    std::string reason() const {
        std::size_t start = 0;
        while (start < text_.size() &&
               (std::isalnum(static_cast<unsigned char>(text_[start])) || text_[start] == '_'))
            ++start;
        if (start > 0 && start < text_.size() && text_[start] == ':') {
            ++start;
            while (start < text_.size() && text_[start] == ' ') ++start;
            return text_.substr(start);
        }
        return text_.empty() ? "GDAL gave no reason" : text_;
    }
    bool any() const { return !text_.empty(); }
    void clear() { text_.clear(); }

private:
    static void CPL_STDCALL keep(CPLErr kind, CPLErrorNum, const char* text) {
        auto* self = static_cast<FirstError*>(CPLGetErrorHandlerUserData());
        if (kind >= CE_Failure && self->text_.empty() && text) self->text_ = text;
    }
    std::string text_;
};

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

// Paths are UTF-8, as GDAL takes them on every system.
fs::path pathOf(const std::string& utf8) {
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

// The temporary file beside the GeoTIFF, removed unless it became the GeoTIFF.
class PartialFile {
public:
    explicit PartialFile(const std::string& tifPath) : path_(tifPath + ".partial") { remove(); }
    ~PartialFile() {
        if (!kept_) remove();
    }
    PartialFile(const PartialFile&) = delete;
    PartialFile& operator=(const PartialFile&) = delete;

    const std::string& path() const { return path_; }
    void becomes(const std::string& tifPath) {
        std::error_code failed;
        fs::rename(pathOf(path_), pathOf(tifPath), failed);
        if (failed)
            throw RuntimeError(error::PathFileAccess,
                               "The GeoTIFF could not be renamed into place: " + failed.message());
        kept_ = true;
    }

private:
    void remove() {
        std::error_code ignored;
        fs::remove(pathOf(path_), ignored);
        fs::remove(pathOf(path_ + ".aux.xml"), ignored);
    }
    std::string path_;
    bool kept_ = false;
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
    return RuntimeError(full ? error::DiskFull : error::PathFileAccess,
                        "The GeoTIFF could not be written: " + reason);
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
    CPLStringList args = arguments({"-of",
                                    "VRT",
                                    "-t_srs",
                                    "EPSG:4326",
                                    "-order",
                                    std::to_string(kPolynomialOrder),
                                    "-r",
                                    kResampling,
                                    "-et",
                                    kTransformTolerancePixels,
                                    "-te",
                                    number(p.west),
                                    number(p.south),
                                    number(p.east),
                                    number(p.north),
                                    "-ts",
                                    std::to_string(p.width),
                                    std::to_string(p.height),
                                    "-dstalpha",
                                    "-wm",
                                    kWarpMemoryBytes,
                                    "-wo",
                                    "NUM_THREADS=2"});
    std::unique_ptr<GDALWarpAppOptions, OptionsCloser<decltype(&GDALWarpAppOptionsFree)>> options(
        GDALWarpAppOptionsNew(args.List(), nullptr), {&GDALWarpAppOptionsFree});
    GDALDatasetH sources[] = {source};
    return Dataset(GDALWarp("", nullptr, 1, sources, options.get(), nullptr));
}

Dataset translated(const std::string& path, GDALDatasetH warp, const Placement& p,
                   ProgressStretch& stretch) {
    CPLStringList args = arguments(
        {"-of",
         "GTiff",
         "-b",
         "1",
         "-b",
         "2",
         "-b",
         "3",
         "-mask",
         "4",
         "-co",
         "TILED=YES",
         "-co",
         "NUM_THREADS=2",
         "-co",
         "COMPRESS=JPEG",
         "-co",
         "PHOTOMETRIC=YCBCR",
         "-co",
         std::string("JPEG_QUALITY=") + kJpegQuality,
         "-co",
         "BIGTIFF=IF_SAFER",
         "-mo",
         std::string(kSoftwareItem) + "=" + kSoftwarePrefix + KARTOVEX_VERSION,
         "-mo",
         std::string(kFitItem) + "=polynomial of order " + std::to_string(kPolynomialOrder),
         "-mo",
         std::string(kFitErrorPixelsItem) + "=" + number(p.errorPixels),
         "-mo",
         std::string(kFitErrorMetresItem) + "=" + number(p.errorMetres)});
    std::unique_ptr<GDALTranslateOptions, OptionsCloser<decltype(&GDALTranslateOptionsFree)>>
        options(GDALTranslateOptionsNew(args.List(), nullptr), {&GDALTranslateOptionsFree});
    GDALTranslateOptionsSetProgress(options.get(), &ProgressStretch::report, &stretch);
    return Dataset(GDALTranslate(path.c_str(), warp, options.get(), nullptr));
}

bool addOverviews(const std::string& path, int width, int height, ProgressStretch& stretch) {
    Dataset tif(
        GDALOpenEx(path.c_str(), GDAL_OF_RASTER | GDAL_OF_UPDATE, nullptr, nullptr, nullptr));
    if (!tif) return false;
    std::vector<int> levels;
    for (int f = 2; std::max(width, height) / f >= kSmallestOverview; f *= 2) levels.push_back(f);
    if (levels.empty()) return true;
    const bool built =
        GDALBuildOverviews(tif.get(), "AVERAGE", static_cast<int>(levels.size()), levels.data(), 0,
                           nullptr, &ProgressStretch::report, &stretch) == CE_None;
    tif.reset();
    return built;
}

}  // namespace

GdalGeoTiff::GdalGeoTiff() {
    static std::once_flag registered;
    std::call_once(registered, [] {
        GDALAllRegister();
        GDALSetCacheMax64(kBlockCacheBytes);
    });
}

GeoTiffResult GdalGeoTiff::write(const GeoTiffJob& job, const Progress& progress) {
    const ThreadConfig config{{"GDAL_PAM_ENABLED", "NO"},
                              {"GDAL_TIFF_INTERNAL_MASK", "YES"},
                              {"GDAL_ERROR_ON_LIBJPEG_WARNING", "TRUE"},
                              {"COMPRESS_OVERVIEW", "JPEG"},
                              {"PHOTOMETRIC_OVERVIEW", "YCBCR"},
                              {"INTERLEAVE_OVERVIEW", "PIXEL"},
                              {"JPEG_QUALITY_OVERVIEW", kJpegQuality}};
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

    const bool overviews = std::max(placement.width, placement.height) > kOverviewsAbovePixels;
    ProgressStretch copying{progress, 0.0, overviews ? 0.8 : 1.0};
    Dataset controlled = withControlPoints(picture.get(), gcps);
    Dataset warp = controlled ? warped(controlled.get(), placement) : nullptr;
    Dataset tif = warp ? translated(partial.path(), warp.get(), placement, copying) : nullptr;
    // Closing writes the last tiles: a full disk may show only here.
    const bool copied = tif != nullptr;
    tif.reset();
    if (copying.cancelled) return GeoTiffResult::Cancelled;
    if (!copied || errors.any()) {
        const std::string reason = errors.reason();
        if (auto damage = pictureDamage(job.picturePath, errors))
            throw RuntimeError(error::InvalidPicture, "The picture could not be read: " + *damage);
        throw writingFailed(reason);
    }
    if (overviews) {
        ProgressStretch reducing{progress, 0.8, 0.2};
        const bool built =
            addOverviews(partial.path(), placement.width, placement.height, reducing);
        if (reducing.cancelled) return GeoTiffResult::Cancelled;
        if (!built) throw writingFailed(errors.reason());
    }
    partial.becomes(job.tifPath);
    if (progress) progress(1.0);
    return GeoTiffResult::Written;
}

bool GdalGeoTiff::wroteIt(const std::string& path) {
    const ThreadConfig config{{"GDAL_PAM_ENABLED", "NO"}};
    const FirstError quiet;
    const char* const tiffOnly[] = {"GTiff", nullptr};
    const Dataset tif(
        GDALOpenEx(path.c_str(), GDAL_OF_RASTER | GDAL_OF_READONLY, tiffOnly, nullptr, nullptr));
    if (!tif) return false;
    const char* software = GDALGetMetadataItem(tif.get(), kSoftwareItem, nullptr);
    return software && std::string(software).rfind(kSoftwarePrefix, 0) == 0 &&
           GDALGetMetadataItem(tif.get(), kFitErrorPixelsItem, nullptr) != nullptr;
}

}  // namespace kartovex
