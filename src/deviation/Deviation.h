#pragma once

#include "model/MainWindowModel.h"

namespace kartovex {

// Metres between two coordinates in the packed degree-minute form (degrees × 100 plus
// minutes): a minute of latitude counts 1850 m, a minute of longitude 1850 m × cos(latitude).
std::string northSouthDeviation(const std::string& googleEarth, const std::string& mapInfo);
// `latitude` in the same packed form, as the corner's MapInfo latitude box holds it.
std::string eastWestDeviation(const std::string& googleEarth, const std::string& mapInfo,
                              const std::string& latitude);

// The two "Calt" buttons: the longitude row of their corner, then the latitude row.
void calculateUpperLeft(MainWindowModel& form);   // Command4
void calculateLowerRight(MainWindowModel& form);  // Command5

}  // namespace kartovex
