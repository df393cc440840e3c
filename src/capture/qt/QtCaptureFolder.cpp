#include "QtCaptureFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "model/RuntimeError.h"

namespace kartovex {
namespace {

const QString kKey = QStringLiteral("capture/folder");

}  // namespace

QtCaptureFolder::QtCaptureFolder(QSettings& settings) : settings_(&settings) {}

QtCaptureFolder::QtCaptureFolder(QString forThisRun) : forThisRun_(std::move(forThisRun)) {}

QString QtCaptureFolder::folder() const {
    if (!settings_) return forThisRun_;
    const QString chosen = settings_->value(kKey).toString();
    if (!chosen.isEmpty()) return chosen;
    return QStandardPaths::writableLocation(QStandardPaths::PicturesLocation) +
           QStringLiteral("/Kartovex");
}

void QtCaptureFolder::choose(const QString& folder) {
    if (settings_)
        settings_->setValue(kKey, folder);
    else
        forThisRun_ = folder;
}

std::string QtCaptureFolder::prepare() {
    const QString path = QDir::cleanPath(QDir(folder()).absolutePath());
    const QFileInfo info(path);
    if (info.exists() && !info.isDir())
        throw RuntimeError(error::PathFileAccess, path.toStdString() + " is a file, not a folder");
    if (!info.exists() && !QDir().mkpath(path))
        throw RuntimeError(error::PathFileAccess,
                           "The folder " + path.toStdString() + " could not be made");
    if (!QFileInfo(path).isWritable())
        throw RuntimeError(error::PermissionDenied,
                           "Kartovex may not write into " + path.toStdString());
    return (path.endsWith('/') ? path : path + '/').toStdString();
}

bool QtCaptureFolder::holdsNameStartingWith(const std::string& folder, const std::string& stem) {
    const QDir dir(QString::fromStdString(folder));
    return !dir.entryList({QString::fromStdString(stem) + '*'},
                          QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)
                .isEmpty();
}

}  // namespace kartovex
