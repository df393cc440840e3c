#include <gtest/gtest.h>

#include <QCursor>
#include <QGuiApplication>
#include <stdexcept>
#include <vector>

#include "RecordingMessageBox.h"
#include "app/CommandRunner.h"
#include "model/RuntimeError.h"

namespace kartovex {
namespace {

class CommandRunnerTest : public ::testing::Test {
protected:
    testing::RecordingMessageBox boxes;
    int ends = 0;
    CommandRunner runner{boxes, [this] { ++ends; }};
};

TEST_F(CommandRunnerTest, ACommandThatEndsWellShowsNothingAndLeavesNoBusyCursor) {
    bool busyDuringCommand = false;
    runner.run([&] { busyDuringCommand = QGuiApplication::overrideCursor() != nullptr; });
    EXPECT_TRUE(busyDuringCommand);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(ends, 0);
}

TEST_F(CommandRunnerTest, AnUntrappedErrorIsReportedWithNumberAndDescriptionThenEndsTheProgram) {
    runner.run([] { throw RuntimeError(6, "Overflow"); });
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, "Run-time error '6':\n\nOverflow");
    EXPECT_EQ(boxes.shown[0].title, "Kartovex");
    EXPECT_EQ(ends, 1);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(CommandRunnerTest, AnyOtherFailureIsReportedTheSameWay) {
    runner.run([] { throw std::logic_error("broken invariant"); });
    runner.run([] { throw std::bad_alloc(); });
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[0].text, "Run-time error '51':\n\nbroken invariant");
    EXPECT_EQ(boxes.shown[1].text, "Run-time error '7':\n\nOut of memory");
    EXPECT_EQ(ends, 2);
}

}  // namespace
}  // namespace kartovex
