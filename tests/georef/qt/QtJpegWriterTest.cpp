#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>

#include "ErrorOf.h"
#include "georef/qt/QtJpegWriter.h"

namespace kartovex {
namespace {

// A JPG others can read, or the reason it was not written; an existing file of the name
// is never replaced, and nothing temporary stays behind.
TEST(QtJpegWriter, WritesANewJpgNeverOverAnExistingFile) {
    QTemporaryDir folder;
    Picture picture{64, 48, std::vector<std::uint32_t>(64 * 48, 0xff204060u)};
    const QString path = folder.filePath("view.jpg");
    QtJpegWriter writer;
    writer.write(path.toStdString(), picture, 95);
    QImageReader reader(path);
    EXPECT_EQ(reader.format(), "jpeg");
    EXPECT_EQ(reader.size(), QSize(64, 48));
    EXPECT_TRUE(QFile::permissions(path) & QFileDevice::ReadOther);

    QFile(path).resize(3);
    EXPECT_EQ(testing::errorOf([&] { writer.write(path.toStdString(), picture, 95); }).number(),
              error::PathFileAccess);
    EXPECT_EQ(QFileInfo(path).size(), 3);
    const RuntimeError missing = testing::errorOf([&] {
        writer.write(folder.filePath("no/such/folder/view.jpg").toStdString(), picture, 95);
    });
    EXPECT_FALSE(missing.description().empty());
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"view.jpg"});
}

}  // namespace
}  // namespace kartovex
