#include "Form3.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QLabel>
#include <QPixmap>

#include "model/Form2Layout.h"
#include "model/NumberText.h"
#include "model/RuntimeError.h"

namespace kartovex {
namespace {

[[noreturn]] void invalidPicture(const QString& reason) {
    throw RuntimeError(error::InvalidPicture, "Invalid picture (" + reason.toStdString() + ")");
}

// The picture's size as its header gives it. Only a format whose header cannot tell its
// size is decoded to learn it.
QSize measure(const QString& path) {
    // Opening a FIFO or a device may wait for good for a writer; a picture is a regular file.
    if (const QFileInfo info(path); info.exists() && !info.isFile())
        invalidPicture(QStringLiteral("not a regular file"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) invalidPicture(file.errorString());
    QImageReader reader(&file);
    QSize size = reader.size();
    if (!size.isValid() && reader.canRead() && !reader.supportsOption(QImageIOHandler::Size))
        size = reader.read().size();
    if (size.isEmpty())
        invalidPicture(reader.error() == QImageReader::UnknownError
                           ? QStringLiteral("no size could be read from its header")
                           : reader.errorString());
    // The four control points sit on the corner pixels, which must be four different pixels.
    if (size.width() < 2 || size.height() < 2)
        invalidPicture(QStringLiteral("%1 x %2 pixels: the corners of a picture narrower or lower "
                                      "than 2 pixels cannot be told apart")
                           .arg(size.width())
                           .arg(size.height()));
    return size;
}

}  // namespace

Form3::Form3(QWidget* parent) : QWidget(parent), picture1_(new QLabel(this)), timer1_(this) {
    setObjectName("Form3");
    setWindowTitle("Form2");  // the probe window is titled "Form2" by design, not by a slip
    setAttribute(Qt::WA_DeleteOnClose);
    resize(pixels(4680), pixels(3090));

    picture1_->setObjectName("Picture1");
    picture1_->setFrameStyle(QFrame::Box | QFrame::Plain);
    picture1_->setLineWidth(1);
    picture1_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    picture1_->setGeometry(0, 0, pixels(4695), pixels(3135));

    timer1_.setObjectName("Timer1");
    timer1_.setSingleShot(true);
    // The command that showed the probe has not finished while its question or progress
    // dialog is open; the probe closes only once the command is done.
    connect(&timer1_, &QTimer::timeout, this, [this] {
        if (QApplication::activeModalWidget())
            timer1_.start(50);
        else
            close();
    });
}

void Form3::load(const QString& path, Module1& module) {
    const QSize size = measure(path);
    timer1_.start(300);
    path_ = path;
    module.strPicMaxX = text(static_cast<float>(size.width()) - 1.0f);
    module.strPicMaxY = text(static_cast<float>(size.height()) - 1.0f);
    QMetaObject::invokeMethod(this, &Form3::showPreview, Qt::QueuedConnection);
}

void Form3::showPreview() {
    QImageReader reader(path_);
    const QSize full = reader.size();
    if (full.isEmpty()) return;
    // Small enough for the window; libjpeg then decodes at a fraction of the full size.
    const QSize room = size();
    reader.setScaledSize(full.boundedTo(room) == full ? full
                                                      : full.scaled(room, Qt::KeepAspectRatio));
    const QImage preview = reader.read();
    if (preview.isNull()) return;
    const int frame = 2 * picture1_->frameWidth();
    picture1_->setPixmap(QPixmap::fromImage(preview));
    picture1_->resize(preview.width() + frame, preview.height() + frame);
}

}  // namespace kartovex
