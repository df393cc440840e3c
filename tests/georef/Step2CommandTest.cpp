#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "FakeCodePage936.h"
#include "RecordingMessageBox.h"
#include "georef/GstFile.h"
#include "georef/Step2Command.h"
#include "georef/TabFile.h"
#include "model/RuntimeError.h"

namespace kartovex {
namespace {

std::string repeat(const std::string& s, std::size_t n) {
    std::string out;
    for (std::size_t i = 0; i < n; ++i) out += s;
    return out;
}

// The main window after a Step 1 that found the view full screen, with every service faked:
// a 1280 × 1024 picture, and a disk that saves a file whole or not at all.
struct Scene : FileChooser, PictureProbe, FileSaver {
    Scene() {
        form.setCaption("Label7", "YES");
        form.corners = {"112.5", "34.7",   "112.6", "34.71",  "112.61",
                        "34.6",  "112.51", "34.61", "112.55", "34.65"};
        files = {{"/maps/area.tab", "old table"}, {"/maps/area.gst", "old geoset"}};
    }

    std::optional<std::string> showOpen(const CommonDialog& settings) override {
        dialogs.push_back(settings);
        if (!dialogFailure.empty()) throw std::runtime_error(dialogFailure);
        return picked;
    }
    void show(const std::string& path, Module1& shownModule) override {
        probed.push_back(path);
        if (path == failingPath)
            throw RuntimeError(error::InvalidPicture,
                               "Invalid picture (No such file or directory)");
        shownModule = {"1279", "1023"};
    }
    void save(const std::string& path, std::string_view bytes) override {
        saves.push_back(path);
        if (path == failingPath)
            throw RuntimeError(error::PathFileAccess, "No space left on device");
        files[path] = std::string(bytes);
    }

    void run(const std::optional<std::string>& path) {
        picked = path;
        Step2Command(form, module, {*this, *this, *this, codePage, box}).run();
    }

    MainWindowModel form;
    Module1 module;
    FakeCodePage936 codePage;
    std::optional<std::string> picked;
    std::string dialogFailure;
    std::string failingPath;  // the one file that cannot be read or written
    std::vector<CommonDialog> dialogs;
    std::vector<std::string> probed, saves;
    testing::RecordingMessageBox box;
    std::vector<testing::RecordingMessageBox::Message>& messages = box.shown;
    std::map<std::string, std::string> files;
};

using Texts = std::vector<std::string>;
using Messages = std::vector<testing::RecordingMessageBox::Message>;

TEST(Step2, OnlyTheExactVerdictNoRefusesAndACancelEndsSilently) {
    for (const char* verdict : {"NO", "no", "YES", "", "NO "}) {
        Scene scene;
        scene.form.setCaption("Label7", verdict);
        scene.form.CmnDlg.FileName = "/maps/earlier.jpg";
        scene.run(std::nullopt);
        EXPECT_TRUE(scene.probed.empty() && scene.saves.empty()) << verdict;
        if (std::string(verdict) == "NO") {
            EXPECT_TRUE(scene.dialogs.empty());
            EXPECT_EQ(scene.messages,
                      (Messages{{"GoogleEarth Not yet fullscreen\uFF01Get it fullscreen first!",
                                 "Kartovex"}}));
            continue;
        }
        EXPECT_TRUE(scene.messages.empty()) << verdict;
        ASSERT_EQ(scene.dialogs.size(), 1u) << verdict;
        const CommonDialog& asked = scene.dialogs[0];
        EXPECT_EQ(asked.DialogTitle, "From JPG TO TAB and GST");
        EXPECT_TRUE(asked.CancelError);
        EXPECT_EQ(asked.FileName, "");
        EXPECT_EQ(asked.Filter, "JPG(*.jpg)|*.jpg");
        EXPECT_EQ(asked.FilterIndex, 2);
    }

    Scene failing;
    failing.dialogFailure = "no display";
    failing.run("/maps/area.jpg");
    EXPECT_EQ(
        failing.messages,
        (Messages{{"The open-file dialog failed.\nno display\nNo file was written.", "Kartovex"}}));
    EXPECT_TRUE(failing.probed.empty());
}

TEST(Step2, WritesTheTableThenTheGeosetNamedAfterThePickedFile) {
    struct Row {
        std::string picked, folder, bareName, imageInFiles, nameInFiles;
    };
    const Row rows[] = {
        {"C:\\maps\\area.jpg", "C:\\maps\\", "area", "area.jpg", "area"},
        {"C:\\maps/area.jpg", "C:\\maps/", "area", "area.jpg", "area"},
        {"/maps/AREA.JPG", "/maps/", "AREA", "AREA.JPG", "AREA"},
        {"/maps/area.bmp", "/maps/", "area", "area.bmp", "area"},
        {"/maps/area", "/maps/", "area", "area", "area"},
        {"/maps/\u5730\u56fe.jpg", "/maps/", "\u5730\u56fe", "\xB5\xD8\xCD\xBC.jpg",
         "\xB5\xD8\xCD\xBC"},
    };
    for (const auto& r : rows) {
        Scene scene;
        scene.run(r.picked);
        const std::string table = r.folder + r.bareName + ".tab";
        const std::string geoset = r.folder + r.bareName + ".gst";
        EXPECT_TRUE(scene.messages.empty()) << r.picked;
        EXPECT_EQ(scene.probed, Texts{r.picked});
        EXPECT_EQ(scene.saves, (Texts{table, geoset})) << r.picked;
        EXPECT_EQ(scene.files[table],
                  tabFileBytes(r.imageInFiles, scene.form.corners, "1279", "1023"))
            << r.picked;
        EXPECT_EQ(scene.files[geoset], gstFileBytes(r.nameInFiles, "112.55", "34.65")) << r.picked;
        if (table != "/maps/area.tab") {
            EXPECT_EQ(scene.files["/maps/area.tab"], "old table") << r.picked;
            EXPECT_EQ(scene.files["/maps/area.gst"], "old geoset") << r.picked;
        }
    }
}

// Every failure but a cancel ends with one message that says what failed and how it ends:
// which files were written, if any. No earlier file is lost.
TEST(Step2, EveryFailureSaysWhatFailedAndWhatWasWritten) {
    struct Row {
        std::string picked, failing;
        std::size_t attempted;  // saves, of the table and then the geoset
        std::string says;
    };
    const std::string map = "\u5730";
    const std::string longPath = "/map/" + repeat(map, 20000) + ".jpg";
    const Row rows[] = {
        {"/maps/.jpg", "", 0,
         "The table and geoset cannot be named after the picked file.\nRefused file name: .jpg\n"
         "It leaves no name before its extension to name the table and geoset.\n"
         "No file was written."},
        {"/maps/a\"b.jpg", "", 0,
         "It holds a double quote, which would end the name in the table early.\n"
         "No file was written."},
        {"/maps/a\nb.jpg", "", 0,
         "Refused file name: a?b.jpg\nIt holds a control character such as a line feed, "
         "which would break the table's lines.\nNo file was written."},
        {"/maps/a\x7F.jpg", "", 0,
         "Refused file name: a?.jpg\nIt holds a control character such as a line feed"},
        {"/maps/a\u0085.jpg", "", 0,
         "Refused file name: a?.jpg\nIt holds a control character such as a line feed"},
        {"/maps/a\xFF.jpg", "", 0, "It is not UTF-8 text.\nNo file was written."},
        {"/maps/\u20ac.jpg", "", 0,
         "It holds the character \"\u20ac\", which the table's code page 936 (Simplified "
         "Chinese) lacks.\nNo file was written."},
        {"/maps/photo.jpg.TAB", "", 0,
         "Refused file name: photo.jpg.TAB\nIt has the extension of the table or the geoset, so "
         "writing them would destroy the picture.\nNo file was written."},
        {"/maps/survey\\area.jpg", "", 0,
         "Refused file name: survey\\area.jpg\nIt holds a backslash, which MapInfo reads as a "
         "folder separator.\nNo file was written."},
        {"/maps/a:b.jpg", "", 0,
         "Refused file name: a:b.jpg\nIt holds a colon, which would name the files wrongly.\n"
         "No file was written."},
        {"/maps/" + std::string(40000, 'a') + ".jpg", "", 0,
         "The path of the picked file is too long to name the table and geoset after it.\n"
         "Overflow\nNo file was written."},
        {"/maps/missing.jpg", "/maps/missing.jpg", 0,
         "The picture could not be read: /maps/missing.jpg\n"
         "Invalid picture (No such file or directory)\nNo file was written."},
        // A path far beyond any real one is shown by its two ends, cut between characters.
        {longPath, longPath, 0,
         "The picture could not be read: /map/" + repeat(map, 38) + "\u2026" + repeat(map, 38) +
             ".jpg\nInvalid picture (No such file or directory)\nNo file was written."},
        {"/maps/area.jpg", "/maps/area.tab", 1,
         "The table could not be written: /maps/area.tab\nNo space left on device\n"
         "No file was written."},
        {"/maps/area.jpg", "/maps/area.gst", 2,
         "The geoset could not be written: /maps/area.gst\nNo space left on device\n"
         "Written: /maps/area.tab"},
    };
    for (const auto& r : rows) {
        Scene scene;
        scene.failingPath = r.failing;
        scene.run(r.picked);
        const std::string name = r.picked.substr(0, 30);
        ASSERT_EQ(scene.messages.size(), 1u) << name;
        EXPECT_EQ(scene.messages[0].title, "Kartovex") << name;
        EXPECT_NE(scene.messages[0].text.find(r.says), std::string::npos) << scene.messages[0].text;
        EXPECT_EQ(scene.saves.size(), r.attempted) << name;
        EXPECT_EQ(scene.files["/maps/area.gst"], "old geoset") << name;
    }
}

}  // namespace
}  // namespace kartovex
