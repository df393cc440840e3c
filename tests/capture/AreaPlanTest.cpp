#include <gtest/gtest.h>

#include "ErrorOf.h"
#include "FakeAreaEarth.h"
#include "capture/AreaPlan.h"

namespace kartovex {
namespace {

using testing::FakeAreaEarth;

std::vector<GroundGrid> flyOver(FakeAreaEarth& earth, const AreaPlan& plan,
                                const std::vector<PlannedView>& views) {
    std::vector<GroundGrid> grids;
    for (const PlannedView& v : views) {
        earth.camera = {v.latitude, v.longitude, 0, plan.range, 0, 0};
        grids.push_back(earth.grid());
    }
    return grids;
}

TEST(AreaPlan, ViewsCoverTheAreaWithOverlapAtEveryLatitudeAndAGapIsFilled) {
    for (const double latitude : {0.0, 35.0, 60.0, 75.0})
        for (const double range : {2000.0, 100000.0, 1000000.0})
            for (const int detail : {1, 3, 8}) {
                SCOPED_TRACE(std::to_string(latitude) + " " + std::to_string(range) + " " +
                             std::to_string(detail));
                FakeAreaEarth earth;
                earth.camera = {latitude, 10, 0, range, 0, 0};
                const AreaPlan plan = planArea(earth.grid(), earth.camera, detail, 48);
                if (detail == 1) {
                    EXPECT_EQ(plan.views.size(), 1u);
                }
                const AreaEstimate e = estimate(plan);
                EXPECT_NEAR(e.mosaicWidth, detail * FakeAreaEarth::kWidth, 0.01 * e.mosaicWidth);
                EXPECT_NEAR(e.mosaicHeight, detail * FakeAreaEarth::kHeight, 0.01 * e.mosaicHeight);

                std::vector<GroundGrid> measured = flyOver(earth, plan, plan.views);
                EXPECT_TRUE(gapsToFill(plan, measured).empty());
                if (detail == 1) continue;
                measured.erase(measured.begin() + measured.size() / 2);
                const std::vector<PlannedView> fill = gapsToFill(plan, measured);
                ASSERT_FALSE(fill.empty());
                const std::vector<GroundGrid> filled = flyOver(earth, plan, fill);
                measured.insert(measured.end(), filled.begin(), filled.end());
                EXPECT_TRUE(gapsToFill(plan, measured).empty());
            }
}

TEST(AreaPlan, RefusesWhatOneMosaicInDegreesCannotHold) {
    struct Case {
        CameraInfo camera;
        int detail, margin;
        const char* says;
    } const cases[] = {
        {{89.5, 10, 0, 200000, 0, 0}, 2, 48, "North Pole"},
        {{-89.5, 10, 0, 200000, 0, 0}, 2, 48, "South Pole"},
        {{40, 179.9, 0, 50000, 0, 0}, 2, 48, "180th meridian"},
        {{40, -179.9, 0, 50000, 0, 0}, 2, 48, "180th meridian"},
        {{40, 10, 0, 5000, 0, 0}, 0, 48, "from 1 to 8"},
        {{40, 10, 0, 5000, 0, 0}, 9, 48, "from 1 to 8"},
        {{40, 10, 0, 5000, 0, 0}, 2, 300, "margin of 300 pixels"},
    };
    for (const Case& c : cases) {
        FakeAreaEarth earth;
        earth.camera = c.camera;
        const GroundGrid view = earth.grid();
        EXPECT_NE(testing::errorOf([&] { planArea(view, c.camera, c.detail, c.margin); })
                      .description()
                      .find(c.says),
                  std::string::npos)
            << c.says;
    }
}

}  // namespace
}  // namespace kartovex
