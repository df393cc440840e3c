#pragma once

#include <chrono>

namespace kartovex {

// Waits on the window's thread while the windows still repaint and their timers run: a
// capture waits for Google Earth for seconds at a time, many times over. The user's clicks
// and keys wait for the command's own progress report, so no command starts under another.
void pauseRepainting(std::chrono::milliseconds duration);

}  // namespace kartovex
