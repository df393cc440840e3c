#include "ImageryWait.h"

#include <cmath>
#include <optional>
#include <string>

#include "model/NumberText.h"
#include "model/RuntimeError.h"

namespace kartovex {

bool waitForImagery(ApplicationGE& app, GoogleEarthPlatform& platform,
                    const ImageryWaitBounds& bounds) {
    const auto start = platform.now();
    std::optional<std::chrono::steady_clock::time_point> fullSince;
    double last = 0;
    for (;;) {
        const std::optional<double> percentage = app.StreamingProgressPercentage();
        if (!percentage) return false;
        if (!std::isfinite(*percentage))
            throw RuntimeError(error::AutomationError,
                               "Google Earth answered a loading percentage that is no number");
        last = *percentage;
        const auto now = platform.now();
        if (last < 100) {
            fullSince.reset();
        } else if (!fullSince) {
            fullSince = now;
        }
        if (fullSince && now - *fullSince >= bounds.steadyFor) return true;
        if (now - start >= bounds.loadWithin)
            throw RuntimeError(error::AutomationError,
                               "Google Earth's imagery did not finish loading within " +
                                   std::to_string(bounds.loadWithin.count() / 1000) +
                                   " seconds (last at " + text(std::round(last)) +
                                   " %): check its connection, then try again");
        platform.pause(bounds.poll);
    }
}

}  // namespace kartovex
