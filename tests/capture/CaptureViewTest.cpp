#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "../georef/FakeCodePage936.h"
#include "FakeGoogleEarth.h"
#include "capture/CaptureView.h"
#include "georef/TabFile.h"

// Named, as the test program compiles all its files as one.
namespace kartovex::view_capture_test {
namespace {

using testing::FakeGoogleEarth;

const std::string kFolder = "/captures/";
const std::string kName = "view_2026-12-07_10-15-30";

// A capture against a fake Google Earth whose view fills a 1280 x 1024 screen, a screen
// that shows a picture of any rectangle asked for, and a folder that keeps files in memory.
struct Capture : ViewGrabber, JpegWriter, CaptureFolder, FileSaver, OutputRecord {
    Picture grab(const ScreenRect& rect) override {
        grabs.push_back(rect);
        percentageReadsAtGrab = ge.count("StreamingProgressPercentage");
        if (duringGrab) duringGrab();
        Picture p{static_cast<std::int32_t>(rect.width), static_cast<std::int32_t>(rect.height),
                  std::vector<std::uint32_t>(rect.width * rect.height, 0xff336699u)};
        if (!flat) p.pixels[rect.width + 1] = 0xffffffffu;
        if (grabs.size() <= changing) p.pixels[0] = static_cast<std::uint32_t>(grabs.size());
        return p;
    }
    void write(const std::string& path, const Picture& p, int quality) override {
        save(path, "JPG " + std::to_string(p.width) + "x" + std::to_string(p.height) + " q" +
                       std::to_string(quality));
    }
    std::string prepare() override {
        if (!folderFailure.empty()) throw RuntimeError(error::PermissionDenied, folderFailure);
        return kFolder;
    }
    bool holdsNameStartingWith(const std::string& folder, const std::string& stem) override {
        for (const auto& [path, bytes] : files)
            if (path.starts_with(folder + stem)) return true;
        return false;
    }
    void save(const std::string& path, std::string_view bytes) override {
        if (path == failingPath) throw RuntimeError(error::PathFileAccess, "No space left");
        files[path] = std::string(bytes);
    }
    bool exists(const std::string& path) override { return files.count(path) != 0; }
    bool isRegularFile(const std::string& path) override { return exists(path); }
    std::optional<std::string> head(const std::string&, std::size_t) override { return {}; }
    void remove(const std::string& path) override { files.erase(path); }
    void wrote(const std::string&) override {}
    bool wroteIt(const std::string&) override { return false; }
    void removed(const std::string&) override {}

    bool run() {
        return captureView(
            form,
            {ge, ge, *this, *this, *this, {*this, codePage, *this, nullptr, false}, messages, {}},
            "2026-12-07_10-15-30");
    }
    std::string shown() const { return messages.shown.empty() ? "" : messages.shown.back().text; }

    FakeGoogleEarth ge;
    MainWindowModel form;
    FakeCodePage936 codePage;
    testing::RecordingMessageBox messages;
    std::map<std::string, std::string> files;
    std::vector<ScreenRect> grabs;
    std::function<void()> duringGrab;
    int percentageReadsAtGrab = 0;
    bool flat = false;
    std::size_t changing = 0;  // how many grabs differ from the one before
    std::string folderFailure, failingPath;
};

// Registered by this press's own corners, never by those an earlier press left, and
// written under a name no file in the folder starts with.
TEST(CaptureView, WritesTheGrabOfThisPressBesideItsStep2FilesUnderAFreeName) {
    Capture c;
    c.form.corners.strZuoshangLong = "1";  // left by a press over another view
    c.files[kFolder + kName + ".jpg"] = "the user's";
    c.ge.renderRect = WindowRect{0, 60, 1280, 1024};
    c.ge.loading = {40, 100};
    ASSERT_TRUE(c.run()) << c.shown();

    ASSERT_EQ(c.grabs.size(), 1u);
    EXPECT_EQ(std::vector({c.grabs[0].left, c.grabs[0].top, c.grabs[0].width, c.grabs[0].height}),
              std::vector<std::int64_t>({0, 60, 1280, 964}));
    // 40, then 100 held for a quarter of a second at 50 ms a read.
    EXPECT_EQ(c.percentageReadsAtGrab, 7);
    const std::string stem = kFolder + kName + "_2";
    EXPECT_EQ(c.shown(), "The view was captured.\nWritten: " + stem + ".jpg\nWritten: " + stem +
                             ".tab\nWritten: " + stem + ".gst");
    EXPECT_EQ(c.files[kFolder + kName + ".jpg"], "the user's");
    EXPECT_EQ(c.files[stem + ".jpg"], "JPG 1280x964 q95");
    EXPECT_EQ(c.files[stem + ".tab"],
              tabFileBytes(kName + "_2.jpg", c.form.corners, "1279", "963"));

    // Without a loading report (the network link) it grabs until the screen stops changing.
    c.ge.loading.clear(), c.grabs.clear(), c.changing = 3;
    ASSERT_TRUE(c.run());
    EXPECT_EQ(c.grabs.size(), 5u);
}

TEST(CaptureView, RefusesOrStopsWithAMessageSayingWhatWasNotWritten) {
    const struct Case {
        const char* name;
        std::function<void(Capture&)> arrange;
        std::string message;  // a part of the last message shown
        std::size_t grabs, files;
    } cases[] = {
        {"not full screen",
         [](Capture& c) {
             c.ge.renderRect = WindowRect{0, 0, 1280, 994};
         },
         "GoogleEarth Not yet fullscreen！Get it fullscreen first!", 0, 0},
        {"folder unusable", [](Capture& c) { c.folderFailure = "Permission denied"; },
         "The capture folder cannot be used.\nPermission denied\nNo file was written.", 0, 0},
        {"flat grab", [](Capture& c) { c.flat = true; }, "one flat colour", 1, 0},
        {"imagery never loads",
         [](Capture& c) {
             c.ge.loading = {100, 50};
         },
         "did not finish loading within 30 seconds (last at 50 %)", 0, 0},
        {"camera moved", [](Capture& c) { c.duringGrab = [&c] { c.ge.camera.range *= 2; }; },
         "camera moved during the capture", 2, 0},
        {"picture not written", [](Capture& c) { c.failingPath = kFolder + kName + ".jpg"; },
         kName + ".jpg\nNo space left\nNo file was written.", 2, 0},
        // Step 1 tells of its own failure.
        {"Step 1 fails",
         [](Capture& c) {
             c.ge.failOn("connect", 1, RuntimeError(error::CannotCreateObject, "not running"));
         },
         "", 0, 0},
        {"table not written", [](Capture& c) { c.failingPath = kFolder + kName + ".tab"; },
         "No space left\nWritten: " + kFolder + kName + ".jpg", 2, 1},
    };
    for (const Case& row : cases) {
        Capture c;
        row.arrange(c);
        EXPECT_FALSE(c.run()) << row.name;
        EXPECT_NE(c.shown().find(row.message), std::string::npos) << row.name << ": " << c.shown();
        EXPECT_EQ(c.grabs.size(), row.grabs) << row.name;
        EXPECT_EQ(c.files.size(), row.files) << row.name;
    }
}

}  // namespace
}  // namespace kartovex::view_capture_test
