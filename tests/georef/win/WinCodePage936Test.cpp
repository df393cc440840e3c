#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "georef/win/WinCodePage936.h"

namespace kartovex {
namespace {

struct Case {
    const char* what;
    std::string utf8;
    std::optional<std::string> expected;
};

TEST(WinCodePage936, WritesWhatTheCodePageHoldsAndRefusesTheRest) {
    const Case cases[] = {
        {"empty", "", std::string()},
        {"ASCII", "area.old", std::string("area.old")},
        // The substitute character itself is no sign of a refused character.
        {"question mark", "a?b", std::string("a?b")},
        {"Chinese", "\xE5\x9C\xB0\xE5\x9B\xBE", std::string("\xB5\xD8\xCD\xBC")},  // 地图
        {"Chinese beside ASCII", "\xE4\xB8\xAD\xE6\x96\x87 1",                     // 中文 1
         std::string("\xD6\xD0\xCE\xC4 1")},
        {"full-width colon, comma, exclamation mark", "\xEF\xBC\x9A\xEF\xBC\x8C\xEF\xBC\x81",
         std::string("\xA3\xBA\xA3\xAC\xA3\xA1")},
        {"pinyin vowel and Cyrillic", "\xC3\xA0\xD0\x96", std::string("\xA8\xA4\xA7\xA8")},
        // Best fit would make these a plain A and a question mark.
        {"capital A with grave", "\xC3\x80", std::nullopt},
        {"Thai", "\xE0\xB8\x81", std::nullopt},
        {"outside the basic plane", "\xF0\x9F\x98\x80", std::nullopt},
        {"private use", "\xEE\x80\x80", std::nullopt},
        {"truncated sequence", "a\xE5\x9C", std::nullopt},
        {"lone continuation byte", "\x80", std::nullopt},
        {"encoded surrogate", "\xED\xA0\x80", std::nullopt},
    };
    const WinCodePage936 codePage;
    for (const Case& c : cases) EXPECT_EQ(codePage.fromUtf8(c.utf8), c.expected) << c.what;
}

}  // namespace
}  // namespace kartovex
