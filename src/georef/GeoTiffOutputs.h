#pragma once

#include <string_view>
#include <vector>

#include "CodePage936.h"
#include "FileSaver.h"
#include "GeoTiffWriter.h"
#include "OutputNames.h"
#include "OutputRecord.h"
#include "Step2Report.h"
#include "model/GroundGrid.h"

namespace kartovex {

// The grid Step 1 read as control points on a picture of `width` x `height` pixels.
std::vector<ControlPoint> controlPoints(const GroundGrid& grid, double width, double height);

// What the outputs after the table and geoset are written with. `writer` is null where
// the program was built without one.
struct OutputServices {
    FileSaver& saver;
    OutputRecord& record;
    const CodePage936& codePage;
    GeoTiffWriter* writer;
};

// After the table and geoset. With a writer: the GeoTIFF, its MapInfo table and its
// Google Earth super-overlay; an overlay .kml of ours no longer matches and goes. Without
// one: the .kml overlay `kml`. An older file of ours at any of these names is removed
// first, so that a failure leaves no stale file; a file there that Kartovex did not write,
// or that changed since, is left as it is, and that output is not written. Returns how far
// the GeoTIFF's table is off at most, in pixels, or -1 where none was written.
double writeOutputsBeyondTable(const OutputServices& services, const OutputNames& names,
                               std::string_view kml, GeoTiffJob job, Step2Report& report);

// When they are switched off: only removes the older ones Kartovex wrote.
void removeOlderOutputs(const OutputServices& services, const OutputNames& names,
                        Step2Report& report);

}  // namespace kartovex
