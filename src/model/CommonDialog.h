#pragma once

#include <string>

#include "Services.h"

namespace kartovex {

// The open-file dialog of the main window, with the members Step 2 sets and reads.
struct CommonDialog {
    std::string DialogTitle;
    bool CancelError = false;
    std::string FileName;
    std::string Filter;  // "description|pattern"
    int FilterIndex = 0;

    // Shows the dialog; a cancel raises DialogCancelled when CancelError is set and
    // otherwise leaves FileName empty.
    void ShowOpen(FileChooser& chooser);
};

}  // namespace kartovex
