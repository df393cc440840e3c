#include "QtFileSaver.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QString>

#include "model/RuntimeError.h"
#include "model/qt/QtLog.h"

namespace kartovex {

void QtFileSaver::save(const std::string& path, std::string_view bytes) {
    const QString name = QString::fromStdString(path);
    QSaveFile file(name);
    auto fail = [&] {
        qCInfo(georefLog).noquote() << "Not written:" << name << "-" << file.errorString();
        throw RuntimeError(error::PathFileAccess, file.errorString().toStdString());
    };
    // Unbuffered, so that a full disk fails the write itself: QSaveFile does not see a
    // failure of the buffer's last flush and would commit a short file.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) fail();
    const auto size = static_cast<qint64>(bytes.size());
    if (file.write(bytes.data(), size) != size) {
        const QString reason = file.errorString();
        file.cancelWriting();
        qCInfo(georefLog).noquote() << "Not written:" << name << "-" << reason;
        throw RuntimeError(error::PathFileAccess, reason.toStdString());
    }
    if (!file.commit()) fail();
    qCInfo(georefLog).noquote() << "Written:" << name << size << "bytes";
}

bool QtFileSaver::exists(const std::string& path) {
    // A dangling link is a name in the way too.
    const QFileInfo info(QString::fromStdString(path));
    return info.exists() || info.isSymLink();
}

bool QtFileSaver::isRegularFile(const std::string& path) {
    return QFileInfo(QString::fromStdString(path)).isFile();
}

std::optional<std::string> QtFileSaver::head(const std::string& path, std::size_t bytes) {
    // Opening a pipe would wait for a writer, for good.
    if (!isRegularFile(path)) return std::nullopt;
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    const QByteArray start = file.read(static_cast<qint64>(bytes));
    return start.toStdString();
}

void QtFileSaver::remove(const std::string& path) {
    QFile file(QString::fromStdString(path));
    if (!file.remove()) {
        qCInfo(georefLog).noquote()
            << "Not removed:" << file.fileName() << "-" << file.errorString();
        throw RuntimeError(error::PathFileAccess, file.errorString().toStdString());
    }
    qCInfo(georefLog).noquote() << "Removed:" << file.fileName();
}

}  // namespace kartovex
