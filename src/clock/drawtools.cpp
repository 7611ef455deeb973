#include "clock/drawtools.h"

namespace ovra {

namespace {
// Ring ends are cut square at the arc's end angle, neither rounded nor extended.
QPen facePen(int32_t colour, qreal width) {
    QPen pen(colorFromValue(colour), width);
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    return pen;
}
} // namespace

int32_t backgroundColorValue(int32_t opacity) {
    static constexpr uint32_t kAlpha[] = {0xFF, 0xEE, 0xDD, 0xCC, 0xBB, 0xAA};
    const uint32_t alpha = opacity >= 0 && opacity <= 5 ? kAlpha[opacity] : 0xDD;
    return int32_t(alpha << 24);
}

void DrawTools::createDrawTools(const ClockSettings& s) {
    backgroundBrush = QBrush(colorFromValue(backgroundColorValue(s.BackgroundOpacity)));
    dateBrush = QBrush(colorFromValue(s.DateFontColor));
    activePen = facePen(int32_t(0xCC1111EEu), 2);
    scalePen = facePen(s.ClockScaleColor, 1);
    amHourPen = facePen(s.AM24HourCircleColor, qreal(s.HourCircleWidth));
    pmHourPen = facePen(s.PMHourCircleColor, qreal(s.HourCircleWidth));
    minutePen = facePen(s.MinuteCircleColor, qreal(s.MinuteCircleWidth));
    secondPen = facePen(s.SecondCircleColor, qreal(s.SecondCircleWidth));
    timeBrush = QBrush(colorFromValue(s.TimeFontColor));
    m_exists = true;
}

void DrawTools::deleteDrawTools() {
    *this = DrawTools();
}

} // namespace ovra
