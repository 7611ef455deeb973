// FaceRenderer: the second ring kept, second by second, where it changes, so that a plain second
// lays a few hundred pixels instead of stroking a quarter of the ring.
#include "clock/facerenderer.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <utility>

namespace ovra {

namespace {

// The ring's differences lie along the whole quarter it ends in (the raster engine
// flattens a shortened curve differently), as scattered pixels. They are kept in
// bands of rows, and runs of columns this close are joined. Coarser bands push
// more pixels but fewer rectangles, which is what each second pays for (in the
// toolkit's clear, upload and copy); in runs, the coverage takes about as much
// memory either way (34 KB at 246 px with bands of 8 or of 16).
constexpr int kBandRows = 16;
constexpr int kJoinGap = 16;

// Second 1 starts the ring anew: it differs from the closed ring of second 0 wherever
// that lies, but its bands of rows hug the ring where the pieces a stroke may touch
// are wide boxes, and its short arc is laid, not stroked.
constexpr int kFirstKept = 1;

// Differing pixels this few equal ones apart are laid as one run.
constexpr int kExactGap = 4;
// What a paint of the changed area costs beyond its pixels, in pixels laid.
constexpr qint64 kExactPaint = 2000;

// One row of coverage (the alpha of n pixels) in runs, as SecondStep keeps it.
void encodeCoverage(const QRgb* line, int n, std::vector<quint8>& out) {
    for (int x = 0; x < n;) {
        int same = x + 1;
        while (same < n && same - x < 128 && qAlpha(line[same]) == qAlpha(line[x]))
            ++same;
        if (same - x >= 3) {
            out.push_back(quint8(128 + (same - x - 1)));
            out.push_back(quint8(qAlpha(line[x])));
            x = same;
            continue;
        }
        // Values up to the next stretch of three alike, at most 128.
        int end = x;
        while (end < n && end - x < 128) {
            if (end + 2 < n && qAlpha(line[end]) == qAlpha(line[end + 1]) &&
                qAlpha(line[end]) == qAlpha(line[end + 2]))
                break;
            ++end;
        }
        if (end == x)
            end = x + 1;
        out.push_back(quint8(end - x - 1));
        for (; x < end; ++x)
            out.push_back(quint8(qAlpha(line[x])));
    }
}

} // namespace

void FaceRenderer::prepareSecondSteps() {
    if (!m_prepared || m_secondStepsTried)
        return;
    m_secondStepsTried = true;
    const QPen& pen = m_tools.secondPen;
    // The raster engine fills a wide solid opaque pen's outline, laying its colour
    // once on each pixel scaled by the pixel's coverage. A pen of a pixel or less
    // is drawn as lines that may lay a pixel twice; it, any other pen, and pixels
    // that do not map one to one are left to the stroke.
    if (!m_runs || pen.style() != Qt::SolidLine || pen.brush().style() != Qt::SolidPattern ||
        pen.color().alpha() != 255 || pen.isCosmetic() || pen.widthF() <= 1)
        return;
    const int side = m_layout.windowSize();
    const QRect bounds = m_secondRing.boundingRect().intersected(QRect(0, 0, side, side));
    QImage was = newLayer(bounds), now = newLayer(bounds);
    if (bounds.isEmpty() || was.isNull() || now.isNull())
        return;
    m_secondColour = pen.color().rgba();
    // In opaque white the ring's alpha is its coverage.
    QPen white = pen;
    white.setColor(Qt::white);
    const auto stroke = [&](QImage& image, int second) {
        image.fill(Qt::transparent);
        QPainter p(&image);
        p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                         QPainter::SmoothPixmapTransform);
        p.translate(-bounds.topLeft());
        p.translate(kShapeOffset, kShapeOffset);
        drawArc(p, m_layout.secondArcRect, float(second * 6), white);
    };
    const int columns = bounds.width();
    struct Column {
        int top = 0, bottom = -1; // window rows with a difference, within the band
    };
    std::vector<Column> band(static_cast<size_t>(columns));
    std::vector<SecondStep> steps(60);
    const auto keepCoverage = [&](SecondStep& step) {
        const QPoint origin = bounds.topLeft() * m_scale;
        for (const QRect& r : step.area) {
            const QRect pixels = surfaceRect(r).translated(-origin);
            for (int y = pixels.top(); y <= pixels.bottom(); ++y) {
                const auto* line = reinterpret_cast<const QRgb*>(now.constScanLine(y));
                encodeCoverage(line + pixels.left(), pixels.width(), step.coverage);
            }
        }
        step.coverage.shrink_to_fit();
    };
    // The window rectangles, in bands of rows, that hold every pixel in which two
    // strokes differ.
    const auto differing = [&](const QImage& a, const QImage& b) {
        QRegion area;
        for (int top = 0; top < bounds.height(); top += kBandRows) {
            std::fill(band.begin(), band.end(), Column{});
            const int rows = std::min(kBandRows, bounds.height() - top);
            for (int y = top * m_scale; y < (top + rows) * m_scale; ++y) {
                const auto* lineA = reinterpret_cast<const QRgb*>(a.constScanLine(y));
                const auto* lineB = reinterpret_cast<const QRgb*>(b.constScanLine(y));
                for (int x = 0; x < b.width(); ++x) {
                    if (lineA[x] == lineB[x])
                        continue;
                    Column& c = band[size_t(x / m_scale)];
                    const int row = y / m_scale;
                    if (c.bottom < c.top)
                        c.top = row;
                    c.bottom = row;
                }
            }
            for (int x = 0; x < columns;) {
                if (band[size_t(x)].bottom < band[size_t(x)].top) {
                    ++x;
                    continue;
                }
                int last = x, rowTop = band[size_t(x)].top, rowBottom = band[size_t(x)].bottom;
                for (int next = x + 1; next < columns && next - last <= kJoinGap; ++next) {
                    const Column& c = band[size_t(next)];
                    if (c.bottom < c.top)
                        continue;
                    last = next;
                    rowTop = std::min(rowTop, c.top);
                    rowBottom = std::max(rowBottom, c.bottom);
                }
                area += QRect(bounds.x() + x, bounds.y() + rowTop, last - x + 1,
                              rowBottom - rowTop + 1);
                x = last + 1;
            }
        }
        return area;
    };
    // The pixels that differ, in runs, with the new ring's coverage over them. Runs
    // a few equal pixels apart are joined: each run costs more than its pixels.
    const auto keepExact = [&](SecondStep& step) {
        const QPoint origin = bounds.topLeft() * m_scale;
        if (m_surfaceSize.width() > 0xffff || m_surfaceSize.height() > 0xffff)
            return;
        for (int y = 0; y < now.height(); ++y) {
            const auto* lineA = reinterpret_cast<const QRgb*>(was.constScanLine(y));
            const auto* lineB = reinterpret_cast<const QRgb*>(now.constScanLine(y));
            for (int x = 0; x < now.width(); ++x) {
                if (lineA[x] == lineB[x])
                    continue;
                int end = x + 1, last = x;
                while (end < now.width() && end - last <= kExactGap) {
                    if (lineA[end] != lineB[end])
                        last = end;
                    ++end;
                }
                step.exact.push_back(
                    {quint16(origin.y() + y), quint16(origin.x() + x), quint16(last - x + 1)});
                for (int i = x; i <= last; ++i)
                    step.exactCoverage.push_back(quint8(qAlpha(lineB[i])));
                x = last;
            }
        }
        // Read through every layer, a pixel costs about two of the area laid layer by
        // layer, which costs a paint more: a step that changes much of its area
        // (second 1 after the closed ring) is drawn so.
        qint64 areaPixels = 0;
        for (const QRect& r : step.area)
            areaPixels += qint64(r.width()) * r.height() * m_scale * m_scale;
        if (qint64(step.exactCoverage.size()) * 2 > areaPixels + kExactPaint) {
            step.exact = {};
            step.exactCoverage = {};
        }
        step.exact.shrink_to_fit();
        step.exactCoverage.shrink_to_fit();
    };
    // A minute's seconds start from the closed ring of second 0.
    stroke(was, 60);
    for (int second = kFirstKept; second < 60; ++second) {
        stroke(now, second);
        SecondStep& step = steps[size_t(second)];
        step.area = differing(was, now);
        step.changed = step.area;
        keepCoverage(step);
        keepExact(step);
        std::swap(was, now);
    }
    // The closed ring of second 0 is an ellipse, not an arc. Its coverage is kept
    // whole, over every piece the ring may touch, so that it is laid in any area a
    // new minute asks for; what it changes after second 59 is the last arc and the
    // pixels the ellipse's curves lay otherwise, a part of the ring.
    stroke(now, 60);
    steps[0].area = m_secondRing.intersected(bounds);
    steps[0].changed = differing(was, now);
    keepCoverage(steps[0]);
    m_secondSteps = std::move(steps);
}

const FaceRenderer::SecondStep* FaceRenderer::secondStepFor(float sweep) const {
    if (m_secondSteps.empty())
        return nullptr;
    if (sweep >= 360)
        return &m_secondSteps[0];
    const int second = int(sweep) / 6;
    if (float(second * 6) != sweep || second < kFirstKept || size_t(second) >= m_secondSteps.size())
        return nullptr;
    return &m_secondSteps[size_t(second)];
}

bool FaceRenderer::laySecondStep(const SurfacePixels& pixels, float sweep,
                                 const QRegion& area) const {
    const SecondStep* step = secondStepFor(sweep);
    // Elsewhere in the area the ring must leave no pixel (the time beside it).
    if (!step || (area - step->area).intersects(m_secondRing))
        return false;
    const QRgb colour = m_secondColour;
    // Runs the coverage of one rectangle, laying what falls within part.
    const auto lay = [&](const quint8*& at, const QRect& kept, const QRect& part) {
        for (int y = kept.top(); y <= kept.bottom(); ++y) {
            const bool rowLaid = y >= part.top() && y <= part.bottom();
            QRgb* line = rowLaid ? pixels.line(y) : nullptr;
            for (int x = kept.left(); x <= kept.right();) {
                const quint8 head = *at++;
                const bool run = head >= 128;
                const int n = (head & 127) + 1;
                const int from = line ? std::max(x, part.left()) : 0;
                const int to = line ? std::min(x + n, part.right() + 1) : 0;
                if (from < to && run) {
                    // Mostly none or full: a run is skipped or filled whole.
                    if (at[0] == 255)
                        std::fill(line + from, line + to, colour);
                    else if (at[0] != 0)
                        for (int px = from; px < to; ++px)
                            line[px] = sourceOver(line[px], byteMul(colour, at[0]));
                } else {
                    for (int px = from; px < to; ++px) {
                        const uint c = at[px - x];
                        if (c == 255)
                            line[px] = colour;
                        else if (c != 0)
                            line[px] = sourceOver(line[px], byteMul(colour, c));
                    }
                }
                at += run ? 1 : n;
                x += n;
            }
        }
    };
    // A plain second's area holds the whole step and each kept rectangle is laid
    // whole; in any other it is laid where the area's rectangles meet it.
    const bool whole = (step->area - area).isEmpty();
    const quint8* at = step->coverage.data();
    for (const QRect& r : step->area) {
        const QRect kept = surfaceRect(r);
        if (whole) {
            lay(at, kept, kept);
            continue;
        }
        const quint8* const start = at;
        for (const QRect& a : area) {
            const QRect part = surfaceRect(a).intersected(kept);
            if (part.isEmpty())
                continue;
            at = start;
            lay(at, kept, part);
            if (part == kept)
                break;
        }
        if (at == start)
            lay(at, kept, QRect()); // passes over the rectangle's coverage
    }
    return true;
}

bool FaceRenderer::drawChange(QImage& surface, const FaceFrame& before, FaceFrame& after,
                              const FaceState& state, const QImage& buttonImage,
                              const QRegion& area) {
    if (!m_prepared || !m_runs || surface.isNull() || surface.size() != m_surfaceSize)
        return false;
    const SecondStep* step = secondStepFor(after.secondSweep);
    const float previous = after.secondSweep == 6 ? 360 : after.secondSweep - 6;
    if (!step || step == &m_secondSteps[0] || step->exact.empty() ||
        before.secondSweep != previous || ringsDiffer(before, after) ||
        after.minuteSweep != m_ringMinute || after.hourSweep != m_ringHour ||
        after.pmHour != m_ringPm)
        return false;
    // Where a text, as it was or as it is, or the strip may put pixels, the changed
    // pixels would have more layers: the area is drawn as before.
    FaceFrame was = before;
    settleTexts(was);
    settleTexts(after);
    const double X = m_layout.innerRect.x(), Y = m_layout.innerRect.y();
    const double D = m_layout.innerDiameter, R = D / 2;
    const auto meetsTexts = [&](const FaceFrame& f) {
        return step->changed.intersects(
                   laidOut(f.titleText, QRectF(X, Y, D, R), f.dateFontSize).area.toAlignedRect()) ||
               step->changed.intersects(
                   laidOut(f.timeText, QRectF(X, Y, D, D), f.timeFontSize).area.toAlignedRect()) ||
               step->changed.intersects(laidOut(f.dateText, QRectF(X, Y + R, D, R), f.dateFontSize)
                                            .area.toAlignedRect());
    };
    const QRect strip =
        QRect(2 * m_layout.center - kFaceMargin, kFaceMargin, kFaceMargin, 3 * kFaceMargin)
            .adjusted(-1, -1, 1, 1);
    if ((stripColumnFor(state.hotButton) >= 0 && step->changed.intersects(strip)) ||
        meetsTexts(was) || meetsTexts(after))
        return false;
    // The digits and anything else away from the ring, as drawFrame draws them.
    QRegion rest = area - step->changed;
    if (!rest.isEmpty())
        rest = layDigitCells(surface, was, after, state, buttonImage, rest);
    if (!rest.isEmpty())
        drawFrame(surface, after, state, buttonImage, rest);
    // Of the ring only what changes, in the order drawFrame lays its layers.
    const SurfacePixels pixels(surface);
    const PixelRuns* overlay = state.showScale || state.isActive
                                   ? &overlayRunsFor(state.showScale, state.isActive)
                                   : nullptr;
    const QRgb colour = m_secondColour;
    const quint8* coverage = step->exactCoverage.data();
    const auto end = step->exact.end();
    for (auto run = step->exact.begin(); run != end;) {
        // A row's runs lie left to right: each layer is read along the row once.
        const int y = run->y;
        PixelRuns::RowReader disc(m_disc, y), rings(m_rings, y), over;
        if (overlay)
            over = PixelRuns::RowReader(*overlay, y);
        QRgb* const line = pixels.line(y);
        for (; run != end && run->y == y; ++run) {
            // The rings and the overlay reach few of the changed pixels.
            const int from = run->x, to = run->x + run->n;
            const bool ringsHere = rings.reaches(from, to), overHere = over.reaches(from, to);
            for (int x = from; x < to; ++x) {
                const uint c = *coverage++;
                QRgb p = c == 255 ? colour : disc.at(x);
                if (c != 0 && c != 255)
                    p = sourceOver(p, byteMul(colour, c));
                if (ringsHere)
                    p = sourceOver(p, rings.at(x));
                if (overHere)
                    p = sourceOver(p, over.at(x));
                line[x] = p;
            }
        }
    }
    return true;
}

} // namespace ovra
