#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "capture/AreaManifest.h"
#include "capture/GoogleEarth.h"
#include "capture/ViewGrab.h"

namespace kartovex {

class FileSaver;

enum class AreaPhase { Flying, Loading, Grabbing, Keeping, Mosaic };

// What the user reads for a phase: "flying there", "writing the mosaic".
const char* phaseText(AreaPhase phase);

// Where a capture stands: view `view` (from 1) of `views`, what it is doing, and the time
// left by the views taken so far.
struct AreaProgress {
    std::size_t view = 0, views = 0;
    AreaPhase phase = AreaPhase::Flying;
    double secondsLeft = 0;
};

// Answers false to cancel.
using AreaProgressReport = std::function<bool(const AreaProgress&)>;

enum class AreaOutcome { Complete, Cancelled };

// The views' folder and its manifest on disk, saved as the capture goes.
struct AreaFolder {
    std::string path;  // ends with the separator
    FileSaver& saver;
    std::string manifestPath() const { return path + AreaManifest::kFileName; }
};

// Takes every view of the plan not yet taken, in order: flies there, waits until the
// camera has arrived and the imagery has loaded, grabs, reads the grid, and keeps the
// picture and the manifest on disk before the next flight. When all are taken, views are
// added where the measured views leave a gap, and taken too. A camera that is not where it
// was sent when the view is grabbed means the user moved it: the capture stops without
// that view. Throws RuntimeError for that and for any failure of Google Earth or the disk;
// every view taken before stays on disk.
AreaOutcome captureViews(AreaManifest& manifest, const AreaFolder& folder, ApplicationGE& app,
                         GoogleEarthPlatform& platform, ViewGrab& grab,
                         const AreaProgressReport& progress);

// The ground grid of the view on screen now.
GroundGrid readGroundGrid(ApplicationGE& app, std::int64_t viewWidth, std::int64_t viewHeight);

}  // namespace kartovex
