#include "GdalGeoTiff.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "FinishRaster.h"
#include "GdalShared.h"
#include "model/RuntimeError.h"

namespace kartovex {
namespace {

using namespace gdal;

// Whether the whole picture decodes, read afresh: asked only after a failure, to tell a
// damaged picture from a GeoTIFF that could not be written.
std::optional<std::string> pictureDamage(const std::string& path, FirstError& errors) {
    errors.clear();
    const Dataset picture = openForReading(path);
    if (!picture) return errors.reason();
    const int width = GDALGetRasterXSize(picture.get()), height = GDALGetRasterYSize(picture.get());
    std::vector<GByte> line(static_cast<std::size_t>(width));
    if (GDALRasterIO(GDALGetRasterBand(picture.get(), 1), GF_Read, 0, height - 1, width, 1,
                     line.data(), width, 1, GDT_Byte, 0, 0) == CE_None)
        return std::nullopt;
    return errors.reason();
}

}  // namespace

GdalGeoTiff::GdalGeoTiff() {
    registerOnce();
}

GeoTiffOutcome GdalGeoTiff::write(const GeoTiffJob& job, const Progress& progress) {
    const WriteSettings settings;
    FirstError errors;
    if (job.points.size() < 10)
        throw RuntimeError(error::InvalidArgument,
                           "The picture needs at least 10 control points for its GeoTIFF, not " +
                               std::to_string(job.points.size()));
    const std::vector<GDAL_GCP> gcps = groundControl(job.points);

    PartialFile partial(job.tifPath);
    Dataset picture = openForReading(job.picturePath);
    if (!picture)
        throw RuntimeError(error::InvalidPicture,
                           "The picture could not be read: " + errors.reason());
    const int width = GDALGetRasterXSize(picture.get()), height = GDALGetRasterYSize(picture.get());
    const Placement placement = place(gcps, width, height);

    const bool overviews = std::max(placement.width, placement.height) > kOverviewsAbovePixels;
    const bool overlay = !job.kmzPath.empty();
    const double copySpan = overlay ? 0.85 : 1.0;
    ProgressStretch copying{progress, 0.0, copySpan};
    bool copied = false;
    {
        Dataset controlled = withControlPoints(picture.get(), gcps);
        Dataset warp = controlled ? warped(controlled.get(), placement) : nullptr;
        copied = warp && writeInOnePass(partial.path(), warp.get(),
                                        ourMetadata(placement.errorPixels, placement.errorMetres),
                                        overviews, copying);
    }
    // The sources go before the overlay reads the tiles back: each holds caches of its own.
    picture.reset();
    if (copying.cancelled) return {};
    if (!copied || errors.any()) {
        const std::string reason = errors.reason();
        if (auto damage = pictureDamage(job.picturePath, errors))
            throw RuntimeError(error::InvalidPicture, "The picture could not be read: " + *damage);
        throw writingFailed(reason, job.tifPath);
    }
    GeoTiffOutcome outcome{GeoTiffResult::Written,
                           {},
                           {},
                           {placement.west, placement.south, placement.east, placement.north,
                            placement.width, placement.height},
                           placement.errorPixels,
                           {}};
    if (!finishRaster(partial, job.tifPath, job.kmzPath, progress, copySpan, errors, outcome))
        return {};
    if (progress) progress(1.0);
    return outcome;
}

}  // namespace kartovex
