#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kartovex {

// The Simplified Chinese Windows code page that the raster table declares. Back ends:
// iconv (posix/) and WideCharToMultiByte (win/).
class CodePage936 {
public:
    virtual ~CodePage936() = default;
    // The bytes of a UTF-8 text in code page 936, or nothing when a character has no
    // exact counterpart there (no best-fit substitutes) or the text is not valid UTF-8.
    virtual std::optional<std::string> fromUtf8(std::string_view utf8) const = 0;
};

}  // namespace kartovex
