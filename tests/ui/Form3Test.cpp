#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QApplication>
#include <QBuffer>
#include <QDialog>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "model/RuntimeError.h"
#include "ui/Form3.h"
#include "ui/Form3Probe.h"

namespace kartovex {
namespace {

QByteArray encoded(int width, int height, const char* format) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, format));
    return bytes;
}

// A small real JPEG whose frame header claims another size; its scan data is far too
// short for that size, so only a reader that stops at the header can measure it.
QByteArray jpegClaiming(int width, int height) {
    QByteArray bytes = encoded(16, 16, "JPG");
    const qsizetype frame = bytes.indexOf("\xFF\xC0");
    const char size[] = {char(height >> 8), char(height), char(width >> 8), char(width)};
    return bytes.replace(frame + 5, 4, size, 4);
}

struct Pictures : QTemporaryDir {
    QString put(const QString& name, const QByteArray& bytes) {
        QFile file(filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        return file.fileName();
    }
};

Form3* openProbeWindow() {
    for (QWidget* window : QApplication::topLevelWidgets())
        if (auto* form = qobject_cast<Form3*>(window); form && window->isVisible()) return form;
    return nullptr;
}

// What is measured comes from the header alone; what is not a picture keeps the last extents.
TEST(Form3, MeasuresThePictureFromItsHeaderOrSaysWhyNot) {
    Pictures pictures;
    ASSERT_EQ(::mkfifo(QFile::encodeName(pictures.filePath("x.jpg")).constData(), 0600), 0);
    const QByteArray jpeg = encoded(1280, 1024, "JPG");
    const std::pair<QString, std::string> rows[] = {
        {pictures.put("area.jpg", jpeg), "1279 1023"},
        {pictures.put("line.jpg", jpegClaiming(65500, 1)),
         "Invalid picture (65500 x 1 pixels: the corners of a picture narrower or lower than 2 "
         "pixels cannot be told apart)"},
        {pictures.put("area.png", encoded(3, 2, "PNG")), "2 1"},
        {pictures.put("huge.jpg", jpegClaiming(65500, 65500)), "65499 65499"},
        {pictures.filePath("missing.jpg"), "Invalid picture (No such file or directory)"},
        {pictures.put("empty.jpg", {}), "Invalid picture (Unsupported image format)"},
        {pictures.put("cut.jpg", jpeg.left(20)),
         "Invalid picture (no size could be read from its header)"},
        {pictures.filePath("x.jpg"), "Invalid picture (not a regular file)"},
    };
    for (const auto& [path, result] : rows) {
        Module1 module{"639", "479"};
        Form3 form;
        try {
            form.load(path, module);
            EXPECT_EQ(module.strPicMaxX + " " + module.strPicMaxY, result) << path.toStdString();
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.number(), error::InvalidPicture);
            EXPECT_EQ(e.description(), result) << path.toStdString();
            EXPECT_EQ(module.strPicMaxX + " " + module.strPicMaxY, "639 479");
        }
    }
}

// A small framed window whose preview is decoded, small, only once the command that showed
// it has gone back to the event loop; it closes and deletes itself 300 ms after loading.
TEST(Form3, ShowsAReducedPreviewAfterTheCommandAndClosesItself) {
    Pictures pictures;
    Module1 module;
    Form3Probe probe;
    EXPECT_THROW(probe.show(pictures.filePath("missing.jpg").toStdString(), module), RuntimeError);
    EXPECT_EQ(openProbeWindow(), nullptr);

    probe.show(pictures.put("area.jpg", encoded(1280, 1024, "JPG")).toStdString(), module);
    QPointer<Form3> form = openProbeWindow();
    ASSERT_FALSE(form.isNull());
    EXPECT_FALSE(form->isModal());
    auto* picture1 = form->findChild<QLabel*>("Picture1");
    ASSERT_NE(picture1, nullptr);
    EXPECT_TRUE(picture1->pixmap().isNull()) << "decoded before the command returned";

    ASSERT_TRUE(QTest::qWaitFor([&] { return form && !picture1->pixmap().isNull(); }, 1000));
    EXPECT_EQ(picture1->pixmap().size(), QSize(257, 206));
    {
        // A question or progress dialog of the command: the command has not finished yet.
        QDialog asking;
        asking.setModal(true);
        asking.show();
        // Its close timer has come and found the command asking.
        auto* timer1 = form->findChild<QTimer*>("Timer1");
        ASSERT_NE(timer1, nullptr);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !form || timer1->interval() != 300; }, 2000));
        EXPECT_FALSE(form.isNull()) << "closed while the command was still asking";
    }
    EXPECT_TRUE(QTest::qWaitFor([&] { return form.isNull(); }, 3000));
}

}  // namespace
}  // namespace kartovex
