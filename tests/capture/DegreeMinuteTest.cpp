#include <gtest/gtest.h>

#include <limits>

#include "capture/DegreeMinute.h"

namespace kartovex {
namespace {

struct Row {
    double degrees;
    const char* readOut;
};

TEST(DegreeMinute, WholeDegreesTimesHundredPlusRoundedMinutes) {
    const Row rows[] = {
        {110.5, "11030"},
        {110.123456, "11007.4074"},
        {39.9, "3954"},  // the minutes come out just below 54
        {25.999999, "2559.9999"},
        {-0.5, "-30"},
        {0.5, "30"},
        {-110.123456, "-11007.4074"},
        {-39.9, "-3954"},
        {110, "11000"},  // a text without "." is whole degrees
        {-110, "-11000"},
        {0, "0"},
        {179.99999, "17959.9994"},
    };
    for (const auto& r : rows) EXPECT_EQ(degreeMinute(r.degrees), r.readOut) << r.degrees;
}

TEST(DegreeMinute, MinutesThatRoundToSixtyCarryIntoTheDegrees) {
    const Row rows[] = {
        {25 + 59.99996 / 60, "2600"},
        {-(25 + 59.99996 / 60), "-2600"},
        {0.9999999, "100"},
        {-0.9999999, "-100"},
        {179 + 59.99997 / 60, "18000"},
        {25 + 59.99994 / 60, "2559.9999"},
    };
    for (const auto& r : rows) EXPECT_EQ(degreeMinute(r.degrees), r.readOut) << r.degrees;
}

TEST(DegreeMinute, CoordinatesNearZeroStayPlainDecimals) {
    const struct {
        double degrees;
        const char* text;
        const char* readOut;
    } rows[] = {
        {0.0000001, "0.0000001", "0"},
        {-0.0001, "-0.0001", "-0.006"},
        {1.5e-30, "0.0000000000000000000000000000015", "0"},
        {-2.5e-25, "-0.00000000000000000000000025", "0"},
        {1.5e20, "150000000000000000000", nullptr},
        {-1.25e16, "-12500000000000000", nullptr},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(decimalDegreesText(r.degrees), r.text) << r.degrees;
        if (r.readOut) {
            EXPECT_EQ(degreeMinute(r.degrees), r.readOut) << r.degrees;
        }
    }
}

TEST(DegreeMinute, DecimalTextIsTheGeneralFormForOrdinaryCoordinates) {
    EXPECT_EQ(decimalDegreesText(112.583333333333333), "112.583333333333");
    EXPECT_EQ(decimalDegreesText(-34.67), "-34.67");
    EXPECT_EQ(decimalDegreesText(110), "110");
}

TEST(DegreeMinute, NumbersThatAreNotCoordinatesDoNotCrash) {
    for (double v :
         {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
          -std::numeric_limits<double>::infinity(), std::numeric_limits<double>::max(),
          std::numeric_limits<double>::denorm_min()}) {
        EXPECT_FALSE(decimalDegreesText(v).empty());
        EXPECT_FALSE(degreeMinute(v).empty());
    }
}

}  // namespace
}  // namespace kartovex
