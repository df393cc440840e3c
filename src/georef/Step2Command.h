#pragma once

#include "CodePage936.h"
#include "FileSaver.h"
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
};

// "JPG2TABandGST": asks for the JPG of the view Step 1 read, measures it and writes the
// raster table and then the geoset beside it, named after it. Refuses while Step 1 has not
// found Google Earth full screen. A cancel ends it silently, success too; every other
// failure ends it with one message saying what failed and which files were written.
class Step2Command {
public:
    Step2Command(MainWindowModel& form, Module1& module, Step2Services services);

    // Command2's click.
    void run();

private:
    void writeFiles();

    MainWindowModel& form_;
    Module1& module_;
    Step2Services services_;
};

}  // namespace kartovex
