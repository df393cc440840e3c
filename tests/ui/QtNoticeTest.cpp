#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QWidget>

#include "ui/QtNotice.h"

namespace kartovex {
namespace {

// The notice blocks nothing, shows the text and a link to the folder, gives way to the
// next one and closes by itself.
TEST(QtNotice, ShowsWithoutBlockingAndGoesAwayByItself) {
    QWidget window;
    window.show();
    QtNotice notices(std::chrono::milliseconds(300));
    notices.setOwner(&window);
    notices.notice("first", "/maps/");
    notices.notice("Written in /maps/: a.tab\na.tab is off by up to 23 px", "/maps/");
    const auto shown = [] {
        QList<QWidget*> found;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == "Notice" && w->isVisible()) found << w;
        return found;
    };
    ASSERT_EQ(shown().size(), 1);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    QWidget* notice = shown().front();
    EXPECT_EQ(notice->findChild<QLabel*>("NoticeText")->text(),
              "Written in /maps/: a.tab<br>a.tab is off by up to 23 px");
    EXPECT_TRUE(notice->findChild<QLabel*>("NoticeOpenFolder")->text().contains("file:///maps/"));
    QTRY_VERIFY(shown().isEmpty());
}

}  // namespace
}  // namespace kartovex
