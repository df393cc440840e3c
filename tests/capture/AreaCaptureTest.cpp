#include <gtest/gtest.h>

#include <set>

#include "ErrorOf.h"
#include "FakeAreaEarth.h"
#include "capture/AreaCapture.h"

namespace kartovex {
namespace {

using testing::FakeAreaEarth;

constexpr const char* kFolder = "/area.views/";

struct Capture {
    FakeAreaEarth earth;
    AreaManifest manifest;
    AreaFolder folder{kFolder, earth};

    explicit Capture(int detail) {
        earth.camera = {60, 10, 0, 30000, 0, 0};
        manifest.plan = planArea(earth.grid(), earth.camera, detail, 48);
        earth.files[folder.manifestPath()] = manifest.text();
    }
    AreaOutcome run(const AreaProgressReport& progress = nullptr) {
        auto app = earth.connect();
        return captureViews(manifest, folder, *app, earth, earth, progress);
    }
    // What the disk holds: every view in the manifest, each picture showing its own grid's
    // centre.
    AreaManifest onDisk() {
        const AreaManifest m = AreaManifest::parse(earth.files.at(folder.manifestPath()));
        for (const TakenView& t : m.taken) {
            const GroundPoint& centre = t.grid.points[12];
            EXPECT_EQ(earth.files.at(kFolder + t.picture),
                      std::to_string(centre.latitude) + " " + std::to_string(centre.longitude))
                << t.picture;
        }
        return m;
    }
};

std::set<std::size_t> indices(const AreaManifest& m) {
    std::set<std::size_t> taken;
    for (const TakenView& t : m.taken) EXPECT_TRUE(taken.insert(t.index).second) << t.index;
    return taken;
}

// Whatever stops a capture, the disk holds exactly the views taken before it, and the next
// capture takes each remaining view once, each picture with its own grid.
TEST(AreaCapture, AStoppedCaptureKeepsItsViewsAndTheNextTakesTheRestOnce) {
    struct Case {
        const char* name;
        std::function<void(FakeAreaEarth&)> spoil;
        std::size_t keptViews;
        const char* says;
    } const cases[] = {
        {"Google Earth closed", [](FakeAreaEarth& e) { e.flightsLeft = 3; }, 3, "unavailable"},
        {"camera moved", [](FakeAreaEarth& e) { e.movedOnFlight = 2; }, 2, "camera was moved"},
        {"disk full", [](FakeAreaEarth& e) { e.savesLeft = 3; }, 1, "No space"},
        {"imagery never loads", [](FakeAreaEarth& e) { e.loading = 99; }, 0, "loading"},
        {"not full screen", [](FakeAreaEarth& e) { e.window.bottom = 1000; }, 0,
         "fills the screen"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        Capture c(3);
        k.spoil(c.earth);
        EXPECT_NE(testing::errorOf([&] { c.run(); }).description().find(k.says), std::string::npos);
        EXPECT_EQ(indices(c.onDisk()).size(), k.keptViews);

        FakeAreaEarth again;  // without a loading report, as the network link is
        again.loading.reset();
        again.files = c.earth.files;
        c.manifest = AreaManifest::parse(again.files.at(c.folder.manifestPath()));
        AreaFolder folder{kFolder, again};
        auto app = again.connect();
        ASSERT_EQ(captureViews(c.manifest, folder, *app, again, again, nullptr),
                  AreaOutcome::Complete);
        EXPECT_EQ(again.flights, static_cast<int>(c.manifest.plan.views.size() - k.keptViews));
        c.earth.files = again.files;
        EXPECT_EQ(indices(c.onDisk()).size(), c.manifest.plan.views.size());
    }
}

TEST(AreaCapture, ACancelInAnyPhaseKeepsTheViewsBefore) {
    for (const AreaPhase phase :
         {AreaPhase::Flying, AreaPhase::Loading, AreaPhase::Grabbing, AreaPhase::Keeping}) {
        Capture c(2);
        const auto cancelOnSecond = [&](const AreaProgress& p) {
            return !(p.view == 2 && p.phase == phase);
        };
        EXPECT_EQ(c.run(cancelOnSecond), AreaOutcome::Cancelled);
        EXPECT_EQ(indices(c.onDisk()), std::set<std::size_t>{0});
    }
}

}  // namespace
}  // namespace kartovex
