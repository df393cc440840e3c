#pragma once

// The parts of a GDAL GeoTIFF write that the single picture and the mosaic share: GDAL's
// settings and errors for one call, the grid fit and the steps from a
// picture with control points to tiled JPEG in WGS 84.

#include <cpl_string.h>
#include <gdal.h>

#include <filesystem>
#include <initializer_list>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "PartialFile.h"
#include "georef/GeoTiffWriter.h"
#include "model/RuntimeError.h"

namespace kartovex::gdal {

// Chosen by measurement (bench/GeoreferenceAccuracy.cpp): through the 5 x 5 grid of a
// 1920 x 1080 view 500 km high at 75 degrees north, a third-order polynomial is at worst
// 0.6 px off the ground, a second-order one 7 px and a thin-plate spline, which passes
// through the points but bends between them, 6 px.
constexpr int kPolynomialOrder = 3;
constexpr int kOverviewsAbovePixels = 4000;
constexpr const char* kJpegQuality = "90";

constexpr const char* kSoftwareItem = "TIFFTAG_SOFTWARE";
constexpr const char* kFitItem = "KARTOVEX_FIT";
constexpr const char* kFitErrorPixelsItem = "KARTOVEX_FIT_ERROR_PX";
constexpr const char* kFitErrorMetresItem = "KARTOVEX_FIT_ERROR_M";
constexpr const char* kSoftwarePrefix = "Kartovex ";

// GDAL's drivers and its bounded block cache, set up once per process.
void registerOnce();

std::string number(double v);

// GDAL configuration for this thread only, restored when the call ends.
class ThreadConfig {
public:
    ThreadConfig(std::initializer_list<std::pair<const char*, const char*>> options);
    ~ThreadConfig();
    ThreadConfig(const ThreadConfig&) = delete;
    ThreadConfig& operator=(const ThreadConfig&) = delete;

private:
    std::vector<std::pair<const char*, std::optional<std::string>>> earlier_;
};

// The settings every GeoTIFF of ours is written with: internal mask, JPEG overviews, and a
// libjpeg warning taken as the failure it is (a truncated picture).
class WriteSettings : public ThreadConfig {
public:
    WriteSettings();
};

// Keeps GDAL's first error of a call for the message, instead of printing it: those of
// the thread that made it, and those of GDAL's own worker threads (warp and compression),
// which have no handler of their own.
class FirstError {
public:
    FirstError();
    ~FirstError();
    FirstError(const FirstError&) = delete;
    FirstError& operator=(const FirstError&) = delete;

    // GDAL's reason without the name of the routine that gave it ("_tiffWriteProc:").
    std::string reason() const;
    bool any() const;
    void clear();

    // Where the errors go; public for GDAL's callbacks only.
    void take(CPLErr kind, const char* text);

private:
    mutable std::mutex mutex_;
    std::string text_;
};

struct DatasetCloser {
    void operator()(GDALDatasetH dataset) const { GDALClose(dataset); }
};
using Dataset = std::unique_ptr<void, DatasetCloser>;

Dataset openForReading(const std::string& path);

// Hands GDAL's progress on to the caller's, scaled into one stretch of the whole.
struct ProgressStretch {
    const GeoTiffWriter::Progress& progress;
    double start, span;
    bool cancelled = false;

    static int CPL_STDCALL report(double done, const char*, void* data);
};

// Paths are UTF-8, as GDAL takes them on every system.
std::filesystem::path pathOf(const std::string& utf8);

// A picture position's ground, through the fitted polynomial.
class Fit {
public:
    explicit Fit(const std::vector<GDAL_GCP>& points);
    ~Fit();
    Fit(const Fit&) = delete;
    Fit& operator=(const Fit&) = delete;

    std::pair<double, double> ground(double pixel, double line) const;

private:
    void* transformer_;
};

// Where a warped picture lies and at which resolution; the fit's expected error.
struct Placement {
    double west = 0, south = 0, east = 0, north = 0;
    double xSize = 0, ySize = 0;  // degrees per pixel
    int width = 0, height = 0;
    double errorPixels = 0, errorMetres = 0;
};

// The picture of `width` x `height` pixels placed by its control points at its own pixel
// size at its centre, so that it keeps its detail without inflating it.
Placement place(const std::vector<GDAL_GCP>& points, int width, int height);

// Longitudes taken next to the first point's, so that a view across the 180th meridian
// is fitted as one piece.
std::vector<GDAL_GCP> groundControl(const std::vector<ControlPoint>& points);

// A failed write of the GeoTIFF at `tifPath` as the user reads it: its folder's file system
// left without room says the disk is full even where GDAL's reason does not. The caller's
// message says what failed.
RuntimeError writingFailed(const std::string& reason, const std::string& tifPath);

// The picture's three colour bands with its control points, as an in-memory virtual
// dataset; only the window `srcwin` (x, y, width, height) when given, with the points moved
// into it.
Dataset withControlPoints(GDALDatasetH picture, const std::vector<GDAL_GCP>& gcps,
                          const std::optional<std::vector<int>>& srcwin = std::nullopt);

// The warp as a virtual dataset: computed block by block as it is read, with alpha for
// the ground outside the picture.
Dataset warped(GDALDatasetH source, const Placement& p);

// Writes the GeoTIFF at `path` from `source` (red, green, blue and alpha, such as a warp) in
// one pass: each strip of tiles is computed once, its colour bands written as JPEG tiles, its
// alpha as the internal mask and, when `overviews`, its reductions into the overviews. (A
// copy that writes the mask after the picture computes everything twice once the block
// cache is smaller than the warp, and overviews built afterwards decode every tile again.)
// `metadata` items are "NAME=value". False when GDAL failed, its reason in the caller's
// FirstError, or when `stretch` cancelled.
bool writeInOnePass(const std::string& path, GDALDatasetH source,
                    const std::vector<std::string>& metadata, bool overviews,
                    ProgressStretch& stretch);

// The metadata that say which program wrote a GeoTIFF, with the fit's expected error.
std::vector<std::string> ourMetadata(double errorPixels, double errorMetres);

}  // namespace kartovex::gdal
