#include "QtLog.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <mutex>

Q_LOGGING_CATEGORY(captureLog, "kartovex.capture", QtWarningMsg)
Q_LOGGING_CATEGORY(georefLog, "kartovex.georef", QtWarningMsg)
Q_LOGGING_CATEGORY(linkLog, "kartovex.link", QtWarningMsg)

namespace kartovex {
namespace {

using Category = const QLoggingCategory& (*)();

Category categoryOf(LogArea area) {
    switch (area) {
        case LogArea::Capture:
            return captureLog;
        case LogArea::Georef:
            return georefLog;
        case LogArea::Link:
            break;
    }
    return linkLog;
}

// A message handler is a plain function, so the file and the handler it passes messages
// on to live here. The file opens with the first message, so a run without any leaves none.
// The window's thread and the link server's both log: one line at a time into the file.
QFile* logFile = nullptr;
QtMessageHandler consoleHandler = nullptr;
std::mutex logFileLock;

void writeToFileToo(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (consoleHandler) consoleHandler(type, context, message);
    const std::lock_guard lock(logFileLock);
    if (!logFile->isOpen()) {
        QDir().mkpath(QFileInfo(*logFile).absolutePath());
        if (!logFile->open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text)) return;
    }
    const QString line =
        QStringLiteral("%1 %2: %3\n")
            .arg(QDateTime::currentDateTime().toString(Qt::ISODateWithMs),
                 QLatin1String(context.category ? context.category : "default"), message);
    logFile->write(line.toUtf8());
    logFile->flush();
}

}  // namespace

void QtLog::write(LogArea area, const std::string& line) {
    const Category category = categoryOf(area);
    qCInfo(category).noquote() << QString::fromStdString(line);
}

void alsoLogTo(const QString& path) {
    if (logFile) return;
    logFile = new QFile(path);  // kept to the program's end, as the handler is
    consoleHandler = qInstallMessageHandler(writeToFileToo);
}

}  // namespace kartovex
