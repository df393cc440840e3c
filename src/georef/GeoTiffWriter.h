#pragma once

#include <functional>
#include <string>
#include <vector>

namespace kartovex {

// A picture position tied to the ground. Pixel and line count pixel edges, as GeoTIFF
// control points do: pixel 0 is the left edge of the first column, pixel W the right edge
// of the last; line 0 the top edge, line H the bottom edge.
struct ControlPoint {
    double pixel = 0, line = 0;
    double longitude = 0, latitude = 0;
};

// One picture to warp into a GeoTIFF in WGS 84 longitude and latitude.
struct GeoTiffJob {
    std::string picturePath;
    std::string tifPath;
    std::vector<ControlPoint> points;
};

enum class GeoTiffResult { Written, Cancelled };

// Writes the registered picture as a GeoTIFF beside the table. The file appears only
// complete: it is written under a temporary name and renamed at the end, and a failure or
// a cancel leaves no partial file and any earlier file of the name as it was.
class GeoTiffWriter {
public:
    // Told the fraction done, from 0 to 1; answers false to cancel.
    using Progress = std::function<bool(double fraction)>;

    virtual ~GeoTiffWriter() = default;

    // Throws RuntimeError whose description says why, e.g. the picture could not be read or
    // the disk is full.
    virtual GeoTiffResult write(const GeoTiffJob& job, const Progress& progress) = 0;

    // Whether the file at `path` is a GeoTIFF this program wrote. Only such a file may be
    // removed as a stale registration; anyone else's file is never touched.
    virtual bool wroteIt(const std::string& path) = 0;
};

}  // namespace kartovex
