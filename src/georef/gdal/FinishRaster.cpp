#include "FinishRaster.h"

#include <filesystem>
#include <system_error>

#include "SuperOverlay.h"
#include "model/RuntimeError.h"

namespace kartovex::gdal {

bool finishRaster(PartialFile& partial, const std::string& tifPath, const std::string& kmzPath,
                  bool overviews, int width, int height, const GeoTiffWriter::Progress& progress,
                  double from, double overviewSpan, FirstError& errors, GeoTiffOutcome& outcome) {
    struct PlacedOverlay {
        std::string path;
        ~PlacedOverlay() {
            std::error_code ignored;
            if (!path.empty()) std::filesystem::remove(pathOf(path), ignored);
        }
    } overlayPlaced;
    if (!kmzPath.empty()) {
        ProgressStretch tiling{progress, from, 1.0 - from - overviewSpan};
        try {
            const Dataset written = openForReading(partial.path());
            if (!written) throw writingFailed(errors.reason(), tifPath);
            const auto kmz =
                writeSuperOverlay(written.get(), kmzPath, &ProgressStretch::report, &tiling);
            if (!kmz) return false;
            outcome.kmzPath = *kmz;
            overlayPlaced.path = *kmz;
        } catch (const RuntimeError& e) {
            outcome.overlayFailure = e.description();
            // The overlay's error is told on its own; the raster goes on without it.
            errors.clear();
        }
    }
    if (overviews) {
        ProgressStretch reducing{progress, 1.0 - overviewSpan, overviewSpan};
        const bool built = addOverviews(partial.path(), width, height, reducing);
        if (reducing.cancelled) return false;
        if (!built || errors.any()) throw writingFailed(errors.reason(), tifPath);
    }
    outcome.tifPath = partial.place();
    overlayPlaced.path.clear();
    return true;
}

}  // namespace kartovex::gdal
