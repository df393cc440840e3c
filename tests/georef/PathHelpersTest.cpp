#include <gtest/gtest.h>

#include <string>

#include "georef/PathHelpers.h"
#include "model/RuntimeError.h"

namespace kartovex {
namespace {

struct Row {
    std::string path;
    std::string folder;    // ParsePath
    std::string fileName;  // ParseFileName
};

TEST(PathHelpers, SplitAtTheLastFolderSeparator) {
    const Row rows[] = {
        {"C:\\maps\\area.jpg", "C:\\maps\\", "area.jpg"},
        {"C:\\area.jpg", "C:\\", "area.jpg"},
        {"C:\\maps\\", "C:\\maps\\", ""},
        {"C:area.jpg", "C:", "C:area.jpg"},
        {"area.jpg", "", "area.jpg"},
        {"", "", ""},
        {"C:\\maps/area.jpg", "C:\\maps/", "area.jpg"},
        {"/home/user/maps/area.jpg", "/home/user/maps/", "area.jpg"},
        {"/area.jpg", "/", "area.jpg"},
        {"/home/user/a.b/area", "/home/user/a.b/", "area"},
        {"/home/\u7528\u6237/\u5730\u56fe.jpg", "/home/\u7528\u6237/", "\u5730\u56fe.jpg"},
        {"//server/share/area.jpg", "//server/share/", "area.jpg"},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(ParsePath(r.path), r.folder) << r.path;
        EXPECT_EQ(ParseFileName(r.path), r.fileName) << r.path;
    }
}

TEST(PathHelpers, BareNameIsTheFileNameWithoutItsLastExtension) {
    const std::pair<std::string, std::string> rows[] = {
        {"area.jpg", "area"},
        {"area.old.jpg", "area.old"},
        {"AREA.JPG", "AREA"},
        {"area", "area"},
        {".jpg", ""},
        {"", ""},
        {"area.", "area"},
        {"\u5730\u56fe.jpg", "\u5730\u56fe"},
        {"a b.c d.jpg", "a b.c d"},
    };
    for (const auto& [name, bare] : rows) EXPECT_EQ(RetureFileName(name), bare) << name;
}

long errorNumberOf(void (*call)()) {
    try {
        call();
    } catch (const RuntimeError& e) {
        return e.number();
    }
    return 0;
}

const std::string wide = "\u4e2d";  // three bytes, one character

std::string repeat(const std::string& s, std::size_t n) {
    std::string out;
    for (std::size_t i = 0; i < n; ++i) out += s;
    return out;
}

// Positions are held in 16 bits and counted in characters, however many bytes each takes.
TEST(PathHelpers, PositionsBeyond32767Overflow) {
    EXPECT_EQ(ParsePath(repeat(wide, 32766) + "/").size(), 32766 * 3 + 1);
    EXPECT_EQ(ParseFileName(repeat(wide, 32765) + "/b"), "b");
    EXPECT_EQ(RetureFileName(repeat(wide, 32766) + ".jpg").size(), 32766 * 3);
    EXPECT_EQ(RetureFileName(std::string(40000, 'a')).size(), 40000u);

    struct Case {
        const char* what;
        void (*call)();
    };
    const Case overflows[] = {
        {"ParsePath of 32768 characters", [] { ParsePath(repeat(wide, 32768)); }},
        {"ParseFileName of 32768 characters", [] { ParseFileName(repeat(wide, 32768)); }},
        {"ParseFileName with its separator at 32767",
         [] { ParseFileName(repeat(wide, 32766) + "\\"); }},
        {"RetureFileName with its dot at 32768",
         [] { RetureFileName(repeat(wide, 32767) + ".jpg"); }},
    };
    for (const auto& c : overflows) EXPECT_EQ(errorNumberOf(c.call), error::Overflow) << c.what;
}

}  // namespace
}  // namespace kartovex
