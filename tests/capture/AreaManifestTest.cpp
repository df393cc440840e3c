#include <gtest/gtest.h>

#include "ErrorOf.h"
#include "capture/AreaManifest.h"

namespace kartovex {
namespace {

TEST(AreaManifest, ADamagedManifestIsRefusedNamingItsLine) {
    const std::string good =
        "kartovex-area 1\ndetail 2\nmargin 48\nview 1920 1080\ncamera 500 0\n"
        "area 60 10 -100 -50 100 50\nplan 60 10\n";
    EXPECT_EQ(AreaManifest::parse(good).text(), good);
    struct Case {
        std::string text;
        const char* says;
    } const cases[] = {
        {"", "incomplete"},
        {"kartovex-area 2\n", "line 1"},
        {good + "taken 0 view-001.jpg 1920 1080 0 0\n", "line 8"},
        {good + "taken 1 view-002.jpg 1920 1080\n", "line 8"},
        {good + "taken 0 ../x.jpg 1920 1080\n", "line 8"},
        {"kartovex-area 1\ndetail 12\n", "line 2"},
        {"kartovex-area 1\nview 1920 ten\n", "line 2"},
        {"kartovex-area 1\nplan 60 10 5\n", "line 2"},
        {"kartovex-area 1\nplan 60 10\n", "incomplete"},
    };
    for (const Case& c : cases)
        EXPECT_NE(testing::errorOf([&] { AreaManifest::parse(c.text); }).description().find(c.says),
                  std::string::npos)
            << c.text;
}

}  // namespace
}  // namespace kartovex
