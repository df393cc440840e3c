#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>

#include "ui/Form1.h"

namespace kartovex {
namespace {

TEST(Form1, IsABorderlessWindowWithTheSplashPictureInItsOversizedBox) {
    QPointer<Form1> form1 = new Form1;
    EXPECT_TRUE(form1->windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_FALSE(form1->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(form1->size(), QSize(503, 521));
    auto* picture1 = form1->findChild<QLabel*>("Picture1");
    ASSERT_NE(picture1, nullptr);
    EXPECT_EQ(picture1->geometry(), QRect(-8, 8, 521, 545));
    EXPECT_EQ(picture1->pixmap().size(), QSize(512, 512));
    delete form1.data();
}

// Clicks and keys neither shorten nor lengthen the one second.
TEST(Form1, TicksOnceAfterOneSecondWhateverTheUserDoes) {
    QPointer<Form1> form1 = new Form1;
    QSignalSpy finished(form1.data(), &Form1::finished);
    QElapsedTimer clock;
    clock.start();
    form1->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form1));
    QTest::mouseClick(form1, Qt::LeftButton);
    QTest::keyClick(form1, Qt::Key_Escape);
    QTest::keyClick(form1, Qt::Key_Return);
    EXPECT_TRUE(form1->isVisible());
    EXPECT_EQ(finished.count(), 0);
    ASSERT_TRUE(finished.wait(3000));
    EXPECT_GE(clock.elapsed(), 900);
    QTest::qWait(50);
    EXPECT_TRUE(form1.isNull()) << "the splash window is destroyed after its tick";
    EXPECT_EQ(finished.count(), 1);
}

}  // namespace
}  // namespace kartovex
