#pragma once

#include <string>

namespace kartovex {

// Claims `path` (UTF-8) for a new file: creates it empty only where no file or link has
// that name. False when the name is taken; throws RuntimeError with the system's reason
// for any other failure.
bool createNewFile(const std::string& path);

// Renames `from` to `to` only while no file has the name `to`, checked by the system in
// the same step as the rename. False when the name is taken; throws RuntimeError with the
// system's reason for any other failure.
bool renameWithoutReplacing(const std::string& from, const std::string& to);

}  // namespace kartovex
