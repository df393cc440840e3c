#include "GeoTiffSwitch.h"

#include <QSettings>

namespace kartovex {
namespace {

constexpr auto kKey = "step2/geoTiff";

}  // namespace

bool geoTiffSwitch(std::optional<bool> given, QSettings& settings) {
    if (given) {
        settings.setValue(kKey, *given);
        settings.sync();
        return *given;
    }
    return settings.value(kKey, true).toBool();
}

}  // namespace kartovex
