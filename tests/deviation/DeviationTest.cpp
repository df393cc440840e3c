#include <gtest/gtest.h>

#include "deviation/Deviation.h"

namespace kartovex {
namespace {

struct Row {
    const char* readOut;
    const char* input;
    const char* expected;
};

TEST(Deviation, MetresBetweenDegreeMinuteValues) {
    const Row rows[] = {
        {"", "", "0.00 m"},
        {"11030.5", "11030.4", "185.00 m"},
        {"11030.4", "11030.5", "185.00 m"},
        {"11030.5", "11030", "925.00 m"},
        {"", "11030.5", "12266425.00 m"},
        {"11030.4", "110 30.4", "0.00 m"},
        {"-30", "-29.9", "185.00 m"},
        // Across a whole degree: minutes of arc, not the digits' difference.
        {"11059.9", "11100.1", "370.00 m"},
        {"-11059.9", "-11100.1", "370.00 m"},
        // Beyond the double range: a short text.
        {"11030.5", "1E400", "out of range"},
        {"1E308", "-1E308", "out of range"},
    };
    for (const auto& r : rows)
        EXPECT_EQ(northSouthDeviation(r.readOut, r.input), r.expected)
            << r.readOut << " / " << r.input;
}

TEST(Deviation, AMinuteOfLongitudeShrinksWithTheCosineOfTheMapInfoLatitude) {
    for (const Row& r : {Row{"", "", "185.00 m"}, Row{"", "0", "185.00 m"},
                         Row{"", "3500", "151.54 m"}, Row{"", "6500", "78.18 m"}})
        EXPECT_EQ(eastWestDeviation("11030.5", "11030.4", r.input), r.expected) << r.input;
}

TEST(Deviation, EachButtonWritesItsOwnCornerOnly) {
    MainWindowModel form;
    form.setCaption("zuoshanglong", "11030.5");
    form.setCaption("zuoshanglat", "3954");
    form.setText("Text1", "11030.4");
    form.setText("Text2", "3954.2");
    form.setCaption("youxiapianchax", "kept");
    calculateUpperLeft(form);
    EXPECT_EQ(form.caption("zuoshangpianchax"), "141.92 m");  // at 39° 54.2′ N
    EXPECT_EQ(form.caption("zuoshangpianchay"), "370.00 m");
    EXPECT_EQ(form.caption("youxiapianchax"), "kept");

    calculateLowerRight(form);
    EXPECT_EQ(form.caption("youxiapianchax"), "0.00 m");
    EXPECT_EQ(form.caption("youxiapianchay"), "0.00 m");
    EXPECT_EQ(form.caption("zuoshangpianchax"), "141.92 m");
}

}  // namespace
}  // namespace kartovex
