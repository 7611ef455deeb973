#pragma once

#include "settings/clocksettings.h"

#include <QBrush>
#include <QColor>
#include <QPen>

namespace ovra {

// The dial's black, more or less translucent as the opacity step asks: step 0 is
// opaque and every step takes 0x11 off the alpha; anything unknown is 0xDD.
QColor backgroundColour(int opacityStep);

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
