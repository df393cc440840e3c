#include <gtest/gtest.h>

#include "FakeAreaEarth.h"
#include "TemporaryFolder.h"
#include "capture/AreaCommand.h"
#include "georef/MosaicWriter.h"

namespace kartovex {
namespace {

using testing::FakeAreaEarth;

struct User : AreaUser, MosaicWriter, NoLog {
    bool continues = true;
    int continueQuestions = 0;
    std::optional<MosaicJob> mosaic;

    std::optional<int> chooseDetail(int detail, const std::function<AreaEstimate(int)>&) override {
        return detail;
    }
    bool continueEarlier(const AreaManifest&, const std::string&) override {
        ++continueQuestions;
        return continues;
    }
    bool progress(const AreaProgress&) override { return true; }
    GeoTiffOutcome write(const MosaicJob& job, const GeoTiffWriter::Progress&) override {
        mosaic = job;
        return {GeoTiffResult::Written, job.tifPath, "", {10, 59, 11, 60, 100, 100}, 0, ""};
    }
};

constexpr CameraInfo kUsersView{60, 10, 0, 30000, 30, 20};

// Google Earth closes half-way; the next Capture area continues and writes the mosaic of
// every view, each picture with its own grid, and leaves Google Earth at the user's view.
TEST(AreaCommand, ContinuesAfterGoogleEarthClosedAndEndsAtTheUsersView) {
    testing::TemporaryFolder folder;
    FakeAreaEarth earth;
    earth.camera = kUsersView;
    earth.flightsLeft = 5;  // the levelling, then four views
    User user;
    MainWindowModel form;
    const AreaRequest request{folder.path().string(), "area-1", 2};
    AreaResult result = runCaptureArea(request, form, {earth, earth, earth, user, user}, user);
    EXPECT_FALSE(result.written);
    EXPECT_NE(result.message.find("4 of "), std::string::npos) << result.message;

    FakeAreaEarth again;
    again.camera = kUsersView;
    again.files = earth.files;
    result = runCaptureArea({folder.path().string(), "area-2", 2}, form,
                            {again, again, again, user, user}, user);
    ASSERT_TRUE(result.written) << result.message;
    EXPECT_TRUE(result.complete);  // told without a click
    EXPECT_EQ(user.continueQuestions, 1);
    ASSERT_TRUE(user.mosaic);
    // The command joins names with "/", which Windows takes as well.
    const std::string base = folder.path().string() + "/";
    EXPECT_EQ(user.mosaic->tifPath, base + "area-1.tif");
    const auto manifest =
        AreaManifest::parse(again.files.at(base + "area-1.views/" + AreaManifest::kFileName));
    EXPECT_EQ(again.flights, static_cast<int>(manifest.plan.views.size()) - 4 + 1);
    ASSERT_EQ(user.mosaic->views.size(), manifest.plan.views.size());
    for (const MosaicView& v : user.mosaic->views) {
        const ControlPoint& centre = v.points[12];
        EXPECT_EQ(again.files.at(v.picturePath),
                  std::to_string(centre.latitude) + " " + std::to_string(centre.longitude));
    }
    EXPECT_EQ(again.camera.tilt, kUsersView.tilt);
    EXPECT_EQ(again.camera.azimuth, kUsersView.azimuth);
    EXPECT_EQ(again.camera.focusPointLongitude, kUsersView.focusPointLongitude);
}

}  // namespace
}  // namespace kartovex
