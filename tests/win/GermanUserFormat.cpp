#include <gtest/gtest.h>
#include <windows.h>

#include <clocale>
#include <string>

// Linked into every test program of the Windows build. The C run-time takes on the user's
// regional format, as a program that honours the user's settings would, and the run
// stops at once unless that format has the decimal comma: a full stop written under it
// then proves the number rules ignore the user's settings.
namespace {

class GermanUserFormat : public ::testing::Environment {
public:
    void SetUp() override {
        wchar_t decimal[8] = {};
        GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, decimal, 8);
        ASSERT_EQ(std::wstring(decimal), L",")
            << "the user's regional format has no decimal comma: run the tests in the Wine "
               "prefix that scripts/wine-prefix makes, with LC_ALL=de_DE.UTF-8";
        ASSERT_NE(std::setlocale(LC_ALL, ""), nullptr);
        ASSERT_STREQ(std::localeconv()->decimal_point, ",")
            << "the C run-time did not take on the user's German format";
    }
};

const auto* const germanUserFormat = ::testing::AddGlobalTestEnvironment(new GermanUserFormat);

}  // namespace
