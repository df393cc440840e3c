#include <gtest/gtest.h>

#include <string>

#include "ErrorOf.h"
#include "georef/PathHelpers.h"

namespace kartovex {
namespace {

// Step 2's own tests pick the usual names; these are the corners.
TEST(PathHelpers, SplitAtTheLastFolderSeparatorAndTheLastExtension) {
    struct Row {
        std::string path, folder, fileName, bareName;
    };
    const Row rows[] = {
        {"C:\\maps\\", "C:\\maps\\", "", ""},
        {"C:area.jpg", "C:", "C:area.jpg", "C:area"},
        {"area.old.jpg", "", "area.old.jpg", "area.old"},
        {"", "", "", ""},
        {"/area.", "/", "area.", "area"},
        {"/home/user/a.b/area", "/home/user/a.b/", "area", "area"},
        {"/home/\u7528\u6237/\u5730\u56fe.jpg", "/home/\u7528\u6237/", "\u5730\u56fe.jpg",
         "\u5730\u56fe"},
        {"//server/share/.jpg", "//server/share/", ".jpg", ""},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(ParsePath(r.path), r.folder) << r.path;
        EXPECT_EQ(ParseFileName(r.path), r.fileName) << r.path;
        EXPECT_EQ(RetureFileName(r.fileName), r.bareName) << r.path;
    }
}

std::string wide(std::size_t n) {  // n characters of three bytes each
    std::string out;
    for (std::size_t i = 0; i < n; ++i) out += "\u4e2d";
    return out;
}

// Positions are held in 16 bits and counted in characters, however many bytes each takes.
TEST(PathHelpers, PositionsBeyond32767Overflow) {
    EXPECT_EQ(ParsePath(wide(32766) + "/").size(), 32766 * 3 + 1);
    EXPECT_EQ(ParseFileName(wide(32765) + "/b"), "b");
    EXPECT_EQ(RetureFileName(wide(32766) + ".jpg").size(), 32766 * 3);
    EXPECT_EQ(RetureFileName(std::string(40000, 'a')).size(), 40000u);

    const std::pair<const char*, void (*)()> overflows[] = {
        {"ParsePath of 32768 characters", [] { ParsePath(wide(32768)); }},
        {"ParseFileName of 32768 characters", [] { ParseFileName(wide(32768)); }},
        {"ParseFileName with its separator at 32767", [] { ParseFileName(wide(32766) + "\\"); }},
        {"RetureFileName with its dot at 32768", [] { RetureFileName(wide(32767) + ".jpg"); }},
    };
    for (const auto& [what, call] : overflows)
        EXPECT_EQ(testing::errorOf(call).number(), error::Overflow) << what;
}

}  // namespace
}  // namespace kartovex
