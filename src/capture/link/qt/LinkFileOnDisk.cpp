#include "LinkFileOnDisk.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace kartovex {

namespace {

// Far above the few hundred bytes of ours, far below what could hurt to read.
constexpr qint64 kLargestLinkFile = 64 * 1024;

// The key lets any process that reads it report a false view; on a shared machine only
// the user may read it.
void forTheUserAlone(const QString& path, bool folder) {
#ifdef Q_OS_UNIX
    const QFileDevice::Permissions owner =
        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser |
        QFileDevice::WriteUser |
        (folder ? QFileDevice::ExeOwner | QFileDevice::ExeUser : QFileDevice::Permissions());
    if (QFile::permissions(path) != owner) QFile::setPermissions(path, owner);
#else
    Q_UNUSED(path);
    Q_UNUSED(folder);
#endif
}

bool isPlainFile(const QFileInfo& info) {
    return !info.isSymLink() && info.isFile();
}

}  // namespace

std::optional<LinkAddress> readLinkFile(const QString& path) {
    const QFileInfo info(path);
    if (!isPlainFile(info) || info.size() > kLargestLinkFile) return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    return linkAddressIn(file.read(kLargestLinkFile).toStdString());
}

QString writeLinkFile(const QString& path, int port, const std::string& key) {
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder)) return QStringLiteral("its folder could not be made");
    forTheUserAlone(folder, true);

    const QByteArray wanted = QByteArray::fromStdString(linkFileText(port, key));
    const QFileInfo info(path);
    if (isPlainFile(info) && info.size() == wanted.size()) {
        QFile existing(path);
        if (existing.open(QIODevice::ReadOnly) && existing.readAll() == wanted) {
            forTheUserAlone(path, false);
            return {};
        }
    }
    // QSaveFile would write to a symbolic link's target: the link goes first.
    if (info.isSymLink() && !QFile::remove(path))
        return QStringLiteral("a symbolic link stands in its place and could not be removed");
    QSaveFile file(path);
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly)) return file.errorString();
    // The temporary file, before a byte is in it.
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    if (file.write(wanted) != wanted.size() || !file.commit()) return file.errorString();
    forTheUserAlone(path, false);
    return {};
}

}  // namespace kartovex
