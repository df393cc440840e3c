#pragma once

#include <map>
#include <string>

#include "georef/CodePage936.h"

namespace kartovex {

// ASCII and a handful of Chinese characters, enough for the names the tests pick; every
// other character is missing, as a character outside the code page would be.
class FakeCodePage936 : public CodePage936 {
public:
    std::optional<std::string> fromUtf8(std::string_view utf8) const override {
        static const std::map<std::string, std::string, std::less<>> chinese = {
            {"\u4e2d", "\xD6\xD0"},
            {"\u6587", "\xCE\xC4"},  // 中文
            {"\u5730", "\xB5\xD8"},
            {"\u56fe", "\xCD\xBC"},  // 地图
        };
        std::string out;
        for (std::size_t i = 0; i < utf8.size();) {
            if (static_cast<unsigned char>(utf8[i]) < 0x80) {
                out += utf8[i++];
                continue;
            }
            auto it = i + 3 <= utf8.size() ? chinese.find(utf8.substr(i, 3)) : chinese.end();
            if (it == chinese.end()) return std::nullopt;
            out += it->second;
            i += 3;
        }
        return out;
    }
};

}  // namespace kartovex
