#pragma once

#include "CommandLine.h"

namespace kartovex {

// Runs the command the options ask for without the main window (Options::withoutWindow),
// telling its progress on standard output, and returns the exit code: 0 on success, 1 with
// a one-line reason on standard error otherwise. Needs the application object.
int runWithoutWindow(const Options& options);

}  // namespace kartovex
