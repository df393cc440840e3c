#pragma once

#include "capture/GoogleEarth.h"
#include "model/Log.h"
#include "model/MainWindowModel.h"

namespace kartovex {

// Command1, "GE Mapbox information": levels the Google Earth camera, checks whether its
// view fills the screen and reads the view's north-south distance, corners and centre.
// A press that fails reports the error in a message box and leaves the geographic
// read-outs and the corner texts as the last completed press left them, with "NO" for
// the full-screen verdict so Step 2 waits for a press that completes. The failure, with its
// number, also goes to the log. True when the press completed, whatever its verdict.
bool runStep1(MainWindowModel& form, GoogleEarthPlatform& platform, Log& log);

}  // namespace kartovex
