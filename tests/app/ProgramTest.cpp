#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "app/Program.h"
#include "ui/Form3Probe.h"

namespace kartovex {
namespace {

int openWindowsNamed(const char* name) {
    int n = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == name && w->isVisible()) ++n;
    return n;
}

TEST(Program, SplashForOneSecondThenExactlyOneWorkingMainWindowUntilQuit) {
    Program program;
    QSignalSpy opened(&program, &Program::mainWindowOpened);
    program.start();
    QApplication::processEvents();
    EXPECT_EQ(openWindowsNamed("Form1"), 1);
    EXPECT_EQ(openWindowsNamed("Form2"), 0);

    ASSERT_TRUE(opened.wait(3000));
    EXPECT_TRUE(QTest::qWaitFor([] { return openWindowsNamed("Form1") == 0; }));
    EXPECT_EQ(opened.count(), 1);
    EXPECT_EQ(openWindowsNamed("Form2"), 1);

    QPointer<Form2> form2 = program.mainWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form2));
    // The buttons work on the window's own model.
    QTest::mouseClick(form2->findChild<QPushButton*>("Command4"), Qt::LeftButton);
    EXPECT_EQ(form2->findChild<QLabel*>("zuoshangpianchay")->text(), "0.00 m");
    QTest::mouseClick(form2->findChild<QPushButton*>("Command3"), Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor([&] { return form2.isNull(); }))
        << "Quit closes and destroys the main window";
}

// Quit closes the main window at once; the probe window, still open from Step 2, keeps
// the program alive until it closes itself.
TEST(Program, QuitWhileTheProbeIsOpenEndsWhenTheProbeCloses) {
    Program program;
    QSignalSpy opened(&program, &Program::mainWindowOpened);
    program.start();
    ASSERT_TRUE(opened.wait(3000));
    QTemporaryDir dir;
    const QString jpg = dir.filePath("area.jpg");
    ASSERT_TRUE(QImage(4, 3, QImage::Format_RGB32).save(jpg));
    Module1 module;
    Form3Probe().show(jpg.toStdString(), module);

    QTest::mouseClick(program.mainWindow()->findChild<QPushButton*>("Command3"), Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_EQ(openWindowsNamed("Form3"), 1);
    EXPECT_TRUE(QTest::qWaitFor([] { return openWindowsNamed("Form3") == 0; }, 2000));
}

}  // namespace
}  // namespace kartovex
