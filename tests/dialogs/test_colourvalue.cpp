#include "dialogs/colourvalue.h"
#include "dialogs/numericreading.h"

#include <gtest/gtest.h>

#include <set>

namespace ovra {
namespace {

constexpr int32_t v(uint32_t bits) {
    return int32_t(bits);
}

TEST(ColorTransfer, DropsAlphaAndSwapsRedAndBlue) {
    const struct {
        uint32_t value, display;
    } cases[] = {
        {0x77777777u, 0x00777777u}, {0xFFDB5C1Cu, 0x001C5CDBu}, {0xFFFF0000u, 0x000000FFu},
        {0x000000FFu, 0x00FF0000u}, {0x0000C000u, 0x0000C000u}, {0x80112233u, 0x00332211u},
        {0x00000000u, 0x00000000u}, {0xFFFFFFFFu, 0x00FFFFFFu},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ColorTransfer(v(c.value)), v(c.display)) << std::hex << c.value;
}

TEST(ToColourValue, PutsAlphaOnTopAndRedBackInPlace) {
    const struct {
        uint32_t display;
        int alpha;
        uint32_t value;
    } cases[] = {
        {0x00332211u, 0x80, 0x80112233u},
        {0x000000FFu, 255, 0xFFFF0000u},
        {0x0000C000u, 0, 0x0000C000u},
        {0x00000000u, 0, 0x00000000u},
        {0x00FFFFFFu, 255, 0xFFFFFFFFu},
        {0x00777777u, 0x77, 0x77777777u},
        // Only the low byte of the alpha and the colour bytes of the display count.
        {0xAB332211u, 0x180, 0x80112233u},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ToColourValue(v(c.display), c.alpha), v(c.value)) << std::hex << c.display;
}

TEST(AlphaOf, IsTheTopByte) {
    EXPECT_EQ(AlphaOf(v(0x77777777u)), 0x77);
    EXPECT_EQ(AlphaOf(v(0xFFDB5C1Cu)), 255);
    EXPECT_EQ(AlphaOf(v(0x00FFFFFFu)), 0);
    EXPECT_EQ(AlphaOf(v(0x80000000u)), 0x80);
}

TEST(ColourConversions, RoundTripEveryDefaultColour) {
    for (int32_t value :
         {defaults::AM24HourCircleColor, defaults::PMHourCircleColor, defaults::MinuteCircleColor,
          defaults::SecondCircleColor, defaults::TimeFontColor, defaults::DateFontColor,
          defaults::ClockScaleColor})
        EXPECT_EQ(ToColourValue(ColorTransfer(value), AlphaOf(value)), value);
}

TEST(ColourText, IsUpperCaseHexWithoutLeadingZeros) {
    const struct {
        uint32_t value;
        const char* text;
    } cases[] = {
        {0x0u, "&H0"},
        {0x1Fu, "&H1F"},
        {0x7FFFu, "&H7FFF"},
        {0x10000u, "&H10000"},
        {0x12345u, "&H12345"},
        {0xFFFF0000u, "&HFFFF0000"},
        {0xFF000000u, "&HFF000000"},
        {0x77777777u, "&H77777777"},
        {0xFFFFFFFFu, "&HFFFFFFFF"},
        {0x0ABCDEF0u, "&HABCDEF0"},
        // Four digits with the top bit set would read back negative.
        {0x8000u, "&H08000"},
        {0xC000u, "&H0C000"},
        {0xFFFFu, "&H0FFFF"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ColourText(v(c.value)), QString::fromLatin1(c.text)) << c.text;
}

// Whatever the dialog writes into a colour box must come back unchanged at the next
// apply, or every apply would silently change the colour.
TEST(ColourText, ReadsBackAsTheSameValue) {
    std::vector<uint32_t> values;
    for (uint32_t bits = 0; bits <= 0x2FFFFu; ++bits)
        values.push_back(bits);
    for (uint32_t bits : {0x7FFFFFFFu, 0x80000000u, 0xFFFF8000u, 0xFFFFC000u, 0xFFFFFFFFu,
                          0xFF000000u, 0x00FFFFFFu, 0x0000FFFFu})
        values.push_back(bits);
    int mismatches = 0;
    for (uint32_t bits : values) {
        const std::optional<int32_t> back = ReadNumber(ColourText(v(bits)));
        if (back != v(bits) && ++mismatches <= 5)
            ADD_FAILURE() << std::hex << bits << " reads back as "
                          << (back ? uint32_t(*back) : 0xDEADu);
    }
    EXPECT_EQ(mismatches, 0);
}

TEST(ColourFields, CoverEachColourOfTheRecordOnceInDialogOrder) {
    const ClockSettings d = defaultSettings();
    const int32_t expected[] = {defaults::AM24HourCircleColor, defaults::PMHourCircleColor,
                                defaults::MinuteCircleColor,   defaults::SecondCircleColor,
                                defaults::TimeFontColor,       defaults::DateFontColor,
                                defaults::ClockScaleColor};
    std::set<QString> labels;
    for (size_t i = 0; i < kColourFields.size(); ++i) {
        EXPECT_EQ(d.*kColourFields[i].member, expected[i]) << i;
        labels.insert(QString::fromUtf16(kColourFields[i].label));
    }
    EXPECT_EQ(labels.size(), kColourFields.size());
    EXPECT_EQ(QString::fromUtf16(kColourFields[6].label),
              QStringLiteral("Clock Dial Scale Color:"));
}

} // namespace
} // namespace ovra
