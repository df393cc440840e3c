#include <gtest/gtest.h>

#include "Graticule.h"

namespace earthsim {
namespace {

TEST(Graticule, StepKeepsLinesAtLeastTheWantedPixelsApart) {
    const struct {
        double degreesPerPixel, step;
    } cases[] = {
        {1.0, 30.0},          // the coarsest step even when lines come closer
        {0.006, 1.0},         // 0.96 degrees wanted
        {0.001, 10.0 / 60},   // 0.16 degrees wanted: 10 minutes
        {1e-5, 10.0 / 3600},  // 5.76 seconds wanted: 10 seconds
        {1e-9, 1.0 / 3600},   // the finest step
    };
    for (const auto& c : cases) {
        EXPECT_NEAR(graticuleStep(c.degreesPerPixel), c.step, 1e-12) << c.degreesPerPixel;
    }
}

TEST(Graticule, LabelsShowDegreesMinutesAndSecondsAsFineAsTheStep) {
    const struct {
        bool latitude;
        double value, step;
        const char* text;
    } cases[] = {
        {true, 34.0 + 40.0 / 60, 1.0 / 60, "34\u00b040'N"},
        {true, 35.0, 1.0, "35\u00b0N"},
        {true, -0.5, 0.5, "0\u00b030'S"},
        {true, 0.0, 10.0, "0\u00b0"},
        {true, 34.67, 10.0 / 3600, "34\u00b040'12\"N"},
        {false, -112.25, 1.0 / 60, "112\u00b015'W"},
        {false, 112.5, 0.5, "112\u00b030'E"},
        {false, -180.0, 10.0, "180\u00b0"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.latitude ? latitudeLabel(c.value, c.step) : longitudeLabel(c.value, c.step),
                  c.text);
    }
}

}  // namespace
}  // namespace earthsim
