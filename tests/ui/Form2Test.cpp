#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QTest>

#include "ui/Form2.h"

namespace kartovex {
namespace {

class Form2Test : public ::testing::Test {
protected:
    Form2Test() : form2(new Form2(model)) {}
    ~Form2Test() override { delete form2.data(); }

    template <typename W = QWidget>
    W* control(const char* name) {
        return form2->findChild<W*>(name);
    }

    MainWindowModel model;
    QPointer<Form2> form2;
};

// The captures' menu stands above the client area, which keeps its design size; a menu
// command is offered only once something runs it.
TEST_F(Form2Test, TheCaptureMenuStandsAboveTheClientAreaOfTheDesign) {
    auto* menuBar = control<QMenuBar>("menuBar");
    ASSERT_NE(menuBar, nullptr);
    QWidget* client = control("Command1")->parentWidget();
    EXPECT_EQ(client->geometry(), QRect(0, menuBar->height(), 298, 344));
    EXPECT_EQ(form2->size(), QSize(298, 344 + menuBar->height()));
    auto* captureView = form2->findChild<QAction*>("captureView");
    ASSERT_NE(captureView, nullptr);
    EXPECT_FALSE(captureView->isEnabled());
    int captures = 0;
    form2->setCommand("captureView", [&] { ++captures; });
    captureView->trigger();
    EXPECT_EQ(captures, 1);
    EXPECT_FALSE(form2->findChild<QAction*>("captureArea")->isEnabled());
}

TEST_F(Form2Test, ModelChangesShowAtOnceAndAutoSizeLabelsFollowTheirText) {
    auto* label8 = control<QLabel>("Label8");
    const QPoint left = label8->pos();
    model.setCaption("Label8", "N-S DIS: 27.75 km");
    const int shortWidth = label8->width();
    EXPECT_EQ(label8->text(), "N-S DIS: 27.75 km");
    model.setCaption("Label8", "N-S DIS: 27.7512345678901 km");
    EXPECT_GT(label8->width(), shortWidth);
    EXPECT_EQ(label8->pos(), left);
}

// Focus starts on Quit, Tab runs through the buttons and boxes, keys press buttons, and
// typed text reaches the model.
TEST_F(Form2Test, TheKeyboardReachesEveryControlAndTheModel) {
    form2->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form2));
    form2->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form2));
    int quits = 0;
    form2->setCommand("Command3", [&] { ++quits; });
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    EXPECT_EQ(quits, 2);
    for (const char* name : {"Command3", "Command1", "Command2", "Text1", "Command4", "Text3",
                             "Command5", "Text2", "Text4", "Command3"}) {
        EXPECT_EQ(QApplication::focusWidget()->objectName(), name);
        if (std::string(name) == "Text1") QTest::keyClicks(QApplication::focusWidget(), "11030.4");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    EXPECT_EQ(model.text("Text1"), "11030.4");
    model.setText("Text3", "3954");
    EXPECT_EQ(control<QLineEdit>("Text3")->text(), "3954");
}

}  // namespace
}  // namespace kartovex
