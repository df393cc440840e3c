#include <gtest/gtest.h>

#include <QFile>
#include <QLoggingCategory>
#include <QStringList>
#include <QTemporaryDir>

#include "model/qt/QtLog.h"

namespace kartovex {
namespace {

QStringList seen;

void keep(QtMsgType, const QMessageLogContext& context, const QString& message) {
    seen << QStringLiteral("%1: %2").arg(QLatin1String(context.category), message);
}

void writeOneOfEach() {
    QtLog log;
    log.write(LogArea::Capture, "Step 1 failed with error 440: 地图");
    log.write(LogArea::Georef, "Written: area.tab 12 bytes");
    log.write(LogArea::Link, "Listening");
}

TEST(QtLog, IsOffUntilTurnedOnThenEachAreaHasItsCategory) {
    seen.clear();
    const QtMessageHandler before = qInstallMessageHandler(keep);
    writeOneOfEach();
    EXPECT_EQ(seen, QStringList());
    QLoggingCategory::setFilterRules(QStringLiteral("kartovex.*=true"));
    writeOneOfEach();
    qInstallMessageHandler(before);
    EXPECT_EQ(seen,
              (QStringList{QStringLiteral("kartovex.capture: Step 1 failed with error 440: 地图"),
                           QStringLiteral("kartovex.georef: Written: area.tab 12 bytes"),
                           QStringLiteral("kartovex.link: Listening")}));
}

// Where no console shows the log: the file and its folder appear with the first line.
TEST(QtLog, AlsoGoesToAFileMadeWithItsFolderAtTheFirstLine) {
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/AppData/Kartovex/kartovex.log");
    alsoLogTo(path);
    writeOneOfEach();
    EXPECT_FALSE(QFile::exists(path)) << "written while the log is off";

    QLoggingCategory::setFilterRules(QStringLiteral("kartovex.*=true"));
    writeOneOfEach();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 4) << lines.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(
        lines[0].endsWith(QStringLiteral(" kartovex.capture: Step 1 failed with error 440: 地图")));
    EXPECT_TRUE(lines[2].endsWith(QStringLiteral(" kartovex.link: Listening")));
}

}  // namespace
}  // namespace kartovex
