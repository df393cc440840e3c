#include <gtest/gtest.h>

#include <QCursor>
#include <QGuiApplication>
#include <functional>
#include <stdexcept>
#include <vector>

#include "RecordingMessageBox.h"
#include "app/CommandRunner.h"
#include "model/RuntimeError.h"

namespace kartovex {
namespace {

// A command that ends well shows nothing; any failure is reported with its number and
// description and ends the program. The busy cursor shows only while the command runs.
TEST(CommandRunner, ReportsAnUntrappedFailureThenEndsTheProgram) {
    const std::pair<std::function<void()>, const char*> rows[] = {
        {[] {}, nullptr},
        {[] { throw RuntimeError(6, "Overflow"); }, "Run-time error '6':\n\nOverflow"},
        {[] { throw std::logic_error("broken"); }, "Run-time error '51':\n\nbroken"},
        {[] { throw std::bad_alloc(); }, "Run-time error '7':\n\nOut of memory"},
    };
    for (const auto& [command, says] : rows) {
        testing::RecordingMessageBox boxes;
        int ends = 0;
        bool busy = false;
        CommandRunner(boxes, [&] { ++ends; }).run([&, &command = command] {
            busy = QGuiApplication::overrideCursor() != nullptr;
            command();
        });
        EXPECT_TRUE(busy);
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
        EXPECT_EQ(ends, says ? 1 : 0);
        EXPECT_EQ(boxes.shown, (std::vector<testing::RecordingMessageBox::Message>(
                                   says ? 1 : 0, {says ? says : "", "Kartovex"})));
    }
}

}  // namespace
}  // namespace kartovex
