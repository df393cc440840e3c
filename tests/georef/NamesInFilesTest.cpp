#include <gtest/gtest.h>

#include "FakeCodePage936.h"
#include "georef/NamesInFiles.h"
#include "model/RuntimeError.h"

namespace kartovex {
namespace {

TEST(NamesInFiles, NamesGoIntoTheFilesInCodePage936) {
    FakeCodePage936 codePage;
    const NamesInFiles plain = namesInFiles("area.old.JPG", "area.old", codePage);
    EXPECT_EQ(plain.fileName, "area.old.JPG");
    EXPECT_EQ(plain.bareName, "area.old");
    const NamesInFiles chinese = namesInFiles("\u5730\u56fe.jpg", "\u5730\u56fe", codePage);
    EXPECT_EQ(chinese.fileName, "\xB5\xD8\xCD\xBC.jpg");
    EXPECT_EQ(chinese.bareName, "\xB5\xD8\xCD\xBC");
}

TEST(NamesInFiles, RefusesWhatTheFilesCannotCarry) {
    struct Row {
        std::string fileName, bareName;
        std::string because;
    };
    const Row rows[] = {
        {".jpg", "", "Refused file name: .jpg\nIt leaves no name"},
        {"a\"b.jpg", "a\"b", "Refused file name: a\"b.jpg\nIt holds a double quote"},
        {"a\nb.jpg", "a\nb", "Refused file name: a?b.jpg\nIt holds a control character"},
        {"a\tb.jpg", "a\tb", "It holds a control character"},
        {"a\x7F.jpg", "a\x7F", "It holds a control character"},
        {"a\u0085.jpg", "a\u0085", "Refused file name: a?.jpg\nIt holds a control character"},
        {"\u20ac.jpg", "\u20ac", "It holds the character \"\u20ac\", which the table's code page"},
        {"\u4e2d\U0001F600.jpg", "\u4e2d\U0001F600", "the character \"\U0001F600\""},
        {"a\xFF.jpg", "a\xFF", "It is not UTF-8 text."},
    };
    FakeCodePage936 codePage;
    for (const auto& r : rows) {
        try {
            namesInFiles(r.fileName, r.bareName, codePage);
            ADD_FAILURE() << "accepted " << r.fileName;
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.number(), error::InvalidArgument);
            EXPECT_NE(e.description().find(r.because), std::string::npos) << e.description();
        }
    }
}

}  // namespace
}  // namespace kartovex
