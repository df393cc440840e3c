#pragma once

#include <optional>

class QSettings;

namespace kartovex {

// Whether Step 2 writes the GeoTIFF and the overlay: as the command line says, which is
// remembered in `settings` until the opposite option; else as remembered; else on.
bool geoTiffSwitch(std::optional<bool> given, QSettings& settings);

}  // namespace kartovex
