#include "GdalShared.h"

#include <cpl_conv.h>
#include <cpl_error.h>
#include <gdal_alg.h>
#include <gdal_utils.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <mutex>
#include <numbers>
#include <system_error>

#include "OverviewPyramid.h"
#include "Version.h"

namespace kartovex::gdal {
namespace {

namespace fs = std::filesystem;

constexpr int kSmallestOverview = 256;
// GDAL's default block cache is a twentieth of the machine's memory; ours is bounded so
// that the largest picture warps in the same memory on every machine.
constexpr GIntBig kBlockCacheBytes = 256ll << 20;
constexpr const char* kWarpMemoryBytes = "67108864";
// GDAL splits a warped block between its threads only in chunks of this many pixels; its
// default is a whole 512 x 128 block, which leaves the second thread idle.
constexpr const char* kWarpThreadChunkPixels = "16384";
// Cubic took a quarter more time than bilinear on a large picture.
constexpr const char* kResampling = "bilinear";
// The transform is evaluated exactly along each row only where interpolating it would be
// off by more than this many pixels.
constexpr const char* kTransformTolerancePixels = "0.02";
constexpr double kMetresPerDegree = 6371008.8 * std::numbers::pi / 180.0;

template <typename Free>
struct OptionsCloser {
    Free free;
    template <typename T>
    void operator()(T* options) const {
        free(options);
    }
};

double metresBetween(std::pair<double, double> a, std::pair<double, double> b) {
    const double east =
        (a.first - b.first) * std::cos((a.second + b.second) / 2 * std::numbers::pi / 180);
    return std::hypot(east, a.second - b.second) * kMetresPerDegree;
}

// GDAL calls a thread's own handler first and this process-wide one only for threads
// without one: its worker threads. Their errors go to the newest capture alive, or, with
// none, to the handler that was there before.
std::mutex capturesMutex;
std::vector<FirstError*> captures;
CPLErrorHandler earlierHandler = nullptr;

void CPL_STDCALL fromAnyThread(CPLErr kind, CPLErrorNum number, const char* text) {
    {
        const std::lock_guard lock(capturesMutex);
        if (!captures.empty()) {
            captures.back()->take(kind, text);
            return;
        }
    }
    if (earlierHandler) earlierHandler(kind, number, text);
}

void CPL_STDCALL fromThisThread(CPLErr kind, CPLErrorNum, const char* text) {
    static_cast<FirstError*>(CPLGetErrorHandlerUserData())->take(kind, text);
}

// JPEG tiles in YCbCr sharing one set of tables, compressed on two threads.
std::vector<std::pair<const char*, std::string>> creationOptions() {
    return {{"TILED", "YES"},         {"NUM_THREADS", "2"},           {"COMPRESS", "JPEG"},
            {"PHOTOMETRIC", "YCBCR"}, {"JPEG_QUALITY", kJpegQuality}, {"JPEGTABLESMODE", "3"},
            {"BIGTIFF", "IF_SAFER"}};
}

CPLStringList arguments(std::initializer_list<std::string> list) {
    CPLStringList args;
    for (const auto& a : list) args.AddString(a.c_str());
    return args;
}

}  // namespace

void registerOnce() {
    static std::once_flag registered;
    std::call_once(registered, [] {
        GDALAllRegister();
        GDALSetCacheMax64(kBlockCacheBytes);
    });
}

std::string number(double v) {
    std::array<char, 32> text{};
    const auto end = std::to_chars(text.data(), text.data() + text.size(), v).ptr;
    return {text.data(), end};
}

ThreadConfig::ThreadConfig(std::initializer_list<std::pair<const char*, const char*>> options) {
    for (const auto& [key, value] : options) {
        const char* was = CPLGetThreadLocalConfigOption(key, nullptr);
        earlier_.emplace_back(key, was ? std::optional<std::string>(was) : std::nullopt);
        CPLSetThreadLocalConfigOption(key, value);
    }
}

ThreadConfig::~ThreadConfig() {
    for (auto it = earlier_.rbegin(); it != earlier_.rend(); ++it)
        CPLSetThreadLocalConfigOption(it->first, it->second ? it->second->c_str() : nullptr);
}

WriteSettings::WriteSettings()
    : ThreadConfig{
          {"GDAL_PAM_ENABLED", "NO"},         {"WARP_THREAD_CHUNK_SIZE", kWarpThreadChunkPixels},
          {"GDAL_TIFF_INTERNAL_MASK", "YES"}, {"GDAL_ERROR_ON_LIBJPEG_WARNING", "TRUE"},
          {"COMPRESS_OVERVIEW", "JPEG"},      {"PHOTOMETRIC_OVERVIEW", "YCBCR"},
          {"INTERLEAVE_OVERVIEW", "PIXEL"},   {"JPEG_QUALITY_OVERVIEW", kJpegQuality}} {}

FirstError::FirstError() {
    static std::once_flag installed;
    std::call_once(installed, [] { earlierHandler = CPLSetErrorHandler(&fromAnyThread); });
    {
        const std::lock_guard lock(capturesMutex);
        captures.push_back(this);
    }
    CPLPushErrorHandlerEx(&fromThisThread, this);
}

FirstError::~FirstError() {
    CPLPopErrorHandler();
    const std::lock_guard lock(capturesMutex);
    captures.erase(std::find(captures.begin(), captures.end(), this));
}

void FirstError::take(CPLErr kind, const char* text) {
    const std::lock_guard lock(mutex_);
    if (kind >= CE_Failure && text_.empty() && text) text_ = text;
}

std::string FirstError::reason() const {
    const std::lock_guard lock(mutex_);
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

bool FirstError::any() const {
    const std::lock_guard lock(mutex_);
    return !text_.empty();
}

void FirstError::clear() {
    const std::lock_guard lock(mutex_);
    text_.clear();
}

Dataset openForReading(const std::string& path) {
    return Dataset(
        GDALOpenEx(path.c_str(), GDAL_OF_RASTER | GDAL_OF_READONLY, nullptr, nullptr, nullptr));
}

int CPL_STDCALL ProgressStretch::report(double done, const char*, void* data) {
    auto* self = static_cast<ProgressStretch*>(data);
    if (!self->cancelled && self->progress && !self->progress(self->start + self->span * done))
        self->cancelled = true;
    return self->cancelled ? FALSE : TRUE;
}

fs::path pathOf(const std::string& utf8) {
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

Fit::Fit(const std::vector<GDAL_GCP>& points)
    : transformer_(GDALCreateGCPTransformer(static_cast<int>(points.size()), points.data(),
                                            kPolynomialOrder, FALSE)) {
    if (!transformer_)
        throw RuntimeError(error::InvalidArgument,
                           "The control points do not determine the picture's place: " +
                               std::string(CPLGetLastErrorMsg()));
}

Fit::~Fit() {
    GDALDestroyGCPTransformer(transformer_);
}

std::pair<double, double> Fit::ground(double pixel, double line) const {
    double x = pixel, y = line, z = 0;
    int ok = FALSE;
    GDALGCPTransform(transformer_, FALSE, 1, &x, &y, &z, &ok);
    if (!ok || !std::isfinite(x) || !std::isfinite(y))
        throw RuntimeError(error::InvalidArgument,
                           "The control points do not determine the picture's place");
    return {x, y};
}

Placement place(const std::vector<GDAL_GCP>& points, int width, int height) {
    const Fit fit(points);
    Placement p;
    const double cx = width / 2.0, cy = height / 2.0;
    const auto centre = fit.ground(cx, cy);
    const auto right = fit.ground(cx + 1, cy);
    const auto below = fit.ground(cx, cy + 1);
    p.xSize = std::fabs(right.first - centre.first);
    p.ySize = std::fabs(below.second - centre.second);
    const double pixelMetres =
        std::sqrt(metresBetween(centre, right) * metresBetween(centre, below));
    if (!(p.xSize > 0) || !(p.ySize > 0) || !(pixelMetres > 0))
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
    const double columns = std::ceil((p.east - p.west) / p.xSize);
    const double rows = std::ceil((p.north - p.south) / p.ySize);
    // A fit that folds or flings the picture would make a raster of any size.
    if (!(columns * rows <= 16.0 * width * height + 1e6))
        throw RuntimeError(error::InvalidArgument, "The control points do not fit a picture of " +
                                                       std::to_string(width) + " x " +
                                                       std::to_string(height) + " pixels");
    p.width = std::max(1, static_cast<int>(columns));
    p.height = std::max(1, static_cast<int>(rows));
    p.east = p.west + p.width * p.xSize;
    p.south = p.north - p.height * p.ySize;

    for (const GDAL_GCP& point : points)
        p.errorMetres =
            std::max(p.errorMetres, metresBetween(fit.ground(point.dfGCPPixel, point.dfGCPLine),
                                                  {point.dfGCPX, point.dfGCPY}));
    p.errorPixels = p.errorMetres / pixelMetres;
    return p;
}

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

RuntimeError writingFailed(const std::string& reason, const std::string& tifPath) {
    const std::string noSpace = std::error_code(ENOSPC, std::generic_category()).message();
    if (reason.find(noSpace) != std::string::npos) return RuntimeError(error::DiskFull, reason);
    // GDAL 3.10 leaves libtiff's "no space" on standard error and reports only the seek
    // that failed after it. Less room than one more tile counts as a full disk.
    constexpr std::uintmax_t kTileBytes = 256 * 256 * 3;
    std::error_code unknown;  // space then reports no limit
    if (fs::space(pathOf(tifPath).parent_path(), unknown).available < kTileBytes)
        return RuntimeError(error::DiskFull, noSpace + " (" + reason + ")");
    return RuntimeError(error::PathFileAccess, reason);
}

Dataset withControlPoints(GDALDatasetH picture, const std::vector<GDAL_GCP>& gcps,
                          const std::optional<std::vector<int>>& srcwin) {
    const bool grey = GDALGetRasterCount(picture) < 3;
    CPLStringList args = arguments({"-of", "VRT", "-a_srs", "EPSG:4326", "-b", "1", "-b",
                                    grey ? "1" : "2", "-b", grey ? "1" : "3"});
    double dx = 0, dy = 0;
    if (srcwin) {
        args.AddString("-srcwin");
        for (const int v : *srcwin) args.AddString(std::to_string(v).c_str());
        dx = (*srcwin)[0], dy = (*srcwin)[1];
    }
    for (const GDAL_GCP& g : gcps) {
        args.AddString("-gcp");
        for (const double v : {g.dfGCPPixel - dx, g.dfGCPLine - dy, g.dfGCPX, g.dfGCPY})
            args.AddString(number(v).c_str());
    }
    std::unique_ptr<GDALTranslateOptions, OptionsCloser<decltype(&GDALTranslateOptionsFree)>>
        options(GDALTranslateOptionsNew(args.List(), nullptr), {&GDALTranslateOptionsFree});
    return Dataset(GDALTranslate("", picture, options.get(), nullptr));
}

Dataset warped(GDALDatasetH source, const Placement& p) {
    CPLStringList args = arguments(
        {"-of", "VRT", "-t_srs", "EPSG:4326", "-order", std::to_string(kPolynomialOrder), "-r",
         kResampling, "-et", kTransformTolerancePixels, "-te", number(p.west), number(p.south),
         number(p.east), number(p.north), "-ts", std::to_string(p.width), std::to_string(p.height),
         "-dstalpha", "-wm", kWarpMemoryBytes, "-wo", "NUM_THREADS=2",
         // An output pixel is never larger than a picture's own:
         // told so, GDAL keeps to its fast bilinear kernel even
         // where a skewed picture's source window is taller than
         // the block, instead of taking it for a reduction.
         "-wo", "XSCALE=1", "-wo", "YSCALE=1"});
    std::unique_ptr<GDALWarpAppOptions, OptionsCloser<decltype(&GDALWarpAppOptionsFree)>> options(
        GDALWarpAppOptionsNew(args.List(), nullptr), {&GDALWarpAppOptionsFree});
    GDALDatasetH sources[] = {source};
    return Dataset(GDALWarp("", nullptr, 1, sources, options.get(), nullptr));
}

std::vector<std::string> ourMetadata(double errorPixels, double errorMetres) {
    return {std::string(kSoftwareItem) + "=" + kSoftwarePrefix + KARTOVEX_VERSION,
            std::string(kFitItem) + "=polynomial of order " + std::to_string(kPolynomialOrder),
            std::string(kFitErrorPixelsItem) + "=" + number(errorPixels),
            std::string(kFitErrorMetresItem) + "=" + number(errorMetres)};
}

bool writeInOnePass(const std::string& path, GDALDatasetH source,
                    const std::vector<std::string>& metadata, bool overviews,
                    ProgressStretch& stretch) {
    constexpr int kTile = 256;
    const int width = GDALGetRasterXSize(source), height = GDALGetRasterYSize(source);
    CPLStringList options;
    for (const auto& [key, value] : creationOptions()) options.SetNameValue(key, value.c_str());
    options.SetNameValue("BLOCKXSIZE", std::to_string(kTile).c_str());
    options.SetNameValue("BLOCKYSIZE", std::to_string(kTile).c_str());
    Dataset tif(GDALCreate(GDALGetDriverByName("GTiff"), path.c_str(), width, height, 3, GDT_Byte,
                           options.List()));
    if (!tif) return false;
    double transform[6];
    GDALGetGeoTransform(source, transform);
    GDALSetGeoTransform(tif.get(), transform);
    GDALSetProjection(tif.get(), GDALGetProjectionRef(source));
    for (const std::string& item : metadata) {
        const std::size_t equals = item.find('=');
        GDALSetMetadataItem(tif.get(), item.substr(0, equals).c_str(),
                            item.substr(equals + 1).c_str(), nullptr);
    }
    if (GDALCreateDatasetMaskBand(tif.get(), GMF_PER_DATASET) != CE_None) return false;
    const GDALRasterBandH mask = GDALGetMaskBand(GDALGetRasterBand(tif.get(), 1));
    OverviewPyramid pyramid;
    if (overviews && !pyramid.create(tif.get(), kSmallestOverview)) return false;

    std::vector<GByte> strip(static_cast<std::size_t>(width) * kTile * 4);
    int bands[] = {1, 2, 3, 4};
    for (int top = 0; top < height; top += kTile) {
        const int rows = std::min(kTile, height - top);
        const std::size_t plane = static_cast<std::size_t>(width) * rows;
        if (GDALDatasetRasterIO(source, GF_Read, 0, top, width, rows, strip.data(), width, rows,
                                GDT_Byte, 4, bands, 0, 0, 0) != CE_None ||
            GDALDatasetRasterIO(tif.get(), GF_Write, 0, top, width, rows, strip.data(), width, rows,
                                GDT_Byte, 3, bands, 0, 0, 0) != CE_None)
            return false;
        // Any trace of the picture counts as ground it covers, as a copied mask would.
        GByte* alpha = strip.data() + 3 * plane;
        for (std::size_t i = 0; i < plane; ++i) alpha[i] = alpha[i] ? 255 : 0;
        if (GDALRasterIO(mask, GF_Write, 0, top, width, rows, alpha, width, rows, GDT_Byte, 0, 0) !=
                CE_None ||
            !pyramid.add(strip.data(), width, rows))
            return false;
        if (!ProgressStretch::report(static_cast<double>(top + rows) / height, nullptr, &stretch))
            return false;
    }
    if (!pyramid.finish()) return false;
    // Closing writes the last tiles: a full disk may show only here.
    tif.reset();
    return true;
}

}  // namespace kartovex::gdal
