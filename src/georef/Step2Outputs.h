#pragma once

#include <string>

#include "CodePage936.h"
#include "FileSaver.h"
#include "GeoTiffWriter.h"
#include "NamesInFiles.h"
#include "OutputNames.h"
#include "OutputRecord.h"
#include "Step2Report.h"
#include "model/GroundGrid.h"
#include "model/MainWindowModel.h"

namespace kartovex {

// What writes the files beside a picture of the view.
struct OutputWriters {
    FileSaver& saver;
    const CodePage936& codePage;
    // What Kartovex wrote: only those files are ever replaced or removed.
    OutputRecord& record;
    // Null where the program was built without one: the overlay is the .kml then.
    GeoTiffWriter* geoTiff;
    // The user's switch for the GeoTIFF and the overlays.
    bool writeGeoTiff;
};

// A picture of the view with the names of the files that will register it.
struct NamedPicture {
    std::string path;
    std::string fileName;
    std::string bareName;
    OutputNames out;
    NamesInFiles names;
};

// Names the files beside `path`, whose folder prefix, file name and bare name the path
// helpers gave. Throws RuntimeError InvalidArgument saying why a name cannot serve.
NamedPicture namePicture(const std::string& path, const std::string& folderPrefix,
                         const std::string& fileName, const std::string& bareName,
                         const CodePage936& codePage);

// Writes every file that registers the picture, measured as `extents`, to the view Step 1
// read: the table, then the geoset, then the GeoTIFF with its table and super-overlay (or,
// without a GeoTIFF writer, the .kml overlay). Step 2 and the view capture both write
// through here, so they always write the same files. Each file written and each failure
// goes into `report`, and how far off the JPG's table is, when that is worth saying, into
// its remark; a failure of the table or geoset is thrown as a Failure and ends the writing.
void writeOutputs(const NamedPicture& picture, const Module1& extents, const CornerTexts& corners,
                  const GroundGrid& grid, const OutputWriters& writers, Step2Report& report);

}  // namespace kartovex
