#include "PartialFile.h"

#include <cstdio>
#include <filesystem>
#include <random>
#include <system_error>

#include "georef/NewFile.h"
#include "model/RuntimeError.h"

namespace kartovex {
namespace {

constexpr int kTries = 100;

std::filesystem::path pathOf(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

// The path cut before its extension, and the extension with its dot.
std::pair<std::string, std::string> stemAndExtension(const std::string& path) {
    const std::size_t dot = path.rfind('.');
    const std::size_t slash = path.find_last_of("/\\");
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {path, ""};
    return {path.substr(0, dot), path.substr(dot)};
}

std::string randomHex() {
    std::random_device random;
    char text[17];
    std::snprintf(text, sizeof text, "%08x%08x", random(), random());
    return text;
}

}  // namespace

PartialFile::PartialFile(std::string finalPath) : finalPath_(std::move(finalPath)) {
    const auto [stem, extension] = stemAndExtension(finalPath_);
    for (int i = 0; i < kTries; ++i) {
        std::string candidate = stem + ".kartovex-" + randomHex() + ".partial" + extension;
        if (createNewFile(candidate)) {
            path_ = std::move(candidate);
            return;
        }
    }
    throw RuntimeError(error::PathFileAccess, "No temporary name was free beside " + finalPath_);
}

PartialFile::~PartialFile() {
    if (placed_) return;
    std::error_code ignored;
    std::filesystem::remove(pathOf(path_), ignored);
}

std::string PartialFile::place() {
    if (renameWithoutReplacing(path_, finalPath_)) {
        placed_ = true;
        return finalPath_;
    }
    const auto [stem, extension] = stemAndExtension(finalPath_);
    for (int n = 2; n < kTries; ++n) {
        const std::string other = stem + " (" + std::to_string(n) + ")" + extension;
        if (renameWithoutReplacing(path_, other)) {
            placed_ = true;
            return other;
        }
    }
    throw RuntimeError(error::PathFileAccess, "Files took its name and the next " +
                                                  std::to_string(kTries - 2) +
                                                  " free ones while it was written: " + finalPath_);
}

}  // namespace kartovex
