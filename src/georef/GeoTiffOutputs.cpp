#include "GeoTiffOutputs.h"

#include <exception>
#include <functional>
#include <string>

#include "KmlOverlay.h"

namespace kartovex {
namespace {

constexpr const char* kNoLongerMatches = "which no longer matches the table, could not be removed";

bool isOurOverlay(FileSaver& saver, const std::string& path) {
    const auto start = saver.head(path, kOverlayMarkWithin);
    return start && isKartovexOverlay(*start);
}

// Frees the name for a new `what`: removes an older one of ours. False, with the reason
// recorded, while a file stays in the way.
bool nameFreed(FileSaver& saver, const std::string& what, const std::string& path,
               const std::function<bool()>& ours, Step2Report& report) {
    if (!saver.exists(path)) return true;
    const std::string notWritten = "The " + what + " was not written: " + shown(path);
    if (!ours()) {
        report.failures.emplace_back(
            notWritten,
            "A file of that name that Kartovex did not write is in the way; it was left as it "
            "was.");
        return false;
    }
    try {
        saver.remove(path);
        return true;
    } catch (const std::exception& e) {
        report.failures.emplace_back(
            notWritten, std::string("The older one, ") + kNoLongerMatches + ": " + e.what());
        return false;
    }
}

}  // namespace

std::vector<ControlPoint> controlPoints(const GroundGrid& grid, double width, double height) {
    std::vector<ControlPoint> points;
    points.reserve(grid.points.size());
    for (const GroundPoint& p : grid.points)
        points.push_back({(p.x + 1) / 2 * width, (1 - p.y) / 2 * height, p.longitude, p.latitude});
    return points;
}

void writeOverlayAndGeoTiff(FileSaver& saver, GeoTiffWriter& writer, const OutputNames& names,
                            std::string_view overlay, const GeoTiffJob& job, Step2Report& report) {
    if (nameFreed(
            saver, "overlay", names.kml, [&] { return isOurOverlay(saver, names.kml); }, report) &&
        succeeded(report, "The overlay could not be written: " + shown(names.kml),
                  [&] { saver.save(names.kml, overlay); }))
        report.written.push_back(names.kml);

    if (!nameFreed(
            saver, "GeoTIFF", names.tif, [&] { return writer.wroteIt(names.tif); }, report))
        return;
    GeoTiffResult result = GeoTiffResult::Cancelled;
    // The writer's own front end shows the progress and offers the cancel.
    if (!succeeded(report, "The GeoTIFF could not be written: " + shown(names.tif),
                   [&] { result = writer.write(job, [](double) { return true; }); }))
        return;
    if (result == GeoTiffResult::Cancelled)
        report.failures.emplace_back(
            "The GeoTIFF was cancelled and not written: " + shown(names.tif), "");
    else
        report.written.push_back(names.tif);
}

void removeOlderOverlayAndGeoTiff(FileSaver& saver, GeoTiffWriter* writer, const OutputNames& names,
                                  Step2Report& report) {
    if (saver.exists(names.kml) && isOurOverlay(saver, names.kml))
        succeeded(report,
                  std::string("An older overlay, ") + kNoLongerMatches + ": " + shown(names.kml),
                  [&] { saver.remove(names.kml); });
    if (writer && saver.exists(names.tif) && writer->wroteIt(names.tif))
        succeeded(report,
                  std::string("An older GeoTIFF, ") + kNoLongerMatches + ": " + shown(names.tif),
                  [&] { saver.remove(names.tif); });
}

}  // namespace kartovex
