#pragma once

#include <string>

#include "georef/CodePage936.h"

namespace kartovex {

// ASCII and 地图, enough for the names the tests pick; every other character is missing,
// as a character outside the code page would be.
class FakeCodePage936 : public CodePage936 {
public:
    std::optional<std::string> fromUtf8(std::string_view utf8) const override {
        std::string out;
        for (std::size_t i = 0; i < utf8.size(); ++i) {
            if (static_cast<unsigned char>(utf8[i]) < 0x80) {
                out += utf8[i];
                continue;
            }
            const std::string_view character = utf8.substr(i, 3);
            if (character != "\u5730" && character != "\u56fe") return std::nullopt;
            out += character == "\u5730" ? "\xB5\xD8" : "\xCD\xBC";
            i += 2;
        }
        return out;
    }
};

}  // namespace kartovex
