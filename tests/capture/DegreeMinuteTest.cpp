#include <gtest/gtest.h>

#include <limits>

#include "capture/DegreeMinute.h"
#include "model/NumberText.h"

namespace kartovex {
namespace {

TEST(DegreeMinute, WholeDegreesTimesHundredPlusRoundedMinutes) {
    const struct {
        double degrees;
        const char* readOut;
    } rows[] = {
        {110.5, "11030"},
        {110.123456, "11007.4074"},
        {39.9, "3954"},  // the minutes come out just below 54
        {25.999999, "2559.9999"},
        {-0.5, "-30"},
        {-110.123456, "-11007.4074"},
        {110, "11000"},  // a text without "." is whole degrees
        {0, "0"},
        // Minutes that round to sixty carry into the degrees.
        {25 + 59.99996 / 60, "2600"},
        {-(25 + 59.99996 / 60), "-2600"},
        {0.9999999, "100"},
        {25 + 59.99994 / 60, "2559.9999"},
    };
    for (const auto& r : rows) EXPECT_EQ(degreeMinute(r.degrees), r.readOut) << r.degrees;
}

TEST(DegreeMinute, DecimalTextIsTheGeneralFormWithoutAnExponent) {
    const struct {
        double degrees;
        const char* text;
        const char* readOut;  // none: too large to read out
    } rows[] = {
        {112.583333333333333, "112.583333333333", "11235"},
        {0.0000001, "0.0000001", "0"},
        {-0.0001, "-0.0001", "-0.006"},
        {1.5e-30, "0.0000000000000000000000000000015", "0"},
        {-2.5e-25, "-0.00000000000000000000000025", "0"},
        {1.5e20, "150000000000000000000", nullptr},
        {-1.25e16, "-12500000000000000", nullptr},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(plainText(r.degrees), r.text) << r.degrees;
        if (r.readOut) {
            EXPECT_EQ(degreeMinute(r.degrees), r.readOut) << r.degrees;
        }
    }
}

TEST(DegreeMinute, NumbersThatAreNotCoordinatesDoNotCrash) {
    using limits = std::numeric_limits<double>;
    for (double v : {limits::quiet_NaN(), limits::infinity(), -limits::infinity(), limits::max(),
                     limits::denorm_min()}) {
        EXPECT_FALSE(plainText(v).empty());
        EXPECT_FALSE(degreeMinute(v).empty());
    }
}

}  // namespace
}  // namespace kartovex
