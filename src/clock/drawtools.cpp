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
    backgroundBrush = QBrush(backgroundColour(s.opacityStep));
    dateBrush = QBrush(s.dateTextColor);
    activePen = facePen(QColor::fromRgba(0xCC1111EEu), 2);
    scalePen = facePen(s.scaleColor, 1);
    amHourPen = facePen(s.amHourColor, qreal(s.hourRingWidth));
    pmHourPen = facePen(s.pmHourColor, qreal(s.hourRingWidth));
    minutePen = facePen(s.minuteColor, qreal(s.minuteRingWidth));
    secondPen = facePen(s.secondColor, qreal(s.secondRingWidth));
    timeBrush = QBrush(s.timeTextColor);
    m_exists = true;
}

void DrawTools::deleteDrawTools() {
    *this = DrawTools();
}

} // namespace ovra
