#pragma once

#include "georef/FileSaver.h"

namespace kartovex {

// QSaveFile writes to a temporary file beside the target and renames it over the target
// only on a successful commit; on any failure it removes the temporary file.
class QtFileSaver : public FileSaver {
public:
    void save(const std::string& path, std::string_view bytes) override;
    bool exists(const std::string& path) override;
    bool isRegularFile(const std::string& path) override;
    std::optional<std::string> head(const std::string& path, std::size_t bytes) override;
    void remove(const std::string& path) override;
};

}  // namespace kartovex
