#pragma once

#include <string_view>
#include <vector>

#include "FileSaver.h"
#include "GeoTiffWriter.h"
#include "OutputNames.h"
#include "Step2Report.h"
#include "model/GroundGrid.h"

namespace kartovex {

// The grid Step 1 read as control points on a picture of `width` x `height` pixels.
std::vector<ControlPoint> controlPoints(const GroundGrid& grid, double width, double height);

// After the table and geoset: the overlay, then the GeoTIFF. An older one of either that
// Kartovex wrote no longer matches the table and is removed first, so that a failure leaves
// no stale file; a file of that name that anyone else wrote is left as it is, and that
// output is not written.
void writeOverlayAndGeoTiff(FileSaver& saver, GeoTiffWriter& writer, const OutputNames& names,
                            std::string_view overlay, const GeoTiffJob& job, Step2Report& report);

// When neither is wanted (or no writer was built in): only removes the older ones Kartovex
// wrote. Without a writer, nothing can tell an older GeoTIFF of ours, so none is removed.
void removeOlderOverlayAndGeoTiff(FileSaver& saver, GeoTiffWriter* writer, const OutputNames& names,
                                  Step2Report& report);

}  // namespace kartovex
