#include <gtest/gtest.h>

#include <QSettings>
#include <QTemporaryDir>

#include "app/CommandLine.h"
#include "app/GeoTiffSwitch.h"

namespace kartovex {
namespace {

// Run after run: an option holds until the opposite one; on when none was ever given.
TEST(GeoTiffSwitch, AnOptionIsRememberedUntilTheOppositeOne) {
    QTemporaryDir dir;
    const std::pair<QStringList, bool> runs[] = {
        {{}, true}, {{"--no-geotiff"}, false}, {{}, false}, {{"--geotiff"}, true}, {{}, true}};
    for (const auto& [options, on] : runs) {
        const CommandLine line = CommandLine::parse(QStringList{"kartovex"} + options);
        QSettings settings(dir.filePath("settings.ini"), QSettings::IniFormat);
        EXPECT_EQ(geoTiffSwitch(line.options.geoTiff, settings), on);
    }
}

}  // namespace
}  // namespace kartovex
