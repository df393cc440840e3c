#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>

#include "ui/Form1.h"

namespace kartovex {
namespace {

// A borderless window with the splash picture in its oversized box, for one second: clicks
// and keys neither shorten nor lengthen it.
TEST(Form1, ShowsTheSplashPictureForOneSecondWhateverTheUserDoes) {
    QPointer<Form1> form1 = new Form1;
    EXPECT_TRUE(form1->windowFlags().testFlag(Qt::FramelessWindowHint));
    auto* picture1 = form1->findChild<QLabel*>("Picture1");
    ASSERT_NE(picture1, nullptr);
    EXPECT_FALSE(picture1->pixmap().isNull());

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
    EXPECT_TRUE(QTest::qWaitFor([&] { return form1.isNull(); }))
        << "the splash window is destroyed after its tick";
    EXPECT_EQ(finished.count(), 1);
}

}  // namespace
}  // namespace kartovex
