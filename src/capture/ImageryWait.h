#pragma once

#include <chrono>

#include "capture/GoogleEarth.h"

namespace kartovex {

// How long the imagery may take to load before a capture gives up, and how long the
// loading report must stay at 100 before the imagery counts as loaded: Google Earth
// reaches 100 between tiles for a moment while more are still to come.
struct ImageryWaitBounds {
    std::chrono::milliseconds loadWithin{30000};
    std::chrono::milliseconds steadyFor{250};
    std::chrono::milliseconds poll{50};
};

// Waits until Google Earth reports the imagery of its view fully loaded. Returns false at
// once where the back end cannot tell, true once loaded; throws RuntimeError when it does
// not finish in time.
bool waitForImagery(ApplicationGE& app, GoogleEarthPlatform& platform,
                    const ImageryWaitBounds& bounds = {});

}  // namespace kartovex
