#pragma once

#include <memory>

#include "CommandLine.h"
#include "capture/GoogleEarth.h"
#include "model/Services.h"

namespace kartovex {

// The Google Earth back ends the options ask for: the direct one (COM on Windows, the
// simulator's socket elsewhere), the network link, and the choice between them that the
// commands use.
struct GoogleEarthChoice {
    GoogleEarthChoice(const Options& options, MessageBoxService& messages);

    std::unique_ptr<GoogleEarthPlatform> direct;
    std::unique_ptr<GoogleEarthPlatform> link;
    std::unique_ptr<GoogleEarthPlatform> chosen;
};

}  // namespace kartovex
