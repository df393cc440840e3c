#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "FakeCodePage936.h"
#include "georef/GstFile.h"
#include "georef/Step2Command.h"
#include "georef/TabFile.h"
#include "model/NumberText.h"
#include "model/RuntimeError.h"

namespace kartovex {
namespace {

class ScriptedChooser : public FileChooser {
public:
    std::optional<std::string> answer;
    std::string failure;
    std::vector<CommonDialog> shown;
    std::optional<std::string> showOpen(const CommonDialog& settings) override {
        shown.push_back(settings);
        if (!failure.empty()) throw std::runtime_error(failure);
        return answer;
    }
};

class FakeProbe : public PictureProbe {
public:
    int width = 1280, height = 1024;
    std::map<std::string, std::string> unreadable;  // path → reason
    std::vector<std::string> shown;
    void show(const std::string& path, Module1& module) override {
        shown.push_back(path);
        if (auto it = unreadable.find(path); it != unreadable.end())
            throw RuntimeError(error::InvalidPicture, it->second);
        module.strPicMaxX = text(static_cast<float>(width) - 1.0f);
        module.strPicMaxY = text(static_cast<float>(height) - 1.0f);
    }
};

// Files saved whole or not at all; a failing save leaves the earlier file as it was.
class FakeDisk : public FileSaver {
public:
    std::map<std::string, std::string> files;
    std::map<std::string, std::string> failing;  // path → the system's reason
    std::vector<std::string> saves;
    void save(const std::string& path, std::string_view bytes) override {
        saves.push_back(path);
        if (auto it = failing.find(path); it != failing.end())
            throw RuntimeError(error::PathFileAccess, it->second);
        files[path] = std::string(bytes);
    }
};

class RecordingMessages : public MessageBoxService {
public:
    std::vector<std::pair<std::string, std::string>> shown;  // text, title
    void information(const std::string& text, const std::string& title) override {
        shown.emplace_back(text, title);
    }
};

// The main window after a Step 1 that found the view full screen, with every service faked.
struct Scene {
    Scene() {
        form.setCaption("Label7", "YES");
        form.corners = {"112.5", "34.7",   "112.6", "34.71",  "112.61",
                        "34.6",  "112.51", "34.61", "112.55", "34.65"};
    }

    void run(const std::optional<std::string>& picked) {
        chooser.answer = picked;
        Step2Command(form, module, {chooser, probe, disk, codePage, messages}).run();
    }

    std::string onlyMessage() const {
        EXPECT_EQ(messages.shown.size(), 1u);
        if (messages.shown.empty()) return {};
        EXPECT_EQ(messages.shown[0].second, "Kartovex");
        return messages.shown[0].first;
    }

    MainWindowModel form;
    Module1 module;
    ScriptedChooser chooser;
    FakeProbe probe;
    FakeDisk disk;
    FakeCodePage936 codePage;
    RecordingMessages messages;
};

TEST(Step2, OnlyTheExactVerdictNoRefuses) {
    for (const char* verdict : {"NO", "no", "No", "YES", "", "NO "}) {
        Scene fresh;
        fresh.form.setCaption("Label7", verdict);
        fresh.run(std::nullopt);
        const bool refused = std::string(verdict) == "NO";
        EXPECT_EQ(fresh.chooser.shown.empty(), refused) << verdict;
        if (refused)
            EXPECT_EQ(
                fresh.messages.shown,
                (std::vector<std::pair<std::string, std::string>>{
                    {"GoogleEarth Not yet fullscreen\uFF01Get it fullscreen first!", "Kartovex"}}));
        else
            EXPECT_TRUE(fresh.messages.shown.empty()) << verdict;
        EXPECT_TRUE(fresh.probe.shown.empty());
        EXPECT_TRUE(fresh.disk.saves.empty());
    }
}

TEST(Step2, OpensTheDialogWithItsSettingsAndACancelEndsSilently) {
    Scene scene;
    scene.form.CmnDlg.FileName = "/maps/earlier.jpg";
    scene.form.CmnDlg.Filter = "All|*.*";
    scene.run(std::nullopt);
    ASSERT_EQ(scene.chooser.shown.size(), 1u);
    const CommonDialog& asked = scene.chooser.shown[0];
    EXPECT_EQ(asked.DialogTitle, "From JPG TO TAB and GST");
    EXPECT_TRUE(asked.CancelError);
    EXPECT_EQ(asked.FileName, "");
    EXPECT_EQ(asked.Filter, "JPG(*.jpg)|*.jpg");
    EXPECT_EQ(asked.FilterIndex, 2);
    EXPECT_TRUE(scene.probe.shown.empty());
    EXPECT_TRUE(scene.disk.saves.empty());
    EXPECT_TRUE(scene.messages.shown.empty());
}

TEST(Step2, ADialogThatFailsIsToldUnlikeACancel) {
    Scene scene;
    scene.chooser.failure = "no display";
    scene.run("/maps/area.jpg");
    EXPECT_EQ(scene.onlyMessage(),
              "The open-file dialog failed.\nno display\nNo file was written.");
    EXPECT_TRUE(scene.probe.shown.empty());
    EXPECT_TRUE(scene.disk.saves.empty());
}

TEST(Step2, WritesTheTableAndThenTheGeosetBesideThePicture) {
    Scene scene;
    scene.disk.files["/maps/area.tab"] = std::string(5000, 'x');
    scene.run("/maps/area.jpg");
    EXPECT_TRUE(scene.messages.shown.empty());
    EXPECT_EQ(scene.probe.shown, std::vector<std::string>{"/maps/area.jpg"});
    EXPECT_EQ(scene.disk.saves, (std::vector<std::string>{"/maps/area.tab", "/maps/area.gst"}));
    EXPECT_EQ(scene.disk.files["/maps/area.tab"],
              tabFileBytes("area.jpg", scene.form.corners, "1279", "1023"));
    EXPECT_EQ(scene.disk.files["/maps/area.gst"], gstFileBytes("area", "112.55", "34.65"));
    EXPECT_EQ(scene.form.folderPrefix, "/maps/");
    EXPECT_EQ(scene.form.bareName, "area");
    EXPECT_EQ(scene.module.strPicMaxX, "1279");
    EXPECT_EQ(scene.module.strPicMaxY, "1023");
}

TEST(Step2, NamesTheFilesAfterThePickedFileAndTheTableNamesIt) {
    struct Row {
        std::string picked, table, geoset;
        std::string imageInTable, nameInGeoset;
    };
    const Row rows[] = {
        {"C:\\maps\\area.jpg", "C:\\maps\\area.tab", "C:\\maps\\area.gst", "area.jpg", "area"},
        {"C:\\area.jpg", "C:\\area.tab", "C:\\area.gst", "area.jpg", "area"},
        {"C:\\maps/area.jpg", "C:\\maps/area.tab", "C:\\maps/area.gst", "area.jpg", "area"},
        {"/maps/area.old.jpg", "/maps/area.old.tab", "/maps/area.old.gst", "area.old.jpg",
         "area.old"},
        {"/maps/AREA.JPG", "/maps/AREA.tab", "/maps/AREA.gst", "AREA.JPG", "AREA"},
        {"/maps/area.bmp", "/maps/area.tab", "/maps/area.gst", "area.bmp", "area"},
        {"/maps/area", "/maps/area.tab", "/maps/area.gst", "area", "area"},
        {"/maps/\u5730\u56fe.jpg", "/maps/\u5730\u56fe.tab", "/maps/\u5730\u56fe.gst",
         "\xB5\xD8\xCD\xBC.jpg", "\xB5\xD8\xCD\xBC"},
    };
    for (const auto& r : rows) {
        Scene fresh;
        fresh.disk.files = {{"/maps/area.tab", "old table"}, {"/maps/area.gst", "old geoset"}};
        fresh.run(r.picked);
        EXPECT_TRUE(fresh.messages.shown.empty()) << r.picked;
        EXPECT_EQ(fresh.disk.saves, (std::vector<std::string>{r.table, r.geoset}));
        const std::string& table = fresh.disk.files[r.table];
        EXPECT_NE(table.find("  File \"" + r.imageInTable + "\"\r\n"), std::string::npos)
            << r.picked;
        const std::string& geoset = fresh.disk.files[r.geoset];
        EXPECT_NE(geoset.find("NAME\" = \"" + r.nameInGeoset + "\"\r\n"), std::string::npos);
        EXPECT_NE(geoset.find("FILE\" = \"" + r.nameInGeoset + ".tab\"\r\n"), std::string::npos);
        if (r.table != "/maps/area.tab") {
            EXPECT_EQ(fresh.disk.files["/maps/area.tab"], "old table") << r.picked;
            EXPECT_EQ(fresh.disk.files["/maps/area.gst"], "old geoset") << r.picked;
        }
    }
}

TEST(Step2, RefusesANameTheFilesCannotCarryAndWritesNothing) {
    const std::pair<std::string, std::string> rows[] = {
        {"/maps/.jpg",
         "The table and geoset cannot be named after the picked file.\n"
         "Refused file name: .jpg\n"
         "It leaves no name before its extension to name the table and geoset.\n"
         "No file was written."},
        {"/maps/a\"b.jpg", "It holds a double quote"},
        {"/maps/a\nb.jpg", "Refused file name: a?b.jpg\nIt holds a control character"},
        {"/maps/\u20ac.jpg", "code page 936"},
        {"/maps/a:b.jpg", "Refused file name: a:b.jpg\nIt holds a colon"},
        {"/maps/" + std::string(40000, 'a') + ".jpg",
         "The path of the picked file is too long to name the table and geoset after it.\n"
         "Overflow\nNo file was written."},
    };
    for (const auto& [picked, because] : rows) {
        Scene fresh;
        fresh.disk.files = {{"/maps/a.tab", "old table"}, {"/maps/a.gst", "old geoset"}};
        fresh.run(picked);
        const std::string text = fresh.onlyMessage();
        EXPECT_NE(text.find(because), std::string::npos) << text;
        EXPECT_TRUE(text.ends_with("\nNo file was written.")) << text;
        EXPECT_EQ(fresh.probe.shown.size(), 1u);
        EXPECT_TRUE(fresh.disk.saves.empty()) << picked.substr(0, 30);
        EXPECT_EQ(fresh.disk.files.size(), 2u);
    }
}

TEST(Step2, AnUnreadablePictureWritesNothingAndKeepsTheLastExtents) {
    Scene scene;
    scene.module = {"639", "479"};
    scene.probe.unreadable["/maps/missing.jpg"] = "Invalid picture (No such file or directory)";
    scene.run("/maps/missing.jpg");
    EXPECT_EQ(scene.onlyMessage(),
              "The picture could not be read: /maps/missing.jpg\n"
              "Invalid picture (No such file or directory)\n"
              "No file was written.");
    EXPECT_TRUE(scene.disk.saves.empty());
    EXPECT_EQ(scene.module.strPicMaxX, "639");
    EXPECT_EQ(scene.module.strPicMaxY, "479");

    // A path far beyond any real one is shown by its two ends.
    Scene longPath;
    const std::string picked = "/maps/" + std::string(40000, 'a') + "\u5730.jpg";
    longPath.probe.unreadable[picked] = "Invalid picture (File name too long)";
    longPath.run(picked);
    const std::string text = longPath.onlyMessage();
    EXPECT_LT(text.size(), 400u);
    EXPECT_NE(text.find("/maps/aaa"), std::string::npos);
    EXPECT_NE(text.find("aa\u2026aa"), std::string::npos) << text;
    EXPECT_NE(text.find("a\u5730.jpg\nInvalid picture"), std::string::npos) << text;
}

TEST(Step2, ADiskThatFillsPartWayLeavesEveryEarlierFileAndSaysWhatWasWritten) {
    struct Row {
        std::string failingPath;
        std::vector<std::string> attempted;
        std::string message;
    };
    const Row rows[] = {
        {"/maps/area.tab",
         {"/maps/area.tab"},
         "The table could not be written: /maps/area.tab\nNo space left on device\n"
         "No file was written."},
        {"/maps/area.gst",
         {"/maps/area.tab", "/maps/area.gst"},
         "The geoset could not be written: /maps/area.gst\nNo space left on device\n"
         "Written: /maps/area.tab"},
    };
    for (const auto& r : rows) {
        Scene fresh;
        fresh.disk.files = {{"/maps/area.tab", "old table"}, {"/maps/area.gst", "old geoset"}};
        fresh.disk.failing[r.failingPath] = "No space left on device";
        fresh.run("/maps/area.jpg");
        EXPECT_EQ(fresh.onlyMessage(), r.message);
        EXPECT_EQ(fresh.disk.saves, r.attempted);
        EXPECT_EQ(fresh.disk.files[r.failingPath].substr(0, 4), "old ");
        const bool tableWritten = r.failingPath == "/maps/area.gst";
        EXPECT_EQ(fresh.disk.files["/maps/area.tab"].starts_with("!table"), tableWritten);

        // Once there is room again, Step 2 works as ever.
        fresh.disk.failing.clear();
        fresh.messages.shown.clear();
        fresh.run("/maps/area.jpg");
        EXPECT_TRUE(fresh.messages.shown.empty());
        EXPECT_TRUE(fresh.disk.files["/maps/area.gst"].starts_with("!GEOSET"));
    }
}

TEST(Step2, ASecondPictureKeepsTheCornersOfTheLastStep1WithItsOwnExtents) {
    Scene scene;
    scene.run("/maps/first.jpg");
    scene.probe.width = 800;
    scene.probe.height = 601;
    scene.run("/maps/second.jpg");
    EXPECT_TRUE(scene.messages.shown.empty());
    EXPECT_EQ(scene.disk.files["/maps/second.tab"],
              tabFileBytes("second.jpg", scene.form.corners, "799", "600"));
    EXPECT_EQ(scene.module.strPicMaxX, "799");
}

}  // namespace
}  // namespace kartovex
