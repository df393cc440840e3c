#pragma once

#include "CodePage936.h"
#include "FileSaver.h"
#include "GeoTiffWriter.h"
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
    // Null where the program was built without one: the table and geoset only.
    GeoTiffWriter* geoTiff;
    // The user's switch for the GeoTIFF and the overlay.
    bool writeGeoTiff;
};

// "JPG2TABandGST": asks for the JPG of the view Step 1 read, measures it and writes the
// raster table and then the geoset beside it, named after it, then the overlay and the
// GeoTIFF. Refuses while Step 1 has not found Google Earth full screen, and asks before
// registering a picture whose shape is not the view's. A cancel ends it silently, success
// too; every other failure ends it with one message saying what failed and which files
// were written.
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
