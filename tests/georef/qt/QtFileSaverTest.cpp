#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "TemporaryFolder.h"
#include "georef/qt/QtFileSaver.h"
#include "model/RuntimeError.h"

#ifdef __linux__
#include <sys/stat.h>

#include "ScratchMount.h"
#endif

namespace kartovex {
namespace {

namespace fs = std::filesystem;
using testing::TemporaryFolder;
#ifdef __linux__
using testing::ScratchMount;
#endif
constexpr auto put = &TemporaryFolder::put;
constexpr auto contentOf = &TemporaryFolder::contentOf;
constexpr auto namesIn = &TemporaryFolder::namesIn;

// The system's reason for a failed save, or "" when it succeeded.
std::string reasonOfSaving(const fs::path& path, const std::string& bytes) {
    try {
        QtFileSaver().save(path.string(), bytes);
        return {};
    } catch (const RuntimeError& e) {
        return e.description();  // an empty reason reads as a success, and fails the case
    }
}

class QtFileSaverTest : public ::testing::Test {
protected:
    TemporaryFolder scratch;
    fs::path folder = scratch.path();
};

TEST_F(QtFileSaverTest, ReplacesAnOlderFileWholeAndAFailedSaveLeavesNothingBehind) {
    const std::string bytes = "!table\r\n\xB5\xD8\r\n";
    const std::string table = "\u5730\u56fe.tab";  // named as the file system names it
    put(folder / table, std::string(10000, 'x'));
    EXPECT_EQ(reasonOfSaving(folder / table, bytes), "");
    EXPECT_EQ(contentOf(folder / table), bytes);
    fs::create_directory(folder / "area.gst");
    EXPECT_NE(reasonOfSaving(folder / "area.gst", "x"), "");
    EXPECT_NE(reasonOfSaving(folder / "missing" / "area.tab", "x"), "");
    EXPECT_EQ(namesIn(folder), (std::set<std::string>{table, "area.gst"}));
}

#ifdef __linux__

// Opening a pipe would wait for a writer for good.
TEST_F(QtFileSaverTest, APipeIsNoRegularFileAndIsNeverOpened) {
    ASSERT_EQ(::mkfifo((folder / "area.kml").c_str(), 0600), 0);
    QtFileSaver saver;
    EXPECT_TRUE(saver.exists((folder / "area.kml").string()));
    EXPECT_FALSE(saver.isRegularFile((folder / "area.kml").string()));
    EXPECT_EQ(saver.head((folder / "area.kml").string(), 100), std::nullopt);
}

// With room for the table but not for the geoset: the geoset's save fails, and the
// earlier one stays whole.
TEST_F(QtFileSaverTest, ADiskThatFillsPartWayKeepsTheEarlierFile) {
    ScratchMount disk(folder / "disk", "size=64k");
    if (!disk.mounted()) GTEST_SKIP() << "no right to mount a tmpfs here";
    const fs::path maps = folder / "disk";
    put(maps / "area.gst", "old geoset");
    disk.fillLeavingOnePage();
    EXPECT_EQ(reasonOfSaving(maps / "area.tab", "table"), "");
    EXPECT_EQ(reasonOfSaving(maps / "area.gst", std::string(10000, 'g')),
              "No space left on device");
    EXPECT_EQ(contentOf(maps / "area.gst"), "old geoset");
    EXPECT_EQ(namesIn(maps), (std::set<std::string>{"area.gst", "area.tab", "filler"}));
}

#endif

}  // namespace
}  // namespace kartovex
