#include "CommonDialog.h"

#include "RuntimeError.h"

namespace kartovex {

void CommonDialog::ShowOpen(FileChooser& chooser) {
    if (auto picked = chooser.showOpen(*this)) {
        FileName = std::move(*picked);
        return;
    }
    FileName.clear();
    if (CancelError) throw RuntimeError(error::DialogCancelled, "Cancel was selected.");
}

}  // namespace kartovex
