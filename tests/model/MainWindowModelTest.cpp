#include <gtest/gtest.h>

#include <vector>

#include "ErrorOf.h"
#include "model/MainWindowModel.h"

namespace kartovex {
namespace {

TEST(MainWindowModel, TellsTheViewOfEveryChangeButNotOfRepeats) {
    MainWindowModel form;
    std::vector<std::string> changed;
    form.setListener([&](const std::string& name) { changed.push_back(name); });
    form.setCaption("Label8", "N-S DIS: 27.75 km");
    form.setCaption("Label8", "N-S DIS: 27.75 km");
    form.setText("Text1", "11030.4");
    EXPECT_EQ(changed, (std::vector<std::string>{"Label8", "Text1"}));
}

TEST(CommonDialog, CancelRaisesOnlyWhenAskedTo) {
    struct : FileChooser {
        std::optional<std::string> answer;
        std::optional<std::string> showOpen(const CommonDialog&) override { return answer; }
    } chooser;
    CommonDialog dialog;
    dialog.FileName = "old";
    dialog.CancelError = true;
    EXPECT_EQ(testing::errorOf([&] { dialog.ShowOpen(chooser); }).number(), error::DialogCancelled);
    dialog.CancelError = false;
    EXPECT_NO_THROW(dialog.ShowOpen(chooser));
    EXPECT_EQ(dialog.FileName, "");
    chooser.answer = "/maps/area.jpg";
    dialog.ShowOpen(chooser);
    EXPECT_EQ(dialog.FileName, "/maps/area.jpg");
}

}  // namespace
}  // namespace kartovex
