#pragma once

#include <QString>
#include <optional>

#include "capture/link/LinkFile.h"

namespace kartovex {

// The address in the link file at `path`, or std::nullopt when there is none to trust:
// missing, no plain file (a symbolic link, a FIFO, a folder), too large, or damaged.
std::optional<LinkAddress> readLinkFile(const QString& path);

// Writes the link file for `port` and `key` unless it already holds exactly that, for the
// user alone: its folder 0700 and the file 0600, also when they were wider. A symbolic link
// in its place is replaced itself, never written through. Returns "" or the reason it
// could not be written.
QString writeLinkFile(const QString& path, int port, const std::string& key);

}  // namespace kartovex
