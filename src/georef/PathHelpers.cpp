#include "PathHelpers.h"

#include <cstddef>
#include <cstdint>
#include <limits>

#include "model/RuntimeError.h"

namespace kartovex {
namespace {

constexpr std::size_t kLongestPosition = std::numeric_limits<std::int16_t>::max();

bool isContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// The 1-based character position of the character starting at byte `index`.
std::size_t positionOf(std::string_view s, std::size_t index) {
    std::size_t position = 0;
    for (std::size_t i = 0; i <= index; ++i)
        if (!isContinuationByte(s[i])) ++position;
    return position;
}

std::size_t lengthOf(std::string_view s) {
    std::size_t length = 0;
    for (char c : s)
        if (!isContinuationByte(c)) ++length;
    return length;
}

[[noreturn]] void overflow() {
    throw RuntimeError(error::Overflow, "Overflow");
}

void requireShortEnough(std::string_view s) {
    if (lengthOf(s) > kLongestPosition) overflow();
}

}  // namespace

std::string ParsePath(std::string_view sPathIn) {
    requireShortEnough(sPathIn);
    const std::size_t last = sPathIn.find_last_of(":\\/");
    if (last == std::string_view::npos) return {};
    return std::string(sPathIn.substr(0, last + 1));
}

std::string ParseFileName(std::string_view sFileIn) {
    requireShortEnough(sFileIn);
    const std::size_t last = sFileIn.find_last_of("\\/");
    if (last == std::string_view::npos) return std::string(sFileIn);
    // The name starts one position after the separator, and that position must fit too.
    if (positionOf(sFileIn, last) >= kLongestPosition) overflow();
    return std::string(sFileIn.substr(last + 1));
}

std::string RetureFileName(std::string_view strFile) {
    const std::size_t dot = strFile.rfind('.');
    if (dot == std::string_view::npos) return std::string(strFile);
    if (positionOf(strFile, dot) > kLongestPosition) overflow();
    return std::string(strFile.substr(0, dot));
}

}  // namespace kartovex
