#pragma once

#include "settings/clocksettings.h"

#include <QString>

#include <array>
#include <cstdint>

namespace ovra {

// Two forms of a colour meet in the settings dialog:
//  - colour value: 0xAARRGGBB as the record and the store keep it, alpha on top;
//  - display colour: 0x00BBGGRR, red in the low byte and no alpha, the form the
//    colour boxes and the colour dialog work with.

// Colour value to display colour: the alpha is dropped, red and blue trade places.
int32_t colorTransfer(int32_t value);

// Display colour and an alpha (0..255) to a colour value.
int32_t toColourValue(int32_t display, int alpha);

// The alpha byte of a colour value.
int alphaOf(int32_t value);

// "&H" and the value in upper-case hexadecimal, negative values as their eight-digit
// two's complement. Values 0x8000 to 0xFFFF keep one leading zero: four digits
// would read back as a 16-bit number with its sign widened, so the text of a
// transparent colour would turn into a different, opaque one at the next apply.
QString colourText(int32_t value);

// One colour row of the appearance page, top to bottom.
struct ColourField {
    const char* label; // marked for translation in the context ovra::AppearancePage
    const char* textBoxName;
    int32_t ClockSettings::*member;
};
extern const std::array<ColourField, 7> kColourFields;

} // namespace ovra
