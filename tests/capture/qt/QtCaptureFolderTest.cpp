#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "ErrorOf.h"
#include "capture/qt/QtCaptureFolder.h"

namespace kartovex {
namespace {

// The folder chosen once is the one of every later run; it is made when missing, and
// refused with the reason when a file stands in its place.
TEST(QtCaptureFolder, RemembersTheChosenFolderAndMakesItOrSaysWhyNot) {
    QTemporaryDir temporary;
    const QString root = temporary.path();
    QSettings settings(root + "/settings.ini", QSettings::IniFormat);
    QtCaptureFolder(settings).choose(root + "/maps/captures");
    QtCaptureFolder folder(settings);
    const std::string prepared = folder.prepare();
    EXPECT_EQ(prepared, (root + "/maps/captures/").toStdString());
    EXPECT_TRUE(QDir(root + "/maps/captures").exists());

    EXPECT_FALSE(folder.holdsNameStartingWith(prepared, "view_1"));
    QFile(root + "/maps/captures/view_1_2.tab").open(QIODevice::WriteOnly);
    EXPECT_TRUE(folder.holdsNameStartingWith(prepared, "view_1"));

    QtCaptureFolder onAFile((root + "/maps/captures/view_1_2.tab"));
    const RuntimeError e = testing::errorOf([&] { onAFile.prepare(); });
    EXPECT_NE(e.description().find("is a file, not a folder"), std::string::npos);
}

}  // namespace
}  // namespace kartovex
