#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "FakeCodePage936.h"
#include "RecordingMessageBox.h"
#include "georef/GstFile.h"
#include "georef/KmlOverlay.h"
#include "georef/Step2Command.h"
#include "georef/TabFile.h"
#include "model/RuntimeError.h"

namespace kartovex {
namespace {

const std::string kNew = "written now", kPipe = "a pipe";

// The main window after a Step 1 that found a 1280 × 1024 view full screen, with every
// service faked: a picture of that size, a disk that saves a file whole or not at all, and
// a GeoTIFF writer that writes or fails as told.
struct Scene : FileChooser, PictureProbe, FileSaver, GeoTiffWriter, OutputRecord, NoticeService {
    Scene() {
        form.setCaption("Label7", "YES");
        form.corners = {"112.5", "34.7",   "112.6", "34.71",  "112.61",
                        "34.6",  "112.51", "34.61", "112.55", "34.65"};
        form.grid = {1280, 1024, {{-1, 1, 111, 35}, {1, -1, 113, 33}}};
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
        shownModule = pictureSize;
    }
    void save(const std::string& path, std::string_view bytes) override {
        saves.push_back(path);
        if (path == failingPath)
            throw RuntimeError(error::PathFileAccess, "No space left on device");
        files[path] = std::string(bytes);
    }
    bool exists(const std::string& path) override { return files.count(path) != 0; }
    bool isRegularFile(const std::string& path) override { return files[path] != kPipe; }
    std::optional<std::string> head(const std::string& p, std::size_t) override { return files[p]; }
    void remove(const std::string& path) override {
        if (path == failingPath) throw RuntimeError(error::PermissionDenied, "Permission denied");
        files.erase(path);
    }
    GeoTiffOutcome write(const GeoTiffJob& job, const Progress&) override {
        jobs.push_back(job);
        EXPECT_FALSE(exists(job.tifPath)) << "an older GeoTIFF is removed before the warp";
        if (job.tifPath == failingPath)
            throw RuntimeError(error::InvalidPicture, "The picture could not be read");
        if (geoTiffResult == GeoTiffResult::Cancelled) return {};
        GeoTiffOutcome done{GeoTiffResult::Written,
                            tifTakenAs.empty() ? job.tifPath : tifTakenAs,
                            job.kmzPath,
                            {111, 33, 113, 35, 2000, 1000},
                            0.2,
                            {}};
        files[done.tifPath] = kNew;
        if (!done.kmzPath.empty()) files[done.kmzPath] = kNew;
        return done;
    }
    void wrote(const std::string& path) override { recorded[path] = files[path]; }
    bool wroteIt(const std::string& path) override {
        return recorded.count(path) && files.count(path) && recorded[path] == files[path];
    }
    void removed(const std::string& path) override { recorded.erase(path); }
    void notice(const std::string& text, const std::string& folder) override {
        notices.push_back({text, folder});
    }

    void run(const std::optional<std::string>& path) {
        picked = path;
        Step2Command(form, module,
                     {*this, *this, *this, codePage, box, *this, *this, withWriter ? this : nullptr,
                      switchedOn})
            .run();
    }

    MainWindowModel form;
    Module1 module;
    FakeCodePage936 codePage;
    std::optional<std::string> picked;
    std::string dialogFailure;
    std::string failingPath;  // the one file that cannot be read, written or removed
    Module1 pictureSize{"1279", "1023"};
    bool withWriter = true, switchedOn = true;
    GeoTiffResult geoTiffResult = GeoTiffResult::Written;
    std::string tifTakenAs;  // the name a file took while the warp ran
    std::vector<GeoTiffJob> jobs;
    std::map<std::string, std::string> recorded;
    std::vector<testing::RecordingMessageBox::Message> notices;
    std::vector<CommonDialog> dialogs;
    std::vector<std::string> probed, saves;
    testing::RecordingMessageBox box;
    std::vector<testing::RecordingMessageBox::Message>& messages = box.shown;
    std::map<std::string, std::string> files;
};

using Texts = std::vector<std::string>;
using Messages = std::vector<testing::RecordingMessageBox::Message>;

TEST(Step2, OnlyTheExactVerdictNoRefusesAndACancelEndsSilently) {
    for (const char* verdict : {"NO", "no", "NO "}) {
        Scene scene;
        scene.form.setCaption("Label7", verdict);
        scene.form.CmnDlg.FileName = "/maps/earlier.jpg";
        scene.run(std::nullopt);
        const bool refused = std::string(verdict) == "NO";
        EXPECT_TRUE(scene.probed.empty() && scene.saves.empty()) << verdict;
        const Messages refusal{
            {"GoogleEarth Not yet fullscreen\uFF01Get it fullscreen first!", "Kartovex"}};
        EXPECT_EQ(scene.messages, refused ? refusal : Messages{}) << verdict;
        EXPECT_EQ(scene.dialogs.size(), refused ? 0u : 1u) << verdict;
    }
}

TEST(Step2, WritesTheTableThenTheGeosetNamedAfterThePickedFile) {
    struct Row {
        std::string picked, folder, bareName, imageInFiles, nameInFiles;
    };
    const Row rows[] = {
        {"C:\\maps\\area.jpg", "C:\\maps\\", "area", "area.jpg", "area"},
        {"C:\\maps/area.jpg", "C:\\maps/", "area", "area.jpg", "area"},
        {"/maps/AREA.JPG", "/maps/", "AREA", "AREA.JPG", "AREA"},
        {"/maps/area", "/maps/", "area", "area", "area"},
        {"/maps/\u5730\u56fe.jpg", "/maps/", "\u5730\u56fe", "\xB5\xD8\xCD\xBC.jpg",
         "\xB5\xD8\xCD\xBC"},
    };
    for (const auto& r : rows) {
        Scene scene;
        scene.run(r.picked);
        const std::string stem = r.folder + r.bareName, table = stem + ".tab";
        EXPECT_TRUE(scene.messages.empty()) << r.picked;
        EXPECT_EQ(scene.probed, Texts{r.picked});
        EXPECT_EQ(scene.saves, (Texts{table, stem + ".gst", stem + "_wgs84.tab"})) << r.picked;
        EXPECT_EQ(scene.files[table],
                  tabFileBytes(r.imageInFiles, scene.form.corners, "1279", "1023"))
            << r.picked;
        EXPECT_EQ(scene.files[stem + ".gst"], gstFileBytes(r.nameInFiles, "112.55", "34.65"))
            << r.picked;
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
    std::string longPath = "/map/", ends;  // ends: 38 characters, as each end is shown
    for (int i = 0; i < 20000; ++i) longPath += "\u5730";
    ends = longPath.substr(5, 38 * 3);
    longPath += ".jpg";
    const Row rows[] = {
        {"/maps/.jpg", "", 0,
         "The table and geoset cannot be named after the picked file.\nRefused file name: .jpg\n"
         "It leaves no name before its extension to name the table and geoset.\n"
         "No file was written."},
        {"/maps/a\"b.jpg", "", 0, "It holds a double quote, which would end the name"},
        {"/maps/a\nb.jpg", "", 0, "Refused file name: a?b.jpg\nIt holds a control character"},
        {"/maps/a\x7F.jpg", "", 0, "Refused file name: a?.jpg\nIt holds a control character"},
        {"/maps/a\u0085.jpg", "", 0, "Refused file name: a?.jpg\nIt holds a control character"},
        {"/maps/a\xFF.jpg", "", 0, "It is not UTF-8 text.\nNo file was written."},
        {"/maps/\u20ac.jpg", "", 0,
         "It holds the character \"\u20ac\", which the table's code page"},
        {"/maps/photo.TAB", "", 0, "photo.TAB\nIt is the name of a file Kartovex writes"},
        {"/maps/view.kmz", "", 0, "Refused file name: view.kmz\nIt is the name"},
        {"/maps/survey\\area.jpg", "", 0, "survey\\area.jpg\nIt holds a backslash"},
        {"/maps/a:b.jpg", "", 0, "Refused file name: a:b.jpg\nIt holds a colon"},
        {"/maps/" + std::string(40000, 'a') + ".jpg", "", 0, "is too long to name the table"},
        {"/maps/area.jpg", "dialog", 0, "The open-file dialog failed.\nno display\nNo file was"},
        {"/maps/missing.jpg", "/maps/missing.jpg", 0,
         "The picture could not be read: /maps/missing.jpg\n"
         "Invalid picture (No such file or directory)\nNo file was written."},
        // A path far beyond any real one is shown by its two ends, cut between characters.
        {longPath, longPath, 0, "read: /map/" + ends + "\u2026" + ends + ".jpg\nInvalid"},
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
        scene.dialogFailure = r.failing == "dialog" ? "no display" : "";
        scene.run(r.picked);
        const std::string name = r.picked.substr(0, 30);
        ASSERT_EQ(scene.messages.size(), 1u) << name;
        EXPECT_NE(scene.messages[0].text.find(r.says), std::string::npos) << scene.messages[0].text;
        EXPECT_EQ(scene.saves.size(), r.attempted) << name;
    }
}

// A picture of another shape than the 1280 x 1024 view is registered only on a Yes:
// 1280 x 1034 is 0.97 % taller, 1280 x 1035 1.06 %.
TEST(Step2, AsksBeforeRegisteringAPictureOfAnotherShapeThanTheView) {
    const std::string sizes = "1280 x 1035 pixels, but the view that Step 1 read is 1280 x 1024";
    const std::tuple<const char*, bool, std::size_t> rows[] = {
        {"1033", false, 3}, {"1034", false, 0}, {"1034", true, 3}};
    for (const auto& [lastRow, yes, saves] : rows) {
        Scene scene;
        scene.pictureSize.strPicMaxY = lastRow;
        scene.box.answer = yes;
        scene.run("/maps/area.jpg");
        EXPECT_EQ(scene.saves.size() + scene.messages.size(), saves) << lastRow;
        EXPECT_EQ(scene.box.asked.size(), std::string(lastRow) == "1034" ? 1u : 0u) << lastRow;
        EXPECT_TRUE(!yes || scene.box.asked.at(0).text.starts_with("The picture is " + sizes));
    }
}

// After the table and geoset: with a writer the GeoTIFF, its table and its .kmz; without
// one the .kml. Older ones of ours are removed; anyone else's, changed ones and pipes are
// left; every failure says what was written.
TEST(Step2, OutputsBeyondTheTableReplaceOnlyOurOwnUnchangedOlderOnes) {
    const std::string names[] = {"/maps/area.kml", "/maps/area_wgs84.tif", "/maps/area_wgs84.tab",
                                 "/maps/area.kmz"};
    struct Row {
        bool withWriter, switchedOn;
        std::string before;  // per name above: o ours, t theirs, c ours changed since, p pipe
        std::string failing;
        GeoTiffResult result;
        std::string after;  // per name: n new, o as before, - none
        std::string says;   // part of the one message; empty: none
    };
    const auto W = GeoTiffResult::Written, C = GeoTiffResult::Cancelled;
    const Row rows[] = {
        {true, true, "oooo", "", W, "-nnn", ""},
        {true, true, "-t--", "", W, "-o--", "did not write, or that changed since, is in the way"},
        {true, true, "---c", "", W, "-nno", "The Google Earth overlay was not written: /maps/area"},
        {true, true, "-p--", "", W, "-o--", "not a regular file (a folder, a pipe or a device)"},
        {true, true, "--o-", "/maps/area_wgs84.tab", W, "-non", "The older one, which no longer"},
        {true, true, "----", "/maps/area_wgs84.tif", W, "----",
         "The GeoTIFF could not be written: /maps/area_wgs84.tif\nThe picture could not be "
         "read\nWritten: /maps/area.tab\nWritten: /maps/area.gst"},
        {true, true, "oooo", "", C, "----", "The GeoTIFF was cancelled and not written: /maps"},
        {true, false, "oooo", "", W, "----", ""},
        {true, false, "tttt", "", W, "oooo", ""},
        {false, true, "-ooo", "", W, "n---", ""},
        {false, true, "c---", "", W, "o---", "The overlay was not written"},
        {true, false, "o---", "/maps/area.kml", W, "o---", "An older overlay, which no longer"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(&r - rows);
        Scene scene;
        scene.withWriter = r.withWriter;
        scene.switchedOn = r.switchedOn;
        for (int i = 0; i < 4; ++i) {
            if (r.before[i] == '-') continue;
            scene.files[names[i]] = r.before[i] == 'p' ? kPipe : "older";
            if (r.before[i] == 'o' || r.before[i] == 'c') scene.wrote(names[i]);
            if (r.before[i] == 'c') scene.files[names[i]] += ", changed";
        }
        scene.failingPath = r.failing;
        scene.geoTiffResult = r.result;
        scene.run("/maps/area.jpg");
        ASSERT_EQ(scene.messages.size(), r.says.empty() ? 0u : 1u);
        EXPECT_EQ(scene.notices.size(), r.says.empty() ? 1u : 0u);
        EXPECT_TRUE(r.says.empty() || scene.messages[0].text.find(r.says) != std::string::npos)
            << scene.messages[0].text;
        std::string after;
        for (const std::string& name : names)
            after += !scene.files.count(name)                                               ? '-'
                     : scene.files[name].starts_with("older") || scene.files[name] == kPipe ? 'o'
                                                                                            : 'n';
        EXPECT_EQ(after, r.after);
    }
}

// The GeoTIFF's table names the raster where it ended up; the notice names what was
// written, where, and how far off the JPG's table is at this range.
TEST(Step2, TheGeoTiffsTableFollowsTheRasterAndTheNoticeSaysWhatWasWritten) {
    Scene scene;
    scene.run("/maps/area.jpg");
    ASSERT_EQ(scene.notices.size(), 1u);
    EXPECT_EQ(scene.notices[0].title, "/maps/");
    EXPECT_TRUE(scene.notices[0].text.starts_with(
        "Written in /maps/: area.tab, area.gst, area_wgs84.tif, area_wgs84.tab, area.kmz\n"));
    const ControlPoint p = scene.jobs.at(0).points.at(1);  // pixel edges: the lower right
    EXPECT_EQ((std::vector<double>{p.pixel, p.line, p.longitude}),
              (std::vector<double>{1280, 1024, 113}));

    Scene taken;
    taken.tifTakenAs = "/maps/area_wgs84 (2).tif";
    taken.form.grid.points.clear();
    for (int i = 0; i < 25; ++i) {  // a view that bulges 23.5 px at its centre
        const double x = i % 5 / 2.0 - 1, y = 1 - i / 5 / 2.0;
        taken.form.grid.points.push_back(
            {x, y, 112 + 0.001 * x + (i == 12 ? 0.0235 / 640 : 0), 34 + 0.001 * y});
    }
    taken.run("/maps/area.jpg");
    EXPECT_NE(taken.files["/maps/area_wgs84.tab"].find("File \"area_wgs84 (2).tif\""),
              std::string::npos);
    ASSERT_EQ(taken.messages.size(), 1u);
    EXPECT_NE(taken.messages[0].text.find("The GeoTIFF was kept as /maps/area_wgs84 (2).tif\nA "
                                          "file took the name /maps/area_wgs84.tif while it"),
              std::string::npos);
    EXPECT_TRUE(taken.messages[0].text.ends_with(
        "\n\narea.tab is off by up to 23 px at this range; area_wgs84.tab is exact to 0.2 px"))
        << taken.messages[0].text;
}

TEST(Step2, TheOverlayLaysThePictureOnTheCornersAndNamesItAsAUrl) {
    const std::string kml =
        kmlOverlayBytes("\u5730 #1%.jpg", "\u5730 #1 <&>", Scene().form.corners);
    for (const char* piece :
         {"<href>%E5%9C%B0%20%231%25.jpg</href>", "<name>\u5730 #1 &lt;&amp;&gt;</name>",
          // counter-clockwise from the lower left
          "<coordinates>112.51,34.61 112.61,34.6 112.6,34.71 112.5,34.7</coordinates>"})
        EXPECT_NE(kml.find(piece), std::string::npos) << piece;
}

}  // namespace
}  // namespace kartovex
