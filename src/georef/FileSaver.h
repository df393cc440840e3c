#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace kartovex {

// The file system as Step 2 uses it. A save writes a file whole or not at all: the bytes
// go to a temporary file in the target's folder, which replaces the target only once it is
// complete, so a failure at any point leaves an earlier file of that name as it was and no
// partial file behind.
class FileSaver {
public:
    virtual ~FileSaver() = default;
    // Throws RuntimeError whose description is the system's reason.
    virtual void save(const std::string& path, std::string_view bytes) = 0;

    // Whether any file or folder has that name.
    virtual bool exists(const std::string& path) = 0;
    // Whether that name holds a regular file: no folder, pipe or device, nothing that
    // could block whoever opens it.
    virtual bool isRegularFile(const std::string& path) = 0;
    // Up to `bytes` bytes from a regular file's start; nothing when it cannot be read or
    // is no regular file.
    virtual std::optional<std::string> head(const std::string& path, std::size_t bytes) = 0;
    // Throws RuntimeError whose description is the system's reason.
    virtual void remove(const std::string& path) = 0;
};

}  // namespace kartovex
