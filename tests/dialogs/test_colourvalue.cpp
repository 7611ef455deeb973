#include "dialogs/colourvalue.h"
#include "dialogs/numericreading.h"

#include <gtest/gtest.h>

namespace ovra {
namespace {

constexpr int32_t v(uint32_t bits) {
    return int32_t(bits);
}

TEST(ColourConversions, SwapRedAndBlueAndCarryTheAlpha) {
    const struct {
        uint32_t value, display;
        int alpha;
    } cases[] = {
        {0x77777777u, 0x00777777u, 0x77}, {0xFFDB5C1Cu, 0x001C5CDBu, 0xFF},
        {0xFFFF0000u, 0x000000FFu, 0xFF}, {0x80112233u, 0x00332211u, 0x80},
        {0x0000C000u, 0x0000C000u, 0x00}, {0x00000000u, 0x00000000u, 0x00},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(colorTransfer(v(c.value)), v(c.display)) << std::hex << c.value;
        EXPECT_EQ(alphaOf(v(c.value)), c.alpha) << std::hex << c.value;
        EXPECT_EQ(toColourValue(v(c.display), c.alpha), v(c.value)) << std::hex << c.value;
    }
    // Only the low byte of the alpha and the colour bytes of the display count.
    EXPECT_EQ(toColourValue(v(0xAB332211u), 0x180), v(0x80112233u));
}

TEST(colourText, IsUpperCaseHexWithoutLeadingZeros) {
    const struct {
        uint32_t value;
        const char* text;
    } cases[] = {
        {0x0u, "&H0"},
        {0x1Fu, "&H1F"},
        {0x7FFFu, "&H7FFF"},
        {0x12345u, "&H12345"},
        {0xFFFF0000u, "&HFFFF0000"},
        {0x0ABCDEF0u, "&HABCDEF0"},
        // Four digits with the top bit set would read back negative.
        {0x8000u, "&H08000"},
        {0xC000u, "&H0C000"},
        {0xFFFFu, "&H0FFFF"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(colourText(v(c.value)), QString::fromLatin1(c.text)) << c.text;
}

// Whatever the dialog writes into a colour box must come back unchanged at the next
// apply, or every apply would silently change the colour.
TEST(colourText, ReadsBackAsTheSameValue) {
    std::vector<uint32_t> values;
    for (uint32_t bits = 0; bits <= 0x2FFFFu; ++bits)
        values.push_back(bits);
    for (uint32_t bits : {0x7FFFFFFFu, 0x80000000u, 0xFFFF8000u, 0xFFFFFFFFu, 0x00FFFFFFu})
        values.push_back(bits);
    int mismatches = 0;
    for (uint32_t bits : values) {
        const std::optional<int32_t> back = readNumber(colourText(v(bits)));
        if (back != v(bits) && ++mismatches <= 5)
            ADD_FAILURE() << std::hex << bits << " reads back as " << back.value_or(0);
    }
    EXPECT_EQ(mismatches, 0);
}

} // namespace
} // namespace ovra
