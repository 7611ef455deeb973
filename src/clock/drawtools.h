#pragma once

#include "settings/clocksettings.h"

#include <QBrush>
#include <QColor>
#include <QPen>

namespace ovra {

// A colour value 0xAARRGGBB as Qt takes it.
inline QColor colorFromValue(int32_t value) {
    return QColor::fromRgba(static_cast<QRgb>(static_cast<uint32_t>(value)));
}

// The dial's black, more or less translucent as BackgroundOpacity asks: index 0 is
// opaque and every step takes 0x11 off the alpha; anything unknown is 0xDD.
int32_t backgroundColorValue(int32_t backgroundOpacity);

// The face's pens and brushes. They are made from the settings once and rebuilt
// only when the settings are re-applied, never per frame.
class DrawTools {
public:
    void createDrawTools(const ClockSettings& s);
    void deleteDrawTools();
    bool exists() const { return m_exists; }

    QBrush backgroundBrush;
    QBrush dateBrush;
    QPen activePen;
    QPen scalePen;
    QPen amHourPen;
    QPen pmHourPen;
    QPen minutePen;
    QPen secondPen;
    QBrush timeBrush;

private:
    bool m_exists = false;
};

} // namespace ovra
