#include "clock/facerenderer.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <utility>

namespace ovra {

namespace {

constexpr int kStripCell = kFaceMargin;

QRect outerBounds(const QRectF& r) {
    // One pixel for the offset and one for anti-aliasing beyond the pen or edge.
    return r.toAlignedRect().adjusted(-2, -2, 2, 2);
}

} // namespace

int FaceRenderer::stripColumnFor(int32_t buttonIndex) {
    switch (buttonIndex) {
    case hotbutton::Face:
    case hotbutton::Grip:
        return 0;
    case hotbutton::Close:
        return 1;
    case hotbutton::Settings:
        return 2;
    default:
        return -1;
    }
}

void FaceRenderer::prepare(const ClockLayout& layout, const DrawTools& tools,
                           const QString& fontFamily, qreal dpr) {
    release();
    if (!layout.isValid() || !tools.exists())
        return;
    m_layout = layout;
    m_tools = tools;
    m_fontFamily = fontFamily;
    m_dpr = dpr > 0 ? dpr : 1.0;

    const QRect all(0, 0, layout.windowSize(), layout.windowSize());
    m_ringArea = outerBounds(layout.minuteOuterRect).intersected(all);
    // The highlight ring runs up to three pixels outside the dial.
    m_overlayArea = outerBounds(layout.dialRect.adjusted(-2, -2, 2, 2)).intersected(all);
    m_runs = m_dpr == std::floor(m_dpr);
    m_scale = int(m_dpr);
    QImage disc = newLayer(all);
    if (!m_runs)
        m_ringLayer = newLayer(m_ringArea);
    if (disc.isNull() || (!m_runs && m_ringLayer.isNull())) {
        release();
        return;
    }
    m_surfaceSize = disc.size();
    m_fontDevice = QImage(1, 1, QImage::Format_ARGB32_Premultiplied);
    m_fontDevice.setDevicePixelRatio(m_dpr);
    m_textDirection = QPainter(&m_fontDevice).layoutDirection();
    {
        QPainter p(&disc);
        p.setRenderHint(QPainter::Antialiasing);
        drawDisc(p);
    }
    if (m_runs)
        m_disc = PixelRuns(disc, QPoint(0, 0));
    else
        m_discLayer = disc;
    m_secondRing = QRegion();
    for (int q = 0; q < 4; ++q) {
        m_secondQuarters[q] = ringSector(m_layout.secondArcRect, m_tools.secondPen.widthF(),
                                         90.0 * q, 90.0 * (q + 1));
        m_secondRing += m_secondQuarters[q];
    }
    m_prepared = true;
}

void FaceRenderer::release() {
    m_discLayer = m_ringLayer = QImage();
    m_disc = m_rings = m_overlay = PixelRuns();
    m_overlayKind = -1;
    m_surfaceSize = QSize();
    for (QImage& overlay : m_overlays)
        overlay = QImage();
    m_ringMinute = m_ringHour = -1;
    m_ringPm = false;
    m_comingRings = PixelRuns();
    m_comingRingLayer = QImage();
    m_comingMinute = m_comingHour = -1;
    m_fonts.clear();
    forgetLayouts();
    m_fontDevice = QImage();
    m_secondSteps.clear();
    m_secondStepsTried = false;
    m_digitCells.clear();
    m_digitCellBytes = 0;
    m_digitCellsKind = -1;
    m_digitCellsLine = nullptr;
    m_prepared = false;
}

QImage FaceRenderer::drawOverlay(bool scale, bool active) const {
    QImage overlay = newLayer(m_overlayArea);
    if (!overlay.isNull()) {
        QPainter p(&overlay);
        p.translate(-m_overlayArea.topLeft());
        p.setRenderHint(QPainter::Antialiasing);
        if (scale)
            drawScale(p);
        if (active)
            drawActiveRing(p);
    }
    return overlay;
}

const PixelRuns& FaceRenderer::overlayRunsFor(bool scale, bool active) {
    // Fixed until the next re-apply; only the combination on show is kept.
    const int wanted = (scale ? 1 : 0) + (active ? 2 : 0);
    if (m_overlayKind != wanted) {
        const QImage overlay = drawOverlay(scale, active);
        m_overlay =
            overlay.isNull() ? PixelRuns() : PixelRuns(overlay, m_overlayArea.topLeft() * m_scale);
        m_overlayKind = wanted;
    }
    return m_overlay;
}

const QImage& FaceRenderer::overlayFor(bool scale, bool active) {
    // The scale and the highlight ring are fixed until the next re-apply. Only the
    // combination on show is kept: the window's activation changes seldom, and
    // drawing the overlay again costs less than keeping four window-sized layers.
    const int wanted = (scale ? 1 : 0) + (active ? 2 : 0);
    for (int i = 0; i < 4; ++i)
        if (i != wanted)
            m_overlays[i] = QImage();
    QImage& overlay = m_overlays[wanted];
    if (overlay.isNull())
        overlay = drawOverlay(scale, active);
    return overlay;
}

QImage FaceRenderer::newLayer(const QRect& area) const {
    // A layer holds only the window pixels it can draw on.
    QImage image(area.size() * m_dpr, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return image;
    image.setDevicePixelRatio(m_dpr);
    image.fill(Qt::transparent);
    return image;
}

void FaceRenderer::blendLayer(QPainter& p, const QImage& layer, const QRect& area) const {
    p.drawImage(QRectF(area), layer, QRectF(0, 0, layer.width(), layer.height()));
}

bool FaceRenderer::drawRingLayer(const FaceFrame& frame, PixelRuns& runs, QImage& image) const {
    // Within an hour only the minute ring moves, and only in the quarter it ends in:
    // the layer on show is drawn anew there alone, a fraction of the whole.
    if (m_runs && !m_rings.isNull() && frame.hourSweep == m_ringHour && frame.pmHour == m_ringPm &&
        frame.minuteSweep != m_ringMinute) {
        const QRect box = ringArea(m_layout.minuteArcRect, m_tools.minutePen.widthF(), m_ringMinute,
                                   frame.minuteSweep)
                              .boundingRect()
                              .intersected(m_ringArea);
        QImage patch = newLayer(box);
        if (!patch.isNull()) {
            {
                QPainter p(&patch);
                p.translate(-box.topLeft());
                p.setRenderHint(QPainter::Antialiasing);
                drawMinuteAndHourRings(p, frame);
            }
            runs = m_rings.patched(patch, surfaceRect(box).topLeft());
            return !runs.isNull();
        }
    }
    // Kept as runs, the layer is drawn in an image made for the moment.
    QImage layer = m_runs ? newLayer(m_ringArea) : std::exchange(image, QImage());
    if (layer.isNull() && !m_runs)
        layer = newLayer(m_ringArea);
    if (layer.isNull())
        return false;
    layer.fill(Qt::transparent);
    {
        QPainter p(&layer);
        p.translate(-m_ringArea.topLeft());
        p.setRenderHint(QPainter::Antialiasing);
        drawMinuteAndHourRings(p, frame);
    }
    if (m_runs)
        runs = PixelRuns(layer, m_ringArea.topLeft() * m_scale);
    else
        image = layer;
    return true;
}

void FaceRenderer::updateRingLayer(const FaceFrame& frame) {
    if (frame.minuteSweep == m_ringMinute && frame.hourSweep == m_ringHour &&
        frame.pmHour == m_ringPm)
        return;
    if (frame.minuteSweep == m_comingMinute && frame.hourSweep == m_comingHour &&
        frame.pmHour == m_comingPm) {
        m_rings = std::exchange(m_comingRings, PixelRuns());
        m_ringLayer = std::exchange(m_comingRingLayer, QImage());
    } else if (!drawRingLayer(frame, m_rings, m_ringLayer)) {
        return;
    }
    m_comingMinute = m_comingHour = -1;
    m_ringMinute = frame.minuteSweep;
    m_ringHour = frame.hourSweep;
    m_ringPm = frame.pmHour;
}

void FaceRenderer::prepareRingLayer(const FaceFrame& coming) {
    if (!m_prepared || ringLayerReady(coming))
        return;
    if (!drawRingLayer(coming, m_comingRings, m_comingRingLayer))
        return;
    m_comingMinute = coming.minuteSweep;
    m_comingHour = coming.hourSweep;
    m_comingPm = coming.pmHour;
}

bool FaceRenderer::ringLayerReady(const FaceFrame& frame) const {
    return (frame.minuteSweep == m_ringMinute && frame.hourSweep == m_ringHour &&
            frame.pmHour == m_ringPm) ||
           (frame.minuteSweep == m_comingMinute && frame.hourSweep == m_comingHour &&
            frame.pmHour == m_comingPm);
}

void FaceRenderer::drawFrame(QImage& surface, FaceFrame& frame, const FaceState& state,
                             const QImage& buttonImage, const QRegion& area) {
    if (!m_prepared || surface.isNull() || surface.size() != m_surfaceSize)
        return;
    updateRingLayer(frame);
    // Runs are laid into the surface's pixels between the painter's drawing calls,
    // each over the whole surface or each rectangle of the area.
    const SurfacePixels pixels(surface);
    const auto layRuns = [&](const auto& layOne) {
        if (area.isEmpty()) {
            layOne(pixels.bounds);
            return;
        }
        for (const QRect& r : area)
            layOne(surfaceRect(r));
    };
    // Laying the disc clears the surface and lays the dial in one pass.
    if (m_runs)
        layRuns([&](const QRect& r) { m_disc.copyTo(pixels, r); });
    QPainter p(&surface);
    // Everything below is drawn as for a whole frame; the clip keeps it to the area,
    // where it leaves exactly the pixels the whole frame would. Where layers are
    // runs, the painter draws only texts, each clipped to its own part of the area.
    if (!area.isEmpty() && !m_runs)
        p.setClipRegion(area);
    p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                     QPainter::SmoothPixmapTransform);
    // Under a clip of several rectangles Qt blends an image span by span and hands
    // large batches of spans to its thread pool, a wake of other threads for a few
    // microseconds of work; within one rectangle it blends the lines itself, to the
    // same pixels. Layers are laid one rectangle of the area at a time.
    const auto lay = [&](const QRect& layerArea, const auto& blend) {
        if (area.isEmpty()) {
            blend();
            return;
        }
        for (const QRect& r : area) {
            if (!r.intersects(layerArea))
                continue;
            p.setClipRect(r);
            blend();
        }
        p.setClipRegion(area);
    };
    if (!m_discLayer.isNull()) {
        p.setCompositionMode(QPainter::CompositionMode_Source);
        lay(QRect(QPoint(0, 0), m_discLayer.deviceIndependentSize().toSize()),
            [&] { p.drawImage(0, 0, m_discLayer); });
        p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    }
    // Stroking the ring costs the most. Its curves before the quarter the area
    // first touches leave no pixel in the area, nor does its start a whole quarter
    // further back: the arc may start there.
    int firstQuarter = 0;
    if (!area.isEmpty() && frame.secondSweep < 360) {
        while (firstQuarter < 4 && !area.intersects(m_secondQuarters[firstQuarter]))
            ++firstQuarter;
    }
    if (firstQuarter < 4) {
        const int from = 90 * std::max(0, firstQuarter - 1);
        if (m_runs && !area.isEmpty() && laySecondStep(pixels, frame.secondSweep, area)) {
            // Laid from the coverage kept for this second.
        } else if (m_runs && !area.isEmpty()) {
            // Qt rasterises a shape over the whole device and clips the result, so the
            // ring, a quarter of the window long, is drawn on a view of just the
            // pixels it may change: the same pixels for a small part of the work.
            const QRect box = area.intersected(m_secondRing).boundingRect();
            const QRect pixelsBox = surfaceRect(box);
            QImage view(pixels.bits + pixelsBox.y() * pixels.bytesPerLine + pixelsBox.x() * 4,
                        pixelsBox.width(), pixelsBox.height(), pixels.bytesPerLine,
                        QImage::Format_ARGB32_Premultiplied);
            view.setDevicePixelRatio(m_dpr);
            QPainter ring(&view);
            ring.setRenderHints(p.renderHints());
            ring.translate(-box.topLeft());
            ring.setClipRegion(area);
            ring.translate(kShapeOffset, kShapeOffset);
            drawArc(ring, m_layout.secondArcRect, frame.secondSweep, m_tools.secondPen, from);
        } else {
            p.translate(kShapeOffset, kShapeOffset);
            drawArc(p, m_layout.secondArcRect, frame.secondSweep, m_tools.secondPen, from);
            p.resetTransform();
        }
    }
    if (m_runs)
        layRuns([&](const QRect& r) { m_rings.blendOnto(pixels, r); });
    else
        lay(m_ringArea, [&] { blendLayer(p, m_ringLayer, m_ringArea); });
    drawTexts(p, frame, area, false);
    if (state.showScale || state.isActive) {
        if (m_runs) {
            const PixelRuns& overlay = overlayRunsFor(state.showScale, state.isActive);
            layRuns([&](const QRect& r) { overlay.blendOnto(pixels, r); });
        } else {
            const QImage& overlay = overlayFor(state.showScale, state.isActive);
            lay(m_overlayArea, [&] { blendLayer(p, overlay, m_overlayArea); });
        }
    }
    if (!area.isEmpty() && stripColumnFor(state.hotButton) >= 0)
        p.setClipRegion(area);
    drawCloseButton(p, state.hotButton, buttonImage, m_layout.center);
}

void FaceRenderer::drawFrameDirect(QImage& surface, FaceFrame& frame, const FaceState& state,
                                   const QImage& buttonImage) const {
    if (!m_prepared || surface.isNull())
        return;
    surface.fill(Qt::transparent);
    QPainter p(&surface);
    p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                     QPainter::SmoothPixmapTransform);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    drawDisc(p);
    p.translate(kShapeOffset, kShapeOffset);
    drawArc(p, m_layout.secondArcRect, frame.secondSweep, m_tools.secondPen);
    p.resetTransform();
    drawMinuteAndHourRings(p, frame);
    drawTexts(p, frame, QRegion(), true);
    if (state.showScale)
        drawScale(p);
    if (state.isActive)
        drawActiveRing(p);
    drawCloseButton(p, state.hotButton, buttonImage, m_layout.center);
}

void FaceRenderer::drawDisc(QPainter& p) const {
    p.save();
    p.translate(kShapeOffset, kShapeOffset);
    p.setPen(Qt::NoPen);
    p.setBrush(m_tools.backgroundBrush);
    p.drawEllipse(m_layout.dialRect);
    p.restore();
}

void FaceRenderer::drawArc(QPainter& p, const QRectF& rect, float sweep, const QPen& pen,
                           int from) const {
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    if (sweep >= 360) {
        // A closed ring: an arc whose ends meet would leave a faint seam at twelve.
        p.drawEllipse(rect);
        return;
    }
    if (from >= sweep)
        return;
    // Twelve o'clock is 90 degrees in Qt's counter-clockwise angles; a clockwise
    // sweep is a negative span. Sweeps are whole degrees, so 1/16 units are exact.
    p.drawArc(rect, (90 - from) * 16, -qRound((sweep - from) * 16));
}

void FaceRenderer::drawMinuteAndHourRings(QPainter& p, const FaceFrame& frame) const {
    p.save();
    p.translate(kShapeOffset, kShapeOffset);
    drawArc(p, m_layout.minuteArcRect, frame.minuteSweep, m_tools.minutePen);
    drawArc(p, m_layout.hourArcRect, frame.hourSweep,
            frame.pmHour ? m_tools.pmHourPen : m_tools.amHourPen);
    p.restore();
}

void FaceRenderer::drawScale(QPainter& p) const {
    p.save();
    p.translate(kShapeOffset, kShapeOffset);
    p.setPen(m_tools.scalePen);
    p.setBrush(Qt::NoBrush);
    for (const QRectF& r :
         {m_layout.dialRect, m_layout.innerRect, m_layout.hourOuterRect, m_layout.minuteOuterRect})
        p.drawEllipse(QRectF(r.toRect()));
    QLineF lines[60 + 24];
    int n = 0;
    for (const TickLine& t : m_layout.minuteTicks)
        lines[n++] = QLineF(t.x1, t.y1, t.x2, t.y2);
    for (int i = 0; i < m_layout.hourTickCount; ++i) {
        const TickLine& t = m_layout.hourTicks[size_t(i)];
        lines[n++] = QLineF(t.x1, t.y1, t.x2, t.y2);
    }
    p.drawLines(lines, n);
    p.restore();
}

void FaceRenderer::drawActiveRing(QPainter& p) const {
    p.save();
    p.translate(kShapeOffset, kShapeOffset);
    p.setPen(m_tools.activePen);
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(m_layout.dialRect.adjusted(-1, -1, 1, 1));
    p.restore();
}

void FaceRenderer::drawCloseButton(QPainter& p, int32_t ButtonIndex, const QImage& buttonImage,
                                   int center) {
    const int column = stripColumnFor(ButtonIndex);
    if (column < 0 || buttonImage.isNull())
        return;
    const QRectF target(2 * center - kStripCell, kFaceMargin, kStripCell, 3 * kStripCell);
    const QRectF source(column * kStripCell, 0, kStripCell, 3 * kStripCell);
    p.drawImage(target, buttonImage, source);
}

} // namespace ovra
