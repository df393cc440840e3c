#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace kartovex {

// The view's own pixels, as capturing an area needs them: how far Google Earth has loaded
// its imagery, a grab, and the grab kept on disk.
class ViewGrab {
public:
    virtual ~ViewGrab() = default;

    // StreamingProgressPercentage, 0 to 100; nothing where Google Earth does not tell.
    virtual std::optional<double> streamingProgressPercentage() = 0;

    // Takes the view's pixels and answers a digest of them: two grabs of the same picture
    // give the same digest. Throws RuntimeError for a grab that shows nothing (one flat
    // colour) or cannot be taken.
    virtual std::uint64_t grab() = 0;

    // Writes the last grab as a JPG at `path`, whole or not at all. Throws RuntimeError
    // with the system's reason.
    virtual void keep(const std::string& path) = 0;
};

}  // namespace kartovex
