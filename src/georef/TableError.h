#pragma once

#include <string>

#include "model/GroundGrid.h"

namespace kartovex {

// How far off the JPG's four-corner table is over the ground grid: the worst distance, in
// pixels of a `width` x `height` picture, between where the table's registration puts a
// grid point and where it is. MapInfo and GDAL register four control points by the plane
// that fits them best, so the picture's curve over a wide view is lost. The table's pixel
// positions run to `maxX`, `maxY` as it writes them. NaN without a grid.
double tableErrorPixels(const GroundGrid& grid, double width, double height, double maxX,
                        double maxY);

// The notice's sentence for an error above 2 px, naming both tables; `preciseErrorPixels`
// is negative where no precise table was written. Empty at or below 2 px.
std::string tableErrorSentence(const std::string& tableName, double errorPixels,
                               const std::string& preciseTableName, double preciseErrorPixels);

}  // namespace kartovex
