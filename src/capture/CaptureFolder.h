#pragma once

#include <string>

namespace kartovex {

// The folder the captures go into, chosen once and remembered.
class CaptureFolder {
public:
    virtual ~CaptureFolder() = default;
    // The folder with its trailing separator, made when missing. Throws RuntimeError saying
    // why it cannot be used.
    virtual std::string prepare() = 0;
    // Whether any file or folder in `folder` has a name that begins with `stem`.
    virtual bool holdsNameStartingWith(const std::string& folder, const std::string& stem) = 0;
};

}  // namespace kartovex
