#include "clock/drawtools.h"

namespace ovra {

namespace {
// Ring ends are cut square at the arc's end angle, neither rounded nor extended.
QPen facePen(const QColor& colour, qreal width) {
    QPen pen(colour, width);
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    return pen;
}
} // namespace

QColor backgroundColour(int opacity) {
    static constexpr int kAlpha[] = {0xFF, 0xEE, 0xDD, 0xCC, 0xBB, 0xAA};
    return QColor(0, 0, 0, opacity >= 0 && opacity <= 5 ? kAlpha[opacity] : 0xDD);
}

void DrawTools::createDrawTools(const ClockSettings& s) {
    BackgroundBrush = QBrush(backgroundColour(s.opacityStep));
    DateBrush = QBrush(s.dateTextColor);
    ActivePen = facePen(QColor::fromRgba(0xCC1111EEu), 2);
    ScalePen = facePen(s.scaleColor, 1);
    AmHourPen = facePen(s.amHourColor, qreal(s.hourRingWidth));
    PmHourPen = facePen(s.pmHourColor, qreal(s.hourRingWidth));
    MinutePen = facePen(s.minuteColor, qreal(s.minuteRingWidth));
    SecondPen = facePen(s.secondColor, qreal(s.secondRingWidth));
    TimeBrush = QBrush(s.timeTextColor);
    m_exists = true;
}

void DrawTools::deleteDrawTools() {
    *this = DrawTools();
}

} // namespace ovra
