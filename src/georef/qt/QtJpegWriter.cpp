#include "QtJpegWriter.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QTemporaryFile>

#include "model/RuntimeError.h"
#include "model/qt/QtLog.h"

namespace kartovex {

void QtJpegWriter::write(const std::string& path, const Picture& picture, int quality) {
    const QString name = QString::fromStdString(path);
    const auto fail = [&](const QString& reason) {
        qCInfo(georefLog).noquote() << "Not written:" << name << "-" << reason;
        throw RuntimeError(error::PathFileAccess, reason.toStdString());
    };
    // The picture's own memory, seen as an image without a copy.
    const QImage image(reinterpret_cast<const uchar*>(picture.pixels.data()), picture.width,
                       picture.height, static_cast<qsizetype>(picture.width) * 4,
                       QImage::Format_RGB32);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter encoder(&buffer, "jpg");
    encoder.setQuality(quality);
    if (!encoder.write(image)) fail(encoder.errorString());

    QTemporaryFile file(QFileInfo(name).absolutePath() + QStringLiteral("/.kartovex-XXXXXX.jpg"));
    if (!file.open()) fail(file.errorString());
    // A temporary file is for its owner alone; a picture is for whoever reads the folder.
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                        QFileDevice::ReadOther);
    if (file.write(bytes) != bytes.size() || !file.flush()) fail(file.errorString());
    if (QFileInfo::exists(name) || QFileInfo(name).isSymLink())
        fail(QStringLiteral("A file of that name appeared meanwhile; it was left as it was."));
    // Fails, like the check above, rather than replace a file of that name.
    if (!file.rename(name)) fail(file.errorString());
    file.setAutoRemove(false);
    qCInfo(georefLog).noquote() << "Written:" << name << bytes.size() << "bytes";
}

}  // namespace kartovex
