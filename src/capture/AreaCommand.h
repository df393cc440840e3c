#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "capture/AreaCapture.h"
#include "capture/GoogleEarth.h"
#include "capture/ViewGrab.h"
#include "model/Log.h"
#include "model/MainWindowModel.h"

namespace kartovex {

class FileSaver;
class MosaicWriter;

// The user's side of "Capture area": the dialog before anything moves, the question
// whether to continue an unfinished capture, and the progress.
class AreaUser {
public:
    virtual ~AreaUser() = default;
    // Before anything moves: the detail to capture at, offered at `detail`. `figures` gives
    // the plan's figures at any detail, or throws RuntimeError saying why that plan is
    // refused. Nothing gives up.
    virtual std::optional<int> chooseDetail(int detail,
                                            const std::function<AreaEstimate(int)>& figures) = 0;
    // An unfinished capture of this output: true continues it, false starts afresh.
    virtual bool continueEarlier(const AreaManifest& manifest, const std::string& folder) = 0;
    // False cancels.
    virtual bool progress(const AreaProgress& progress) = 0;
};

struct AreaRequest {
    std::string outputFolder;  // UTF-8, with or without its trailing separator
    std::string newName;       // the bare name of a new mosaic, e.g. from the date and time
    int detail = 2;
    int marginPixels = AreaPlan::kDefaultMarginPixels;
};

struct AreaServices {
    GoogleEarthPlatform& platform;
    ViewGrab& grab;
    FileSaver& saver;
    MosaicWriter& mosaic;
    Log& log;
};

// How a capture ended, in the user's words: what was written and what is kept.
struct AreaResult {
    bool written = false;   // the mosaic was written
    bool complete = false;  // and every file beside it: nothing went wrong to tell about
    std::string message;
    std::vector<std::string> files;
};

// "Capture area": levels the view as Step 1 does (its read-outs too), plans the views over
// its ground, takes them into a folder beside the mosaic, and writes the mosaic. Continues
// an unfinished capture of the same output folder when the user says so. Google Earth goes
// back to the user's view at the end, whatever happened.
AreaResult runCaptureArea(const AreaRequest& request, MainWindowModel& form,
                          const AreaServices& services, AreaUser& user);

}  // namespace kartovex
