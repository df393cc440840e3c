#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QImageReader>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "CameraMotion.h"
#include "EarthView.h"
#include "EarthWindow.h"
#include "GoToBox.h"

using earthsim::Camera;

namespace {

class EarthWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        window.resize(800, 600);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    CameraMotion motion{Camera{34.67, 112.58, 0, 12000, 0, 0}};
    EarthWindow window{motion};
};

// That the full-screen view covers the screen in physical pixels, the back ends' tests see.
TEST_F(EarthWindowTest, F11TogglesTheFullScreenViewAndBack) {
    for (const bool full : {true, false}) {
        QTest::keyClick(&window, Qt::Key_F11);
        ASSERT_TRUE(QTest::qWaitFor([&] { return window.isFullScreen() == full; }, 2000));
        EXPECT_NE(window.toolBar().isVisible(), full);
    }
}

TEST_F(EarthWindowTest, SaveImageWritesAJpgOfTheViewInPhysicalPixelsOrSaysWhyNot) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const struct {
        QString typed, written;  // what goes into the file dialog, and the file it gives
        bool saved;
    } cases[] = {
        {folder.filePath("area"), folder.filePath("area.jpg"), true},
        {QDir::tempPath() + "/no-such-folder-earthsim/area.jpg",
         QDir::tempPath() + "/no-such-folder-earthsim/area.jpg", false},
    };
    for (const auto& c : cases) {
        // Each dialog is answered from a timer, as a person would, so none waits inside
        // another's event loop.
        QString shown;
        QPointer<QWidget> answered;
        QTimer modals;
        QObject::connect(&modals, &QTimer::timeout, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal == nullptr || modal == answered || !modal->isVisible()) return;
            answered = modal;
            if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                shown = box->text();
                box->accept();
            } else if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
                dialog->findChild<QLineEdit*>("fileNameEdit")->setText(c.typed);
                static_cast<QDialog*>(dialog)->accept();
            }
        });
        modals.start(20);
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        QTest::keyClick(&window, Qt::Key_S, Qt::ControlModifier);

        ASSERT_EQ(QFile::exists(c.written), c.saved) << c.typed.toStdString();
        if (c.saved) {
            QImageReader reader(c.written);
            EXPECT_EQ(reader.format(), QByteArray("jpeg"));
            EXPECT_EQ(reader.size(), window.view().size() * window.devicePixelRatioF());
            EXPECT_TRUE(shown.isEmpty());
        } else {
            EXPECT_TRUE(shown.contains(c.written)) << shown.toStdString();
            EXPECT_TRUE(shown.contains("No image was saved")) << shown.toStdString();
        }
        EXPECT_TRUE(window.isVisible());
    }
}

TEST_F(EarthWindowTest, CtrlGFliesToThePlaceTypedInTheGoToBox) {
    QTest::keyClick(&window, Qt::Key_G, Qt::ControlModifier);
    auto* box = window.findChild<GoToBox*>();
    ASSERT_NE(box, nullptr);
    box->findChild<QDoubleSpinBox*>("latitude")->setValue(65);
    box->findChild<QDoubleSpinBox*>("longitude")->setValue(-25.5);
    box->findChild<QDoubleSpinBox*>("range")->setValue(5000);
    box->accept();
    ASSERT_TRUE(motion.flying());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !motion.flying(); }, 5000));
    EXPECT_EQ(motion.camera(), (Camera{65, -25.5, 0, 5000, 0, 0}));
}

}  // namespace
