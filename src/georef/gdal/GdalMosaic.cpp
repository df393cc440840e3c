#include "GdalMosaic.h"

#include <gdal_priv.h>
#include <ogr_spatialref.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "FinishRaster.h"
#include "GdalShared.h"

namespace kartovex {
namespace {

using namespace gdal;

constexpr int kBlock = 256;
constexpr int kBands = 4;

// One view warped onto the mosaic's pixel grid, at column x and row y of the mosaic.
struct Part {
    Dataset picture, controlled, warp;
    int x = 0, y = 0, width = 0, height = 0;
};

class Composite;

class CompositeBand : public GDALRasterBand {
public:
    CompositeBand(Composite* owner, int band);
    CPLErr IReadBlock(int column, int row, void* data) override;
    GDALColorInterp GetColorInterpretation() override {
        return static_cast<GDALColorInterp>(GCI_RedBand + nBand - 1);
    }
};

// The mosaic as a dataset of four bands, red, green, blue and alpha, computed block by block.
class Composite : public GDALDataset {
public:
    Composite(int width, int height, const double transform[6], std::vector<Part>& parts)
        : parts_(parts), pixels_(static_cast<std::size_t>(kBlock) * kBlock * kBands) {
        nRasterXSize = width;
        nRasterYSize = height;
        std::copy(transform, transform + 6, transform_);
        srs_.importFromEPSG(4326);
        srs_.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
        for (int b = 1; b <= kBands; ++b) SetBand(b, new CompositeBand(this, b));
    }

    CPLErr GetGeoTransform(double* transform) override {
        std::copy(transform_, transform_ + 6, transform);
        return CE_None;
    }
    const OGRSpatialReference* GetSpatialRef() const override { return &srs_; }

    // The block's pixels, RGBA interleaved, computed once for its four bands.
    const GByte* block(int column, int row, CPLErr& failed) {
        failed = CE_None;
        if (column == column_ && row == row_) return pixels_.data();
        std::fill(pixels_.begin(), pixels_.end(), 0);
        const int x0 = column * kBlock, y0 = row * kBlock;
        std::vector<GByte> part;
        for (const Part& p : parts_) {
            const int left = std::max(x0, p.x), right = std::min(x0 + kBlock, p.x + p.width);
            const int top = std::max(y0, p.y), bottom = std::min(y0 + kBlock, p.y + p.height);
            if (left >= right || top >= bottom) continue;
            const int w = right - left, h = bottom - top;
            part.resize(static_cast<std::size_t>(w) * h * kBands);
            if (GDALDatasetRasterIO(p.warp.get(), GF_Read, left - p.x, top - p.y, w, h, part.data(),
                                    w, h, GDT_Byte, kBands, nullptr, kBands, kBands * w,
                                    1) != CE_None) {
                failed = CE_Failure;
                column_ = row_ = -1;
                return pixels_.data();
            }
            for (int j = 0; j < h; ++j)
                for (int i = 0; i < w; ++i) {
                    const GByte* from = &part[(static_cast<std::size_t>(j) * w + i) * kBands];
                    GByte* to = &pixels_[(static_cast<std::size_t>(top - y0 + j) * kBlock +
                                          (left - x0 + i)) *
                                         kBands];
                    // A view's own edge, half covered, never overwrites a neighbour's pixel.
                    if (from[3] == 255 || (from[3] > 0 && to[3] == 0))
                        std::memcpy(to, from, kBands);
                }
        }
        column_ = column, row_ = row;
        return pixels_.data();
    }

private:
    std::vector<Part>& parts_;
    double transform_[6];
    OGRSpatialReference srs_;
    std::vector<GByte> pixels_;
    int column_ = -1, row_ = -1;
};

CompositeBand::CompositeBand(Composite* owner, int band) {
    poDS = owner;
    nBand = band;
    eDataType = GDT_Byte;
    nBlockXSize = kBlock;
    nBlockYSize = kBlock;
}

CPLErr CompositeBand::IReadBlock(int column, int row, void* data) {
    CPLErr failed = CE_None;
    const GByte* pixels = static_cast<Composite*>(poDS)->block(column, row, failed);
    auto* out = static_cast<GByte*>(data);
    for (int i = 0; i < kBlock * kBlock; ++i) out[i] = pixels[i * kBands + nBand - 1];
    return failed;
}

// A view's inner part with its control points, placed at its own resolution.
struct InnerView {
    Dataset picture, controlled;
    Placement placement;
};

InnerView innerView(const MosaicView& view, std::size_t number, int margin, FirstError& errors) {
    InnerView v;
    v.picture = openForReading(view.picturePath);
    const std::string which = "View " + std::to_string(number);
    if (!v.picture)
        throw RuntimeError(error::InvalidPicture,
                           which + "'s picture could not be read: " + errors.reason());
    const int width = GDALGetRasterXSize(v.picture.get());
    const int height = GDALGetRasterYSize(v.picture.get());
    if (2 * margin >= std::min(width, height) / 2)
        throw RuntimeError(error::InvalidArgument, which +
                                                       "'s picture is too small for a margin of " +
                                                       std::to_string(margin) + " pixels");
    if (view.points.size() < 10)
        throw RuntimeError(
            error::InvalidArgument,
            which + " needs at least 10 control points, not " + std::to_string(view.points.size()));
    std::vector<GDAL_GCP> gcps = groundControl(view.points);
    v.controlled = withControlPoints(
        v.picture.get(), gcps,
        std::vector<int>{margin, margin, width - 2 * margin, height - 2 * margin});
    if (!v.controlled)
        throw RuntimeError(error::InvalidPicture,
                           which + "'s picture could not be read: " + errors.reason());
    for (GDAL_GCP& g : gcps) g.dfGCPPixel -= margin, g.dfGCPLine -= margin;
    v.placement = place(gcps, width - 2 * margin, height - 2 * margin);
    return v;
}

}  // namespace

GdalMosaic::GdalMosaic() {
    registerOnce();
}

GeoTiffOutcome GdalMosaic::write(const MosaicJob& job, const GeoTiffWriter::Progress& progress) {
    const WriteSettings settings;
    FirstError errors;
    if (job.views.empty()) throw RuntimeError(error::InvalidArgument, "The mosaic has no views");

    std::vector<InnerView> inner;
    double xSize = HUGE_VAL, ySize = HUGE_VAL, errorPixels = 0, errorMetres = 0;
    double west = HUGE_VAL, south = HUGE_VAL, east = -HUGE_VAL, north = -HUGE_VAL;
    std::int64_t viewPixels = 0;
    for (std::size_t i = 0; i < job.views.size(); ++i) {
        inner.push_back(innerView(job.views[i], i + 1, job.marginPixels, errors));
        const Placement& p = inner.back().placement;
        xSize = std::min(xSize, p.xSize), ySize = std::min(ySize, p.ySize);
        west = std::min(west, p.west), east = std::max(east, p.east);
        south = std::min(south, p.south), north = std::max(north, p.north);
        errorPixels = std::max(errorPixels, p.errorPixels);
        errorMetres = std::max(errorMetres, p.errorMetres);
        viewPixels += static_cast<std::int64_t>(p.width) * p.height;
    }
    const double columns = std::ceil((east - west) / xSize),
                 rows = std::ceil((north - south) / ySize);
    // Views far apart or of wildly different detail would make a raster of any size.
    if (!(columns * rows <= 16.0 * static_cast<double>(viewPixels) + 1e6) ||
        !(std::max(columns, rows) < 2e9))
        throw RuntimeError(error::InvalidArgument,
                           "The views do not lie together as one area: the mosaic would be " +
                               number(columns) + " x " + number(rows) + " pixels");
    GeoTiffOutcome outcome{GeoTiffResult::Written,
                           {},
                           {},
                           {west, north - rows * ySize, west + columns * xSize, north,
                            static_cast<std::int64_t>(columns), static_cast<std::int64_t>(rows)},
                           errorPixels,
                           {}};

    std::vector<Part> parts;
    for (InnerView& v : inner) {
        const Placement& p = v.placement;
        Placement aligned = p;
        const int x0 = static_cast<int>(std::floor((p.west - west) / xSize));
        const int y0 = static_cast<int>(std::floor((north - p.north) / ySize));
        const int x1 = static_cast<int>(std::ceil((p.east - west) / xSize));
        const int y1 = static_cast<int>(std::ceil((north - p.south) / ySize));
        aligned.west = west + x0 * xSize, aligned.east = west + x1 * xSize;
        aligned.north = north - y0 * ySize, aligned.south = north - y1 * ySize;
        aligned.width = x1 - x0, aligned.height = y1 - y0;
        Part part{std::move(v.picture), std::move(v.controlled), nullptr, x0, y0, x1 - x0, y1 - y0};
        part.warp = warped(part.controlled.get(), aligned);
        if (!part.warp) throw writingFailed(errors.reason(), job.tifPath);
        parts.push_back(std::move(part));
    }

    PartialFile partial(job.tifPath);
    const double transform[6] = {west, xSize, 0, north, 0, -ySize};
    Composite composite(static_cast<int>(columns), static_cast<int>(rows), transform, parts);
    const bool overviews = std::max(columns, rows) > kOverviewsAbovePixels;
    const bool overlay = !job.kmzPath.empty();
    const double copySpan = overlay ? 0.85 : 1.0;
    ProgressStretch copying{progress, 0.0, copySpan};
    const bool copied = writeInOnePass(partial.path(), GDALDataset::ToHandle(&composite),
                                       ourMetadata(errorPixels, errorMetres), overviews, copying);
    if (copying.cancelled) return {};
    if (!copied || errors.any()) throw writingFailed(errors.reason(), job.tifPath);
    if (!finishRaster(partial, job.tifPath, job.kmzPath, progress, copySpan, errors, outcome))
        return {};
    if (progress) progress(1.0);
    return outcome;
}

}  // namespace kartovex
