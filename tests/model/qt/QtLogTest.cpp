#include <gtest/gtest.h>

#include <QFile>
#include <QLoggingCategory>
#include <QTemporaryDir>

#include "model/qt/QtLog.h"

namespace kartovex {
namespace {

void writeOneOfEach() {
    QtLog log;
    log.write(LogArea::Capture, "Step 1 failed with error 440: 地图");
    log.write(LogArea::Georef, "Written: area.tab 12 bytes");
    log.write(LogArea::Link, "Listening");
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
    EXPECT_TRUE(lines[1].endsWith(QStringLiteral(" kartovex.georef: Written: area.tab 12 bytes")));
    EXPECT_TRUE(lines[2].endsWith(QStringLiteral(" kartovex.link: Listening")));
}

}  // namespace
}  // namespace kartovex
