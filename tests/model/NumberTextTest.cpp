#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>
#include <utility>

#include "model/NumberText.h"

namespace kartovex {
namespace {

TEST(NumberText, DoubleTextCarries15SignificantDigitsWithoutExponent) {
    // Values beyond every coordinate use the exponent form.
    const std::pair<double, const char*> cases[] = {
        {0, "0"},
        {-0.5, "-0.5"},
        {34.70621948336123456, "34.7062194833612"},
        {1e-5, "0.00001"},
        {123456789012345.0, "123456789012345"},
        {184.99999999999, "184.99999999999"},
        {1e15, "1E+15"},
        {-2.5e300, "-2.5E+300"},
        {1e-30, "1E-30"},
        {std::numeric_limits<double>::infinity(), "Infinity"}};
    for (const auto& [x, expected] : cases) EXPECT_EQ(text(x), expected) << x;
}

TEST(NumberText, SingleTextCarries7SignificantDigits) {
    EXPECT_EQ(text(1022.2f), "1022.2");
    EXPECT_EQ(text(1.0f / 3.0f), "0.3333333");
    EXPECT_EQ(text(19200.0f / 15.0f - 1.0f), "1279");
}

constexpr double kInfinity = std::numeric_limits<double>::infinity();

struct ValueCase {
    const char* t;
    double expected;
};

TEST(NumberValue, ReadsTheLeadingNumber) {
    // Beyond the double range: infinite.
    const ValueCase cases[] = {{".", 0},
                               {"  -12.5", -12.5},
                               {".5", 0.5},
                               {"110 30.4", 11030.4},
                               {"1\t2\n3", 123},
                               {"- 5", -5},
                               {"11030,4", 11030},
                               {"2.5E-2", 0.025},
                               {"1 E 2", 100},
                               {"1E", 1},
                               {"--5", 0},
                               {"N-S DIS: 27.75 km", 0},
                               {"1E-400", 0},
                               {"\r5", 0},
                               {"1E400", kInfinity},
                               {"-1E400", -kInfinity},
                               {"1E99999999999999999999", kInfinity},
                               {"0E99999", 0}};
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(value(c.t), c.expected) << '"' << c.t << '"';
}

TEST(NumberValue, ReadsHexAndOctalAsBasicIntegers) {
    const ValueCase cases[] = {
        {"&hff", 255},      {"&HFFFF", -1},     {"&H8000", -32768}, {"&H7FFF", 32767},
        {"&H10000", 65536}, {"&HFFFFFFFF", -1}, {"&o777", 511},     {"&H", 0},
        {"&Q12", 0},        {"& H 1 F", 31},    {"&H1G", 1},        {"&O18", 1},
    };
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(value(c.t), c.expected) << '"' << c.t << '"';
}

TEST(FormatMask, RoundsTheGeneralTextHalfAwayFromZero) {
    struct Case {
        double x;
        int decimals;
        const char* expected;
    } const cases[] = {{0, 2, "0.00"},          {184.99999999998, 2, "185.00"},
                       {-0.125, 2, "-0.13"},    {0.5, 0, "1"},
                       {7.40736, 4, "7.4074"},  {59.99996, 4, "60.0000"},
                       {-0.00001, 4, "0.0000"}, {999.999, 2, "1000.00"}};
    for (const auto& c : cases) EXPECT_EQ(formatMask(c.x, c.decimals), c.expected) << c.x;
    EXPECT_EQ(formatMask(1e300, 15).size(), 317u);
    EXPECT_THROW(formatMask(1, -1), std::invalid_argument);
    EXPECT_THROW(formatMask(1, 16), std::invalid_argument);
}

// Every rule must keep the full stop when the user's locale writes a decimal comma.
TEST(NumberRules, IgnoreTheUserLocale) {
    const char* locales[] = {"de_DE.UTF-8", "de_DE.utf8", "German_Germany.1252", "fr_FR.UTF-8",
                             "C.UTF-8"};
    const char* set = nullptr;
    for (const char* l : locales)
        if ((set = std::setlocale(LC_ALL, l)) != nullptr) break;
    if (set == nullptr || std::string(std::localeconv()->decimal_point) != ",") {
        std::setlocale(LC_ALL, "C");
        GTEST_SKIP() << "no locale with a decimal comma here";
    }
    EXPECT_EQ(text(27.75), "27.75");
    EXPECT_EQ(text(1022.2f), "1022.2");
    EXPECT_DOUBLE_EQ(value("11030.4"), 11030.4);
    EXPECT_DOUBLE_EQ(value("11030,4"), 11030);
    EXPECT_EQ(formatMask(185, 2), "185.00");
    std::setlocale(LC_ALL, "C");
}

}  // namespace
}  // namespace kartovex
