#pragma once

#include <functional>
#include <string>
#include <vector>

#include "Wgs84TabFile.h"

namespace kartovex {

// A picture position tied to the ground. Pixel and line count pixel edges, as GeoTIFF
// control points do: pixel 0 is the left edge of the first column, pixel W the right edge
// of the last; line 0 the top edge, line H the bottom edge.
struct ControlPoint {
    double pixel = 0, line = 0;
    double longitude = 0, latitude = 0;
};

// One picture to warp into a GeoTIFF in WGS 84 longitude and latitude, and its Google
// Earth super-overlay when `kmzPath` is not empty.
struct GeoTiffJob {
    std::string picturePath;
    std::string tifPath;
    std::vector<ControlPoint> points;
    std::string kmzPath;
};

enum class GeoTiffResult { Written, Cancelled };

// What a write did: the names the files got (another free name when a file took the asked
// one while the warp ran; empty for a file not written) and where the raster lies.
struct GeoTiffOutcome {
    GeoTiffResult result = GeoTiffResult::Cancelled;
    std::string tifPath, kmzPath;
    NorthUpRaster raster;
    // How far the fitted surface is from the control points, in the picture's pixels.
    double fitErrorPixels = 0;
    std::string overlayFailure;
};

// Writes the registered picture as a GeoTIFF beside the table. Each file appears only
// complete: it is written under a temporary name and renamed at the end without replacing
// any file, and a failure or a cancel leaves no partial file and any other file as it was.
class GeoTiffWriter {
public:
    // Told the fraction done, from 0 to 1; answers false to cancel.
    using Progress = std::function<bool(double fraction)>;

    virtual ~GeoTiffWriter() = default;

    // Throws RuntimeError whose description says why, e.g. the picture could not be read or
    // the disk is full. A failure of the overlay alone leaves the GeoTIFF written: the
    // outcome names it, and the overlay's reason is in `overlayFailure`.
    virtual GeoTiffOutcome write(const GeoTiffJob& job, const Progress& progress) = 0;
};

}  // namespace kartovex
