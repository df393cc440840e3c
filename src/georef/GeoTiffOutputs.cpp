#include "GeoTiffOutputs.h"

#include <exception>
#include <string>

#include "Wgs84TabFile.h"

namespace kartovex {
namespace {

constexpr const char* kNoLongerMatches = "which no longer matches the table, could not be removed";

std::string fileNameOf(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Frees the name for a new `what`: removes an older one of ours. False, with the reason
// recorded, while a file stays in the way.
bool nameFreed(const OutputServices& s, const std::string& what, const std::string& path,
               Step2Report& report) {
    if (!s.saver.exists(path)) return true;
    const std::string notWritten = "The " + what + " was not written: " + shown(path);
    if (!s.saver.isRegularFile(path)) {
        report.failures.emplace_back(notWritten,
                                     "Something that is not a regular file (a folder, a pipe or "
                                     "a device) has that name; it was left as it was.");
        return false;
    }
    if (!s.record.wroteIt(path)) {
        report.failures.emplace_back(
            notWritten,
            "A file of that name that Kartovex did not write, or that changed since, is in the "
            "way; it was left as it was.");
        return false;
    }
    try {
        s.saver.remove(path);
        s.record.removed(path);
        return true;
    } catch (const std::exception& e) {
        report.failures.emplace_back(
            notWritten, std::string("The older one, ") + kNoLongerMatches + ": " + e.what());
        return false;
    }
}

void removeIfOurs(const OutputServices& s, const std::string& what, const std::string& path,
                  Step2Report& report) {
    if (!s.saver.exists(path) || !s.record.wroteIt(path)) return;
    if (succeeded(report, "An older " + what + ", " + kNoLongerMatches + ": " + shown(path),
                  [&] { s.saver.remove(path); }))
        s.record.removed(path);
}

bool saveOurs(const OutputServices& s, const std::string& what, const std::string& path,
              std::string_view bytes, Step2Report& report) {
    if (!succeeded(report, "The " + what + " could not be written: " + shown(path),
                   [&] { s.saver.save(path, bytes); }))
        return false;
    s.record.wrote(path);
    report.written.push_back(path);
    return true;
}

// A file that took the name while the warp ran is the user's: the finished file went to
// another free name.
void keptElsewhere(const std::string& what, const std::string& asked, const std::string& used,
                   Step2Report& report) {
    if (used == asked) return;
    report.failures.emplace_back(
        "The " + what + " was kept as " + shown(used),
        "A file took the name " + shown(asked) + " while it was written; it was left as it was.");
}

double writeWithWriter(const OutputServices& s, const OutputNames& names, GeoTiffJob job,
                       Step2Report& report) {
    removeIfOurs(s, "overlay", names.kml, report);
    if (!nameFreed(s, "GeoTIFF", names.tif, report)) return -1;
    const bool table = nameFreed(s, "GeoTIFF's table", names.wgs84Tab, report);
    job.kmzPath = nameFreed(s, "Google Earth overlay", names.kmz, report) ? names.kmz : "";

    GeoTiffOutcome outcome;
    // The writer's own front end shows the progress and offers the cancel.
    if (!succeeded(report, "The GeoTIFF could not be written: " + shown(names.tif),
                   [&] { outcome = s.writer->write(job, [](double) { return true; }); }))
        return -1;
    if (outcome.result == GeoTiffResult::Cancelled) {
        report.failures.emplace_back(
            "The GeoTIFF was cancelled and not written: " + shown(names.tif), "");
        return -1;
    }
    s.record.wrote(outcome.tifPath);
    report.written.push_back(outcome.tifPath);
    keptElsewhere("GeoTIFF", names.tif, outcome.tifPath, report);
    bool tableWritten = false;
    if (table) {
        const std::string what =
            "The GeoTIFF's table could not be written: " + shown(names.wgs84Tab);
        if (const auto name = s.codePage.fromUtf8(fileNameOf(outcome.tifPath)))
            tableWritten = saveOurs(s, "GeoTIFF's table", names.wgs84Tab,
                                    wgs84TabFileBytes(*name, outcome.raster), report);
        else
            report.failures.emplace_back(what, "Its name is not a text code page 936 can carry.");
    }
    if (!outcome.kmzPath.empty()) {
        s.record.wrote(outcome.kmzPath);
        report.written.push_back(outcome.kmzPath);
        keptElsewhere("Google Earth overlay", names.kmz, outcome.kmzPath, report);
    } else if (!outcome.overlayFailure.empty()) {
        report.failures.emplace_back(
            "The Google Earth overlay could not be written: " + shown(names.kmz),
            outcome.overlayFailure);
    }
    return tableWritten ? outcome.fitErrorPixels : -1;
}

}  // namespace

std::vector<ControlPoint> controlPoints(const GroundGrid& grid, double width, double height) {
    std::vector<ControlPoint> points;
    points.reserve(grid.points.size());
    for (const GroundPoint& p : grid.points)
        points.push_back({(p.x + 1) / 2 * width, (1 - p.y) / 2 * height, p.longitude, p.latitude});
    return points;
}

double writeOutputsBeyondTable(const OutputServices& s, const OutputNames& names,
                               std::string_view kml, GeoTiffJob job, Step2Report& report) {
    if (s.writer) return writeWithWriter(s, names, std::move(job), report);
    for (const auto& [what, path] : {std::pair{"GeoTIFF", &names.tif},
                                     {"GeoTIFF's table", &names.wgs84Tab},
                                     {"Google Earth overlay", &names.kmz}})
        removeIfOurs(s, what, *path, report);
    if (nameFreed(s, "overlay", names.kml, report)) saveOurs(s, "overlay", names.kml, kml, report);
    return -1;
}

void removeOlderOutputs(const OutputServices& s, const OutputNames& names, Step2Report& report) {
    for (const auto& [what, path] : {std::pair{"overlay", &names.kml},
                                     {"GeoTIFF", &names.tif},
                                     {"GeoTIFF's table", &names.wgs84Tab},
                                     {"Google Earth overlay", &names.kmz}})
        removeIfOurs(s, what, *path, report);
}

}  // namespace kartovex
