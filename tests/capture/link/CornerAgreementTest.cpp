#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "ViewQuery.h"
#include "capture/link/ReportedView.h"

namespace kartovex {
namespace {

// How far, in pixels of the simulator's view, the ground that the link computes for a
// screen point lies from that screen point, the worst of the corners, the centre and
// points between them.
double worstPixels(const earthsim::Camera& camera) {
    const earthsim::ViewGeometry view(camera, 1280, 1024);
    std::string error;
    const auto request = parseLinkRequest(
        "key=k&" + earthsim::viewQuery(std::string(linkViewFormat()), view), error);
    EXPECT_TRUE(request) << error;
    if (!request) return 1e9;
    const ReportedView reported(request->view);
    double worst = 0;
    for (const double x : {-1.0, -0.5, 0.0, 0.5, 1.0}) {
        for (const double y : {-1.0, -0.5, 0.0, 0.5, 1.0}) {
            const PointOnTerrain p = reported.pointOnTerrain(x, y);
            double sx = 0, sy = 0;
            if (!view.project(earthsim::pointAt(p.latitude, p.longitude, 0), sx, sy)) return 1e9;
            worst = std::max(worst,
                             std::hypot((sx - x) * view.width() / 2, (sy - y) * view.height() / 2));
        }
    }
    return worst;
}

TEST(CornerAgreement, LinkCornersLieWithinHalfAPixelOfTheSimulatorsGround) {
    for (const double range : {200, 2000, 20000, 200000, 500000}) {
        for (const double latitude : {0.0, 15.0, 30.0, 45.0, 60.0, 75.0})
            EXPECT_LE(worstPixels({latitude, 112.58, 0, range, 0, 0}), 0.5)
                << range << " m at " << latitude;
    }
    EXPECT_LE(worstPixels({45.0, -70.6, 0, 20000, 40, -65}), 0.5) << "tilted and turned";
}

}  // namespace
}  // namespace kartovex
