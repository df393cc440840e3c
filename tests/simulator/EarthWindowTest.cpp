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
#include <functional>

#include "CameraMotion.h"
#include "EarthView.h"
#include "EarthWindow.h"

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

    // Answers each modal dialog as it comes up, from a timer, so no test waits inside
    // another dialog's event loop.
    void answerModals(std::function<void(QWidget*)> answer) {
        QObject::connect(&modals, &QTimer::timeout, [this, answer] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal == nullptr || modal == answered || !modal->isVisible()) return;
            answered = modal;
            answer(modal);
        });
        modals.start(20);
    }

    // Types a file name into a file dialog and accepts it, as a person would.
    static void typeFileName(QWidget* modal, const QString& name) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr);
        auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        ASSERT_NE(edit, nullptr);
        edit->setText(name);
        static_cast<QDialog*>(dialog)->accept();
    }

    QTimer modals;
    QPointer<QWidget> answered;
    CameraMotion motion{Camera{34.67, 112.58, 0, 12000, 0, 0}};
    EarthWindow window{motion};
};

TEST_F(EarthWindowTest, OutsideFullScreenATooBarSitsAboveTheView) {
    EXPECT_FALSE(window.isFullScreen());
    EXPECT_TRUE(window.toolBar().isVisible());
    const QRect view = window.view().geometry();
    EXPECT_GE(view.top(), window.toolBar().geometry().bottom());
    EXPECT_LT(window.view().height(), window.height());
    EXPECT_GT(window.view().physicalScreenRect().top(),
              qRound(window.geometry().top() * window.devicePixelRatioF()));
}

TEST_F(EarthWindowTest, F11TogglesAFullScreenViewThatCoversTheWholeScreen) {
    QTest::keyClick(&window, Qt::Key_F11);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.isFullScreen(); }, 2000));
    QTest::qWait(50);
    EXPECT_FALSE(window.toolBar().isVisible());
    const QRect screen = window.screen()->geometry();
    const qreal ratio = window.devicePixelRatioF();
    EXPECT_EQ(window.view().physicalScreenRect(),
              QRect(qRound(screen.left() * ratio), qRound(screen.top() * ratio),
                    qRound(screen.width() * ratio), qRound(screen.height() * ratio)));

    QTest::keyClick(&window, Qt::Key_F11);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window.isFullScreen(); }, 2000));
    EXPECT_TRUE(window.toolBar().isVisible());
}

TEST_F(EarthWindowTest, SaveImageWritesAJpgOfExactlyTheView) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString typed = folder.filePath(QStringLiteral("area"));
    answerModals([typed](QWidget* modal) { typeFileName(modal, typed); });
    QTest::keyClick(&window, Qt::Key_S, Qt::ControlModifier);

    const QString written = typed + QStringLiteral(".jpg");
    ASSERT_TRUE(QFile::exists(written));
    QImageReader reader(written);
    EXPECT_EQ(reader.format(), QByteArray("jpeg"));
    EXPECT_EQ(reader.size(), window.view().physicalSize());
}

TEST_F(EarthWindowTest, ASaveThatFailsIsReportedAndTheWindowGoesOn) {
    const QString path = QDir::tempPath() + QStringLiteral("/no-such-folder-earthsim/area.jpg");
    QString shown;
    answerModals([&](QWidget* modal) {
        if (qobject_cast<QFileDialog*>(modal) != nullptr) {
            typeFileName(modal, path);
        } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            shown = box->text();
            box->accept();
        }
    });
    QTest::keyClick(&window, Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(shown.contains(QStringLiteral("No image was saved"))) << shown.toStdString();
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_TRUE(window.isVisible());
}

TEST_F(EarthWindowTest, ResetKeysFlyBackToNorthUpAndStraightDown) {
    const struct {
        Qt::Key key;
        double tilt, azimuth;
    } cases[] = {{Qt::Key_N, 30, 0}, {Qt::Key_U, 0, 40}, {Qt::Key_R, 0, 0}};
    for (const auto& c : cases) {
        const Camera turned{34.67, 112.58, 0, 9000, 30, 40};
        motion.jumpTo(turned);
        QTest::keyClick(&window, c.key);
        EXPECT_TRUE(motion.flying());
        ASSERT_TRUE(QTest::qWaitFor([&] { return !motion.flying(); }, 5000));
        const Camera now = motion.camera();
        EXPECT_EQ(now.tilt, c.tilt);
        EXPECT_EQ(now.azimuth, c.azimuth);
        EXPECT_EQ(now.latitude, turned.latitude);
        EXPECT_EQ(now.range, turned.range);
    }
}

}  // namespace
