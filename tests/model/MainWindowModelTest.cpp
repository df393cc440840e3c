#include <gtest/gtest.h>

#include <vector>

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

}  // namespace
}  // namespace kartovex
