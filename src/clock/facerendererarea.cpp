// FaceRenderer: where a second's frame differs from the one before, so that only those pixels are
// drawn.
#include "clock/facerenderer.h"

#include <QtMath>

#include <algorithm>
#include <cmath>
#include <utility>

namespace ovra {

namespace {

// Whether every character runs from left to right, so that a text's first
// characters lie at its left.
bool leftToRight(const QString& text) {
    for (const QChar c : text) {
        switch (c.direction()) {
        case QChar::DirR:
        case QChar::DirAL:
        case QChar::DirAN:
        case QChar::DirRLE:
        case QChar::DirRLO:
        case QChar::DirRLI:
            return false;
        default:
            break;
        }
    }
    return true;
}

} // namespace

QRegion FaceRenderer::ringArea(const QRectF& arc, double penWidth, float fromSweep,
                               float toSweep) const {
    // Qt builds an arc from quarter-circle curves and cuts the last one short, so
    // two arcs from twelve share their pixels only up to the quarter in which the
    // shorter one ends. A full ring (360) is an ellipse, made of other curves.
    const float shorter = std::min(fromSweep, toSweep);
    const double from = std::max(fromSweep, toSweep) >= 360 ? 0.0 : 90.0 * std::floor(shorter / 90);
    return ringSector(arc, penWidth, from, std::max(fromSweep, toSweep));
}

QRegion FaceRenderer::ringSector(const QRectF& arc, double penWidth, double from, double to) const {
    // Every pixel the ring's pen may touch between two angles, with its soft edge.
    const QPointF centre = arc.center() + QPointF(kShapeOffset, kShapeOffset);
    const double radius = arc.width() / 2, halfPen = penWidth / 2;
    constexpr double kEdge = 2;
    const double inner = std::max(0.0, radius - halfPen - kEdge);
    const double outer = radius + halfPen + kEdge;
    const double pad = inner > kEdge ? qRadiansToDegrees(kEdge / inner) : 180.0;
    from -= pad;
    to += pad;
    // Pieces of at most 15 degrees keep a long sector from becoming one large box.
    QRegion area;
    for (double start = from; start < to; start += 15) {
        const double end = std::min(to, start + 15);
        // A piece of a ring reaches furthest at its four corners or, where it
        // crosses twelve, three, six or nine o'clock, at its outer edge there.
        double left = centre.x() + outer, right = centre.x() - outer;
        double top = centre.y() + outer, bottom = centre.y() - outer;
        const auto take = [&](double degrees, double r) {
            const double a = qDegreesToRadians(degrees);
            const double x = centre.x() + r * std::sin(a), y = centre.y() - r * std::cos(a);
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        };
        for (const double r : {inner, outer}) {
            take(start, r);
            take(end, r);
        }
        for (double axis = 90 * std::ceil(start / 90); axis < end; axis += 90)
            take(axis, outer);
        // One pixel more on each side for the rounding of the ends.
        area += QRectF(QPointF(left, top), QPointF(right, bottom))
                    .toAlignedRect()
                    .adjusted(-1, -1, 1, 1);
    }
    return area;
}

bool FaceRenderer::ringsDiffer(const FaceFrame& a, const FaceFrame& b) {
    return a.minuteSweep != b.minuteSweep || a.hourSweep != b.hourSweep || a.pmHour != b.pmHour;
}

QRegion FaceRenderer::changedArea(const FaceFrame& before, const FaceFrame& after) const {
    if (!m_prepared)
        return {};
    QRegion area;
    if (before.secondSweep != after.secondSweep) {
        // A plain second changes only the pixels kept for it; second 1 follows the
        // closed ring of second 0.
        const SecondStep* step = secondStepFor(after.secondSweep);
        const float previous = after.secondSweep == 6 ? 360 : after.secondSweep - 6;
        if (step && before.secondSweep == previous)
            area += step->changed;
        else
            area += ringArea(m_layout.secondArcRect, m_tools.secondPen.widthF(), before.secondSweep,
                             after.secondSweep);
    }
    // A new minute redraws the ring layer, but within the same hour only the minute
    // ring's new piece differs: pushing the whole band of both rings made the first
    // second of every minute the one that came late at the largest size.
    if (before.hourSweep != after.hourSweep || before.pmHour != after.pmHour)
        area += m_ringArea;
    else if (before.minuteSweep != after.minuteSweep)
        area += ringArea(m_layout.minuteArcRect, m_tools.minutePen.widthF(), before.minuteSweep,
                         after.minuteSweep);

    const double X = m_layout.innerRect.x(), Y = m_layout.innerRect.y();
    const double D = m_layout.innerDiameter, R = D / 2;
    const auto text = [&](const QString& a, uint8_t sizeA, const QString& b, uint8_t sizeB,
                          const QRectF& box) {
        if (a == b && sizeA == sizeB)
            return;
        // The time moves on in its last digits. When both lie alike on one line,
        // glyphs before the first changed character stand where they stood.
        qsizetype same = 0;
        while (same < a.size() && same < b.size() && a.at(same) == b.at(same))
            ++same;
        const auto oneLine = [](const LaidOutText& t) {
            return t.layout && t.layout->lineCount() == 1;
        };
        const LaidOutText& wasText = laidOut(a, box, sizeA);
        const QRectF was = wasText.area;
        const bool wasOneLine = oneLine(wasText);
        const double wasKept = wasOneLine ? cursorX(wasText, int(same)) : 0;
        const LaidOutText wasGlyphs = wasText.digits ? wasText : LaidOutText{};
        const LaidOutText& nowText = laidOut(b, box, sizeB);
        const QRectF now = nowText.area;
        // Digits put into the same line where every glyph stays: only the glyphs
        // that changed.
        if (was == now && wasGlyphs.digits) {
            if (const std::optional<QRegion> glyphs = changedGlyphs(wasGlyphs, nowText)) {
                area += *glyphs;
                return;
            }
        }
        QRectF changed = was.united(now);
        if (was == now && sizeA == sizeB && a.size() == b.size() && wasOneLine &&
            oneLine(nowText) && leftToRight(a) && leftToRight(b)) {
            const double margin = sizeB / 4.0 + 2;
            const double kept = std::min(wasKept, cursorX(nowText, int(same)));
            const double firstChanged = now.left() + margin + kept;
            changed.setLeft(std::max(changed.left(), firstChanged - margin));
        }
        area += changed.toAlignedRect();
    };
    text(before.titleText, before.dateFontSize, after.titleText, after.dateFontSize,
         QRectF(X, Y, D, R));
    text(before.timeText, before.timeFontSize, after.timeText, after.timeFontSize,
         QRectF(X, Y, D, D));
    text(before.dateText, before.dateFontSize, after.dateText, after.dateFontSize,
         QRectF(X, Y + R, D, R));
    const int side = m_layout.windowSize();
    return area.intersected(QRect(0, 0, side, side));
}

} // namespace ovra
