#include "SuperOverlay.h"

#include <cpl_string.h>
#include <gdal_utils.h>

#include <memory>

#include "GdalShared.h"
#include "model/RuntimeError.h"

namespace kartovex {
namespace {

using gdal::Dataset;

// The driver takes transparency only from a fourth band: the mask becomes one.
Dataset withMaskAsAlpha(GDALDatasetH raster) {
    const char* const args[] = {
        "-of",   "VRT",  "-b", "1", "-b", "2", "-b", "3", "-b", "mask", "-colorinterp_4",
        "alpha", nullptr};
    const std::unique_ptr<GDALTranslateOptions, decltype(&GDALTranslateOptionsFree)> options(
        GDALTranslateOptionsNew(const_cast<char**>(args), nullptr), &GDALTranslateOptionsFree);
    return Dataset(GDALTranslate("", raster, options.get(), nullptr));
}

}  // namespace

std::optional<std::string> writeSuperOverlay(GDALDatasetH raster, const std::string& kmzPath,
                                             GDALProgressFunc progress, void* progressData) {
    const gdal::ThreadConfig config{{"GDAL_PAM_ENABLED", "NO"}};
    gdal::FirstError errors;
    const auto failed = [&] {
        return RuntimeError(error::PathFileAccess,
                            "The Google Earth overlay could not be written: " + errors.reason());
    };
    const Dataset source = withMaskAsAlpha(raster);
    if (!source) throw failed();
    PartialFile partial(kmzPath);
    // Tiles with ground outside the picture as PNG, so that it stays transparent; the
    // others as JPEG.
    CPLStringList options;
    options.SetNameValue("FORMAT", "AUTO");
    // Google Earth lists the overlay by this name; the driver would take the temporary one.
    const std::size_t slash = kmzPath.find_last_of("/\\") + 1;
    options.SetNameValue("NAME", kmzPath.substr(slash, kmzPath.rfind('.') - slash).c_str());
    bool cancelled = false;
    struct Hand {
        GDALProgressFunc progress;
        void* data;
        bool& cancelled;
    } hand{progress, progressData, cancelled};
    const auto relay = [](double done, const char* message, void* data) -> int {
        auto* h = static_cast<Hand*>(data);
        if (h->progress && !h->progress(done, message, h->data)) h->cancelled = true;
        return h->cancelled ? FALSE : TRUE;
    };
    Dataset kmz(GDALCreateCopy(GDALGetDriverByName("KMLSUPEROVERLAY"), partial.path().c_str(),
                               source.get(), FALSE, options.List(), relay, &hand));
    const bool copied = kmz != nullptr;
    kmz.reset();
    if (cancelled) return std::nullopt;
    if (!copied || errors.any()) throw failed();
    return partial.place();
}

}  // namespace kartovex
