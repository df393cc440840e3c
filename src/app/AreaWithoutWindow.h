#pragma once

#include "CommandLine.h"

namespace kartovex {

// "Capture area" without the main window (--capture-area=DIR): an unfinished capture of DIR
// is continued, progress goes to standard output, and the exit code is 0 once the mosaic
// is written, else 1 with a one-line reason on standard error. Needs the application object.
int runCaptureAreaWithoutWindow(const Options& options);

}  // namespace kartovex
