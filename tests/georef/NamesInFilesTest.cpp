#include <gtest/gtest.h>

#include "ErrorOf.h"
#include "FakeCodePage936.h"
#include "georef/NamesInFiles.h"

namespace kartovex {
namespace {

// Step 2's own tests try the names a user is likeliest to pick; these are the rarer ones.
TEST(NamesInFiles, RefusesWhatTheFilesCannotCarry) {
    const std::pair<std::string, std::string> rows[] = {
        {"a\tb.jpg", "Refused file name: a?b.jpg\nIt holds a control character"},
        {"a\x7F.jpg", "It holds a control character"},
        {"a\u0085.jpg", "Refused file name: a?.jpg\nIt holds a control character"},
        {"\u5730\U0001F600.jpg",
         "It holds the character \"\U0001F600\", which the table's code page"},
        {"a\xFF.jpg", "It is not UTF-8 text."},
    };
    FakeCodePage936 codePage;
    for (const auto& [fileName, because] : rows) {
        const std::string bareName = fileName.substr(0, fileName.size() - 4);
        const RuntimeError e =
            testing::errorOf([&] { namesInFiles(fileName, bareName, codePage); });
        EXPECT_EQ(e.number(), error::InvalidArgument) << fileName;
        EXPECT_NE(e.description().find(because), std::string::npos) << e.description();
    }
}

}  // namespace
}  // namespace kartovex
