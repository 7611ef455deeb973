#include "clock/appicon.h"

#include <QFont>
#include <QPainter>
#include <QPixmap>

namespace ovra {

namespace {
// One ring of the 128-unit design: its radius, its track and its filled sweep from
// twelve o'clock, clockwise, in degrees.
struct Ring {
    qreal radius;
    QColor track;
    QColor fill;
    qreal sweep;
};
constexpr qreal kDesign = 128;
constexpr qreal kRingWidth = 10;

QPixmap iconAt(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / kDesign, size / kDesign);
    const QPointF centre(64, 64);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x1e, 0x1e, 0x1e, 217));
    p.drawEllipse(centre, 30, 30);
    const Ring rings[] = {
        {36, QColor(0x44, 0x44, 0x44), QColor(0xDB, 0x5C, 0x1C), 111},
        {47, QColor(0x33, 0x33, 0x33), QColor(0x22, 0x72, 0xCD), 270},
        {58, QColor(0x2a, 0x2a, 0x2a), QColor(0x71, 0xA7, 0x13), 90},
    };
    for (const Ring& ring : rings) {
        const QRectF box(centre.x() - ring.radius, centre.y() - ring.radius, 2 * ring.radius,
                         2 * ring.radius);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(ring.track, kRingWidth, Qt::SolidLine, Qt::FlatCap));
        p.drawEllipse(box);
        p.setPen(QPen(ring.fill, kRingWidth, Qt::SolidLine, Qt::FlatCap));
        // Qt counts angles anticlockwise from three o'clock in sixteenths of a degree.
        p.drawArc(box, 90 * 16, int(-ring.sweep * 16));
    }
    // Below 48 pixels the digits would be a smudge.
    if (size >= 48) {
        QFont font(QStringLiteral("Liberation Sans"));
        font.setPixelSize(15);
        font.setBold(true);
        p.setFont(font);
        p.setPen(Qt::white);
        p.drawText(QRectF(0, 52, kDesign, 24), Qt::AlignHCenter | Qt::AlignVCenter,
                   QStringLiteral("12:34"));
    }
    return pixmap;
}
} // namespace

QIcon applicationIcon() {
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64})
        icon.addPixmap(iconAt(size));
    return icon;
}

} // namespace ovra
