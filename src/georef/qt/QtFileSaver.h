#pragma once

#include "georef/FileSaver.h"

namespace kartovex {

// QSaveFile writes to a temporary file beside the target and renames it over the target
// only on a successful commit; on any failure it removes the temporary file.
class QtFileSaver : public FileSaver {
public:
    void save(const std::string& path, std::string_view bytes) override;
};

}  // namespace kartovex
