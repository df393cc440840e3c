#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QCompleter>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

#include "ui/QtFileChooser.h"

namespace kartovex {
namespace {

const CommonDialog kStep2Dialog{"From JPG TO TAB and GST", true, "", "JPG(*.jpg)|*.jpg", 2};

// Runs `user` on the dialog once it is up, then shows it through the chooser.
std::optional<std::string> showOpen(QtFileChooser& chooser, const CommonDialog& settings,
                                    std::function<void(QFileDialog&)> user) {
    QTimer::singleShot(0, [user] {
        ASSERT_TRUE(QTest::qWaitFor(
            [] { return qobject_cast<QFileDialog*>(QApplication::activeModalWidget()); }, 3000));
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        user(*dialog);
        QTimer::singleShot(3000, dialog, [dialog] {
            ADD_FAILURE() << "the dialog is still open";
            dialog->reject();
        });
    });
    return chooser.showOpen(settings);
}

TEST(QtFileChooser, FiltersAsTheDialogShowsThem) {
    const std::pair<std::string, QStringList> rows[] = {
        {"JPG(*.jpg)|*.jpg", {"JPG(*.jpg)"}},
        {"Pictures|*.jpg;*.png", {"Pictures (*.jpg *.png)"}},
        {"JPG|*.jpg|All (*.*)|*.*", {"JPG (*.jpg)", "All (*.*)"}},
        {"", {}},
    };
    for (const auto& [filter, shown] : rows)
        EXPECT_EQ(QtFileChooser::nameFilters(filter), shown) << filter;
}

// The next dialog opens where the last picture was picked.
TEST(QtFileChooser, OffersTheStep2SettingsAcceptsATypedNewNameAndCancels) {
    QTemporaryDir folder;
    QtFileChooser chooser;
    const QString typed = folder.filePath("new.jpg");
    const auto picked = showOpen(chooser, kStep2Dialog, [&](QFileDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "From JPG TO TAB and GST");
        EXPECT_EQ(dialog.selectedNameFilter(), "JPG(*.jpg)");
        auto* name = dialog.findChild<QLineEdit*>("fileNameEdit");
        ASSERT_NE(name, nullptr);
        dialog.setDirectory(folder.path());
        QTest::keyClicks(name, "new.jpg");
        // The completer's list pops up while typing; a click elsewhere would only close it.
        if (QCompleter* completer = name->completer(); completer && completer->popup()->isVisible())
            QTest::keyClick(completer->popup(), Qt::Key_Escape);
        auto* buttons = dialog.findChild<QDialogButtonBox*>("buttonBox");
        ASSERT_NE(buttons, nullptr);
        QTest::mouseClick(buttons->button(QDialogButtonBox::Open), Qt::LeftButton);
    });
    EXPECT_EQ(picked, QDir::toNativeSeparators(typed).toStdString());

    const auto cancelled = showOpen(chooser, kStep2Dialog, [&](QFileDialog& dialog) {
        EXPECT_EQ(dialog.directory().path(), QDir(folder.path()).path());
        dialog.reject();
    });
    EXPECT_EQ(cancelled, std::nullopt);
}

}  // namespace
}  // namespace kartovex
