#include "dialogs/numericreading.h"

#include <QString>
#include <gtest/gtest.h>

namespace ovra {
namespace {

struct Reading {
    const char16_t* text;
    std::optional<int32_t> expected;
};

void PrintTo(const Reading& r, std::ostream* os) {
    *os << '"' << QString::fromUtf16(r.text).toStdString() << '"';
}

class NumericReadingTest : public ::testing::TestWithParam<Reading> {};

TEST_P(NumericReadingTest, ReadsAsTheSettingsDialogDoes) {
    EXPECT_EQ(readNumber(QStringView(GetParam().text)), GetParam().expected);
}

constexpr std::nullopt_t refused = std::nullopt;
constexpr int32_t kMin = -2147483647 - 1;

INSTANTIATE_TEST_SUITE_P(Decimal, NumericReadingTest,
                         ::testing::Values(Reading{u"50", 50}, Reading{u"-5", -5},
                                           Reading{u"+7", 7}, Reading{u"64.", 64},
                                           Reading{u"1.5e1", 15}, Reading{u"1E3", 1000},
                                           Reading{u"0.5000001", 1}, Reading{u"-.5", 0}));

INSTANTIATE_TEST_SUITE_P(RoundsHalfToEven, NumericReadingTest,
                         ::testing::Values(Reading{u"2.5", 2}, Reading{u"3.5", 4},
                                           Reading{u"0.5", 0}, Reading{u"-2.5", -2},
                                           Reading{u"-3.5", -4}, Reading{u"25E-1", 2},
                                           Reading{u"2.5001", 3}));

INSTANTIATE_TEST_SUITE_P(StopsAtTheFirstForeignCharacter, NumericReadingTest,
                         ::testing::Values(Reading{u"", 0}, Reading{u"abc", 0},
                                           Reading{u"12abc", 12}, Reading{u"1,000", 1},
                                           Reading{u"--5", 0}, Reading{u"-", 0}, Reading{u"5E", 5},
                                           Reading{u"5E+", 5}, Reading{u"1.2.3", 1},
                                           Reading{u"\u00A05", 0}, Reading{u"\u0665", 0},
                                           Reading{u"4\r2", 4}));

INSTANTIATE_TEST_SUITE_P(SkipsBlanksTabsAndLineFeedsAnywhere, NumericReadingTest,
                         ::testing::Values(Reading{u"1 2 3", 123}, Reading{u"\t-\n5", -5},
                                           Reading{u"6 4 .", 64}, Reading{u"1 E 2", 100},
                                           Reading{u" &hff ff 00 00", -65536}));

INSTANTIATE_TEST_SUITE_P(HexadecimalAndOctal, NumericReadingTest,
                         ::testing::Values(Reading{u"&H0", 0}, Reading{u"&h1f", 31},
                                           Reading{u"&H7FFF", 32767}, Reading{u"&H8000", -32768},
                                           Reading{u"&HFFFF", -1}, Reading{u"&HC000", -16384},
                                           Reading{u"&H0C000", 49152}, Reading{u"&H12345", 74565},
                                           Reading{u"&HFF000000", -16777216},
                                           Reading{u"&HFFFF0000", -65536},
                                           Reading{u"&H80000000", kMin}, Reading{u"&H000000001", 1},
                                           Reading{u"&H", 0}, Reading{u"&H1G", 1},
                                           Reading{u"&X12", 0}, Reading{u"-&H10", 0},
                                           Reading{u"&o777", 511}, Reading{u"&O100000", -32768},
                                           Reading{u"&O177777", -1}, Reading{u"&O200000", 65536},
                                           Reading{u"&O37777777777", -1}, Reading{u"&O78", 7}));

INSTANTIATE_TEST_SUITE_P(
    OutOfRangeIsRefused, NumericReadingTest,
    ::testing::Values(Reading{u"2147483647", 2147483647}, Reading{u"-2147483648.5", kMin},
                      Reading{u"2147483647.5", refused}, Reading{u"-2147483649", refused},
                      Reading{u"1E10", refused}, Reading{u"-1E99999999999", refused},
                      Reading{u"1E-400", 0}, Reading{u"&H100000000", refused},
                      Reading{u"&O40000000000", refused}));

TEST(readNumberInto, KeepsThePreviousValueWhenOutOfRange) {
    int32_t field = 48;
    EXPECT_FALSE(readNumberInto(u"9999999999", field));
    EXPECT_EQ(field, 48);
    EXPECT_TRUE(readNumberInto(u"&HFF000000", field));
    EXPECT_EQ(field, -16777216);
}

} // namespace
} // namespace ovra
