#include <gtest/gtest.h>

#include "ErrorOf.h"
#include "FakeGoogleEarth.h"
#include "capture/AutomaticGoogleEarth.h"

namespace kartovex {
namespace {

using testing::FakeGoogleEarth;

// Each press asks the direct back end first; the link serves when it cannot connect, and
// the rest of that press (its render window) goes to the one that connected.
TEST(AutomaticGoogleEarth, EachPressTakesTheDirectBackEndWhenItAnswersElseTheLink) {
    FakeGoogleEarth direct, link;
    link.renderRect = WindowRect{0, 0, 1306, 782};
    AutomaticGoogleEarth earth(&direct, &link);
    const struct {
        bool directAnswers;
        std::int32_t right;
    } presses[] = {{true, 1280}, {false, 1306}, {true, 1280}};
    for (const auto& press : presses) {
        if (!press.directAnswers)
            direct.failOn("connect", 1, RuntimeError(error::CannotCreateObject, "not running"));
        WindowRect rect;
        EXPECT_TRUE(earth.getWindowRect(earth.connect()->GetRenderHwnd(), rect));
        EXPECT_EQ(rect.right, press.right);
        direct.failOn("none", 1, RuntimeError(0, ""));
    }

    AutomaticGoogleEarth linkOnly(nullptr, &link);
    linkOnly.connect();
    EXPECT_EQ(link.count("connect"), 2);
    link.failOn("connect", 1, RuntimeError(error::CannotCreateObject, "open the link file"));
    EXPECT_THROW(linkOnly.connect(), RuntimeError);

    // Neither answers: the report says how to reach either.
    direct.failOn("connect", 1, RuntimeError(error::CannotCreateObject, "start the simulator"));
    link.failOn("connect", 1, RuntimeError(error::CannotCreateObject, "open the link file"));
    EXPECT_EQ(testing::errorOf([&] { earth.connect(); }).description(),
              "open the link file\nstart the simulator");
}

}  // namespace
}  // namespace kartovex
