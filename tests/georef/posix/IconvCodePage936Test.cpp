#include <gtest/gtest.h>

#include "georef/posix/IconvCodePage936.h"

namespace kartovex {
namespace {

TEST(IconvCodePage936, WritesTheBytesOfTheWindowsCodePage) {
    const std::pair<std::string, std::string> rows[] = {
        {"area", "area"},
        {"\u5730\u56fe.jpg", "\xB5\xD8\xCD\xBC.jpg"},        // 地图
        {"\u9f98", "\xFD\x93"},                              // 龘, beyond GB2312
        {"\u00e9", "\xA8\xA6"},                              // é of pinyin
        {"\u20ac", "\x80"},                                  // the euro sign
        {"\u00b7\u2014", "\xA1\xA4\xA1\xAA"},                // middle dot, em dash
        {"\uff01\uff0c\uff1a", "\xA3\xA1\xA3\xAC\xA3\xBA"},  // full-width ！，：
    };
    IconvCodePage936 codePage;
    for (const auto& [utf8, expected] : rows) EXPECT_EQ(codePage.fromUtf8(utf8), expected) << utf8;
}

TEST(IconvCodePage936, RefusesWhatItCannotWriteExactly) {
    const char* rows[] = {
        "a\u00e4",     // ä: no counterpart, and no best-fit "a"
        "\u30fb",      // katakana middle dot, not silently the middle dot
        "\ue000",      // private use
        "\U0001F600",  // beyond the code page's plane
        "a\xFF"
        "b",         // not UTF-8
        "\xE4\xB8",  // a character cut short
    };
    IconvCodePage936 codePage;
    for (const char* utf8 : rows) EXPECT_EQ(codePage.fromUtf8(utf8), std::nullopt) << utf8;
}

}  // namespace
}  // namespace kartovex
