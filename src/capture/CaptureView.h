#pragma once

#include <functional>
#include <string>

#include "capture/CaptureFolder.h"
#include "capture/GoogleEarth.h"
#include "capture/ViewGrabber.h"
#include "georef/JpegWriter.h"
#include "georef/Step2Outputs.h"
#include "model/Log.h"
#include "model/MainWindowModel.h"
#include "model/Services.h"

namespace kartovex {

struct CaptureViewServices {
    GoogleEarthPlatform& earth;
    Log& log;
    ViewGrabber& grabber;
    JpegWriter& jpeg;
    CaptureFolder& folder;
    OutputWriters writers;
    MessageBoxService& messages;
    NoticeService& notices;
    // Told each phase as it begins; may be empty.
    std::function<void(const std::string& phase)> progress;
};

// "Capture view": Step 1, then the view's own pixels grabbed from the screen, written as a
// JPG into the capture folder under a name made from `timeStamp` that no file there has
// yet, and every file Step 2 writes beside it. No dialog and no question: the picture is
// the view. Refuses a view that is not full screen as Step 2 does. A failure is told in a
// message box (what failed and which files were written); a success, as Step 2's, in a
// notice that takes no click. True when every file was written.
bool captureView(MainWindowModel& form, const CaptureViewServices& services,
                 const std::string& timeStamp);

}  // namespace kartovex
