#include "FinishRaster.h"

#include <filesystem>
#include <system_error>

#include "SuperOverlay.h"
#include "model/RuntimeError.h"

namespace kartovex::gdal {

bool finishRaster(PartialFile& partial, const std::string& tifPath, const std::string& kmzPath,
                  const GeoTiffWriter::Progress& progress, double from, FirstError& errors,
                  GeoTiffOutcome& outcome) {
    struct PlacedOverlay {
        std::string path;
        ~PlacedOverlay() {
            std::error_code ignored;
            if (!path.empty()) std::filesystem::remove(pathOf(path), ignored);
        }
    } overlayPlaced;
    if (!kmzPath.empty()) {
        ProgressStretch tiling{progress, from, 1.0 - from};
        try {
            const char* const fullSizeOnly[] = {"OVERVIEW_LEVEL=NONE", nullptr};
            const Dataset written(GDALOpenEx(partial.path().c_str(),
                                             GDAL_OF_RASTER | GDAL_OF_READONLY, nullptr,
                                             fullSizeOnly, nullptr));
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
    outcome.tifPath = partial.place();
    overlayPlaced.path.clear();
    return true;
}

}  // namespace kartovex::gdal
