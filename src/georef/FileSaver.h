#pragma once

#include <string>
#include <string_view>

namespace kartovex {

// Saves a file whole or not at all: the bytes go to a temporary file in the target's
// folder, which replaces the target only once it is complete, so a failure at any point
// leaves an earlier file of that name as it was and no partial file behind.
class FileSaver {
public:
    virtual ~FileSaver() = default;
    // Throws RuntimeError whose description is the system's reason.
    virtual void save(const std::string& path, std::string_view bytes) = 0;
};

}  // namespace kartovex
