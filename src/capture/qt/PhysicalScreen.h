#pragma once

#include "capture/GoogleEarth.h"

namespace kartovex {

// The primary screen as Qt sees it, in physical pixels (a screenshot's pixels) at 15
// twips per pixel, also on a display scaled above 100 %.
ScreenMetrics physicalScreenMetrics();

// The primary screen's scale factor: physical pixels per logical pixel.
double screenScale();

}  // namespace kartovex
