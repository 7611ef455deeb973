#include "dialogs/colourvalue.h"

namespace ovra {

namespace {
uint32_t swapRedBlue(uint32_t c) {
    return ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}
} // namespace

int32_t colorTransfer(int32_t value) {
    return int32_t(swapRedBlue(uint32_t(value)));
}

int32_t toColourValue(int32_t display, int alpha) {
    return int32_t((uint32_t(alpha & 0xFF) << 24) | swapRedBlue(uint32_t(display)));
}

int alphaOf(int32_t value) {
    return int((uint32_t(value) >> 24) & 0xFFu);
}

QString colourText(int32_t value) {
    const uint32_t bits = uint32_t(value);
    QString digits = QString::number(bits, 16).toUpper();
    if (bits >= 0x8000u && bits <= 0xFFFFu)
        digits.prepend(QLatin1Char('0'));
    return QStringLiteral("&H") + digits;
}

using S = ClockSettings;

const std::array<ColourField, 7> kColourFields = {{
    {QT_TRANSLATE_NOOP("ovra::AppearancePage", "AM Hour/24 Hour C&ircle Color:"), "TxtAmHourColor",
     &S::AM24HourCircleColor},
    {QT_TRANSLATE_NOOP("ovra::AppearancePage", "PM Hour Circ&le Color:"), "TxtPmHourColor",
     &S::PMHourCircleColor},
    {QT_TRANSLATE_NOOP("ovra::AppearancePage", "Minu&te Circle Color:"), "TxtMinuteColor",
     &S::MinuteCircleColor},
    {QT_TRANSLATE_NOOP("ovra::AppearancePage", "&Second Circle Color:"), "TxtSecondColor",
     &S::SecondCircleColor},
    {QT_TRANSLATE_NOOP("ovra::AppearancePage", "Time &Font Color:"), "TxtTimeColor",
     &S::TimeFontColor},
    {QT_TRANSLATE_NOOP("ovra::AppearancePage", "Date Fo&nt Color:"), "TxtDateColor",
     &S::DateFontColor},
    {QT_TRANSLATE_NOOP("ovra::AppearancePage", "Cloc&k Dial Scale Color:"), "TxtScaleColor",
     &S::ClockScaleColor},
}};

} // namespace ovra
