#pragma once

#include "model/MainWindowModel.h"

namespace kartovex {

// Metres between two coordinates in the packed degree-minute form (degrees × 100 plus
// minutes), counted at 1850 m per minute of arc on both axes.
std::string deviationText(const std::string& googleEarth, const std::string& mapInfo);

// The two "Calt" buttons: the longitude row of their corner, then the latitude row.
void calculateUpperLeft(MainWindowModel& form);   // Command4
void calculateLowerRight(MainWindowModel& form);  // Command5

}  // namespace kartovex
