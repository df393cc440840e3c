#include <gtest/gtest.h>

#include <limits>

#include "capture/DegreeMinute.h"

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
        {-0.5, "-30"},
        {110, "11000"},  // a text without "." is whole degrees
        {0, "0"},
        // Minutes that round to sixty carry into the degrees.
        {25 + 59.99996 / 60, "2600"},
        {-(25 + 59.99996 / 60), "-2600"},
        {0.9999999, "100"},
        {25 + 59.99994 / 60, "2559.9999"},
        // Read from the text without an exponent, however small.
        {112.583333333333333, "11235"},
        {-0.0001, "-0.006"},
        {-2.5e-25, "0"},
    };
    for (const auto& r : rows) EXPECT_EQ(degreeMinute(r.degrees), r.readOut) << r.degrees;
}

// Numbers no coordinate has: the text that names them reads as 0, as Basic reads it.
TEST(DegreeMinute, NumbersThatAreNotCoordinates) {
    using limits = std::numeric_limits<double>;
    const struct {
        double degrees;
        const char* readOut;
    } rows[] = {
        {limits::quiet_NaN(), "0"},  {limits::infinity(), "0"}, {-limits::infinity(), "0"},
        {limits::max(), "Infinity"}, {1.5e20, "1.5E+22"},       {limits::denorm_min(), "0"},
    };
    for (const auto& r : rows) EXPECT_EQ(degreeMinute(r.degrees), r.readOut) << r.degrees;
}

}  // namespace
}  // namespace kartovex
