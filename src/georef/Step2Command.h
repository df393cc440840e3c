#pragma once

#include "CodePage936.h"
#include "FileSaver.h"
#include "GeoTiffWriter.h"
#include "OutputRecord.h"
#include "PictureProbe.h"
#include "model/MainWindowModel.h"
#include "model/Services.h"

namespace kartovex {

struct Step2Services {
    FileChooser& chooser;
    PictureProbe& probe;
    FileSaver& saver;
    const CodePage936& codePage;
    MessageBoxService& messages;
    NoticeService& notices;
    OutputRecord& record;
    // Null where the program was built without one: the overlay is the .kml then.
    GeoTiffWriter* geoTiff;
    // The user's switch for the GeoTIFF and the overlays.
    bool writeGeoTiff;
};

// "JPG2TABandGST": asks for the JPG of the view Step 1 read, measures it and writes the
// raster table and then the geoset beside it, named after it, then the GeoTIFF with its
// own table and overlay. Refuses while Step 1 has not found Google Earth full screen, and
// asks before registering a picture whose shape is not the view's. A cancel ends it
// silently; success ends with a notice of what was written where, and of how far off the
// JPG's table is when that matters; every other failure ends it with one message saying
// what failed and which files were written.
class Step2Command {
public:
    Step2Command(MainWindowModel& form, Module1& module, Step2Services services);

    // Command2's click.
    void run();

private:
    void writeFiles();
    bool pictureFitsView(double width, double height);

    MainWindowModel& form_;
    Module1& module_;
    Step2Services services_;
};

}  // namespace kartovex
