#include "clock/facerenderer.h"

#include <QCoreApplication>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPainter>
#include <QThread>
#include <QtMath>

#include <algorithm>
#include <cmath>
#include <utility>

namespace ovra {

namespace {

// Shapes are placed with pixel centres on whole coordinates, so a one-pixel scale
// line on a whole coordinate covers exactly one pixel column instead of smearing
// over two. Images and text keep the plain pixel grid.
constexpr qreal kShapeOffset = 0.5;

constexpr int kStripCell = kFaceMargin;

// Trims the blank character only, as the face's texts need.
void trimBlanks(QString& text) {
    qsizetype begin = 0, end = text.size();
    while (begin < end && text.at(begin) == u' ')
        ++begin;
    while (end > begin && text.at(end - 1) == u' ')
        --end;
    if (begin != 0 || end != text.size())
        text = text.mid(begin, end - begin);
}

constexpr int kTextFlags = Qt::AlignCenter | Qt::TextWordWrap;

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

constexpr uint8_t kMinFontSize = 12;

bool onMainThread() {
    const QCoreApplication* app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread();
}

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
    m_ringArea = outerBounds(layout.MinuteOuterRect).intersected(all);
    // The highlight ring runs up to three pixels outside the dial.
    m_overlayArea = outerBounds(layout.DialRect.adjusted(-2, -2, 2, 2)).intersected(all);
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
        m_secondQuarters[q] = ringSector(m_layout.SecondArcRect, m_tools.SecondPen.widthF(),
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
    for (LaidOutText& t : m_laidOut)
        t = {};
    m_offThread = {};
    m_fontDevice = QImage();
    m_prepared = false;
}

QRect FaceRenderer::surfaceRect(const QRect& windowRect) const {
    return QRect(windowRect.topLeft() * m_scale, windowRect.size() * m_scale);
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
    if (frame.MinuteSweep == m_ringMinute && frame.HourSweep == m_ringHour &&
        frame.pmHour == m_ringPm)
        return;
    if (frame.MinuteSweep == m_comingMinute && frame.HourSweep == m_comingHour &&
        frame.pmHour == m_comingPm) {
        m_rings = std::exchange(m_comingRings, PixelRuns());
        m_ringLayer = std::exchange(m_comingRingLayer, QImage());
    } else if (!drawRingLayer(frame, m_rings, m_ringLayer)) {
        return;
    }
    m_comingMinute = m_comingHour = -1;
    m_ringMinute = frame.MinuteSweep;
    m_ringHour = frame.HourSweep;
    m_ringPm = frame.pmHour;
}

void FaceRenderer::prepareRingLayer(const FaceFrame& coming) {
    if (!m_prepared || ringLayerReady(coming))
        return;
    if (!drawRingLayer(coming, m_comingRings, m_comingRingLayer))
        return;
    m_comingMinute = coming.MinuteSweep;
    m_comingHour = coming.HourSweep;
    m_comingPm = coming.pmHour;
}

bool FaceRenderer::ringLayerReady(const FaceFrame& frame) const {
    return (frame.MinuteSweep == m_ringMinute && frame.HourSweep == m_ringHour &&
            frame.pmHour == m_ringPm) ||
           (frame.MinuteSweep == m_comingMinute && frame.HourSweep == m_comingHour &&
            frame.pmHour == m_comingPm);
}

void FaceRenderer::settleTexts(FaceFrame& frame) {
    for (QString* text : {&frame.TitleText, &frame.TimeText, &frame.DateText})
        trimBlanks(*text);
    frame.TimeFontSize = std::max(frame.TimeFontSize, kMinFontSize);
    frame.DateFontSize = std::max(frame.DateFontSize, kMinFontSize);
}

QRectF FaceRenderer::textArea(const QString& text, const QRectF& box, uint8_t pixelSize) const {
    return laidOut(text, box, pixelSize).area;
}

const FaceRenderer::LaidOutText& FaceRenderer::laidOut(const QString& text, const QRectF& box,
                                                       uint8_t pixelSize) const {
    // Each text is asked for twice a second (where it was, where it is) and again
    // when drawn.
    ++m_layoutUse;
    LaidOutText* found = nullptr;
    for (LaidOutText& t : m_laidOut)
        if (t.size == pixelSize && t.box == box && t.text == text) {
            t.lastUse = m_layoutUse;
            // One measured on another thread is laid out again here, to be kept.
            if (t.layout || text.isEmpty() || !onMainThread() || text.contains(QChar(0x9c)))
                return t;
            found = &t;
        }
    // The title and date stay for hours while the time takes a new text each
    // second: the one left unasked longest makes room. Another thread measures in a
    // slot of its own and leaves the kept layouts, and their fonts, alone.
    const bool mainThread = onMainThread();
    LaidOutText& slot = !mainThread ? m_offThread
                        : found     ? *found
                                    : *std::min_element(m_laidOut.begin(), m_laidOut.end(),
                                                        [](const LaidOutText& a, const LaidOutText& b) {
                                                        return a.lastUse < b.lastUse;
                                                    });
    slot = {};
    slot.text = text;
    slot.size = pixelSize;
    slot.box = box;
    slot.lastUse = m_layoutUse;
    if (text.isEmpty())
        return slot;
    // Glyphs reach past their advances by their bearings and anti-aliasing.
    const double margin = pixelSize / 4.0 + 2;
    // drawText shows returns and tabs as blanks and line feeds as line breaks. A
    // text of several length variants it picks from is left to it.
    QString shown = text;
    bool variants = false;
    for (QChar& c : shown) {
        if (c == u'\r' || c == u'\t')
            c = u' ';
        else if (c == u'\n')
            c = QChar::LineSeparator;
        else if (c == QChar(0x9c))
            variants = true;
    }
    // The font as a painter on the surface makes it.
    const QFont font =
        m_fontDevice.isNull() ? fontFor(pixelSize) : QFont(fontFor(pixelSize), &m_fontDevice);
    const QFontMetricsF metrics(font);
    // A layout keeps the font engines of the thread that made it, which go with
    // that thread: a pool thread's end would leave it pointing at freed faces. Only
    // the main thread, which lasts as long as the renderer, keeps layouts.
    if (variants || !mainThread) {
        slot.area =
            metrics.boundingRect(box, kTextFlags, text).adjusted(-margin, -margin, margin, margin);
        return slot;
    }
    auto layout = std::make_shared<QTextLayout>(shown, font);
    QTextOption option;
    option.setTextDirection(QGuiApplication::layoutDirection());
    option.setAlignment(Qt::AlignLeft);
    option.setWrapMode(QTextOption::WordWrap);
    layout->setTextOption(option);
    layout->setCacheEnabled(true);
    const qreal leading = metrics.leading();
    qreal height = -leading, width = 0;
    bool drawing = true;
    layout->beginLayout();
    for (;;) {
        QTextLine line = layout->createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(std::max<qreal>(0, box.width()));
        // Lines start on whole pixels, and the height they take is not rounded.
        height = std::ceil(height + leading);
        line.setPosition(QPointF(0, height));
        height += line.ascent() + line.descent();
        width = std::max(width, line.naturalTextWidth());
        if (drawing) {
            slot.drawnLines = layout->lineCount();
            slot.drawnWidth = width;
            slot.drawnHeight = height;
            drawing = height < box.height();
        }
    }
    layout->endLayout();
    const QRectF bounds(box.x() + (box.width() - width) / 2, box.y() + (box.height() - height) / 2,
                        width, height);
    slot.area = bounds.adjusted(-margin, -margin, margin, margin);
    slot.layout = std::move(layout);
    return slot;
}

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
    return a.MinuteSweep != b.MinuteSweep || a.HourSweep != b.HourSweep || a.pmHour != b.pmHour;
}

QRegion FaceRenderer::changedArea(const FaceFrame& before, const FaceFrame& after) const {
    if (!m_prepared)
        return {};
    QRegion area;
    if (before.SecondSweep != after.SecondSweep)
        area += ringArea(m_layout.SecondArcRect, m_tools.SecondPen.widthF(), before.SecondSweep,
                         after.SecondSweep);
    // A new minute redraws the ring layer, but within the same hour only the minute
    // ring's new piece differs: pushing the whole band of both rings made the first
    // second of every minute the one that came late at the largest size.
    if (before.HourSweep != after.HourSweep || before.pmHour != after.pmHour)
        area += m_ringArea;
    else if (before.MinuteSweep != after.MinuteSweep)
        area += ringArea(m_layout.MinuteArcRect, m_tools.MinutePen.widthF(), before.MinuteSweep,
                         after.MinuteSweep);

    const double X = m_layout.InnerRect.x(), Y = m_layout.InnerRect.y();
    const double D = m_layout.InnerDiameter, R = D / 2;
    const auto text = [&](const QString& a, uint8_t sizeA, const QString& b, uint8_t sizeB,
                          const QRectF& box) {
        if (a == b && sizeA == sizeB)
            return;
        const LaidOutText& wasText = laidOut(a, box, sizeA);
        const QRectF was = wasText.area;
        const std::shared_ptr<const QTextLayout> wasLayout = wasText.layout;
        const LaidOutText& nowText = laidOut(b, box, sizeB);
        const QRectF now = nowText.area;
        QRectF changed = was.united(now);
        // The time moves on in its last digits. When both lie alike on one line,
        // glyphs before the first changed character stand where they stood.
        const auto oneLine = [](const std::shared_ptr<const QTextLayout>& layout) {
            return layout && layout->lineCount() == 1;
        };
        if (was == now && sizeA == sizeB && a.size() == b.size() && oneLine(wasLayout) &&
            oneLine(nowText.layout) && leftToRight(a) && leftToRight(b)) {
            qsizetype same = 0;
            while (same < a.size() && a.at(same) == b.at(same))
                ++same;
            const double margin = sizeB / 4.0 + 2;
            const double kept = std::min(wasLayout->lineAt(0).cursorToX(int(same)),
                                         nowText.layout->lineAt(0).cursorToX(int(same)));
            const double firstChanged = now.left() + margin + kept;
            changed.setLeft(std::max(changed.left(), firstChanged - margin));
        }
        area += changed.toAlignedRect();
    };
    text(before.TitleText, before.DateFontSize, after.TitleText, after.DateFontSize,
         QRectF(X, Y, D, R));
    text(before.TimeText, before.TimeFontSize, after.TimeText, after.TimeFontSize,
         QRectF(X, Y, D, D));
    text(before.DateText, before.DateFontSize, after.DateText, after.DateFontSize,
         QRectF(X, Y + R, D, R));
    const int side = m_layout.windowSize();
    return area.intersected(QRect(0, 0, side, side));
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
    // where it leaves exactly the pixels the whole frame would.
    if (!area.isEmpty())
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
    if (!area.isEmpty() && frame.SecondSweep < 360) {
        while (firstQuarter < 4 && !area.intersects(m_secondQuarters[firstQuarter]))
            ++firstQuarter;
    }
    if (firstQuarter < 4) {
        const int from = 90 * std::max(0, firstQuarter - 1);
        if (m_runs && !area.isEmpty()) {
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
            drawArc(ring, m_layout.SecondArcRect, frame.SecondSweep, m_tools.SecondPen, from);
        } else {
            p.translate(kShapeOffset, kShapeOffset);
            drawArc(p, m_layout.SecondArcRect, frame.SecondSweep, m_tools.SecondPen, from);
            p.resetTransform();
        }
    }
    if (m_runs)
        layRuns([&](const QRect& r) { m_rings.blendOnto(pixels, r); });
    else
        lay(m_ringArea, [&] { blendLayer(p, m_ringLayer, m_ringArea); });
    drawTexts(p, frame, area, false);
    if (state.showScale || state.IsActive) {
        if (m_runs) {
            const PixelRuns& overlay = overlayRunsFor(state.showScale, state.IsActive);
            layRuns([&](const QRect& r) { overlay.blendOnto(pixels, r); });
        } else {
            const QImage& overlay = overlayFor(state.showScale, state.IsActive);
            lay(m_overlayArea, [&] { blendLayer(p, overlay, m_overlayArea); });
        }
    }
    DrawCloseButton(p, state.HotButton, buttonImage, m_layout.Center);
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
    drawArc(p, m_layout.SecondArcRect, frame.SecondSweep, m_tools.SecondPen);
    p.resetTransform();
    drawMinuteAndHourRings(p, frame);
    drawTexts(p, frame, QRegion(), true);
    if (state.showScale)
        drawScale(p);
    if (state.IsActive)
        drawActiveRing(p);
    DrawCloseButton(p, state.HotButton, buttonImage, m_layout.Center);
}

void FaceRenderer::drawDisc(QPainter& p) const {
    p.save();
    p.translate(kShapeOffset, kShapeOffset);
    p.setPen(Qt::NoPen);
    p.setBrush(m_tools.BackgroundBrush);
    p.drawEllipse(m_layout.DialRect);
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
    drawArc(p, m_layout.MinuteArcRect, frame.MinuteSweep, m_tools.MinutePen);
    drawArc(p, m_layout.HourArcRect, frame.HourSweep,
            frame.pmHour ? m_tools.PmHourPen : m_tools.AmHourPen);
    p.restore();
}

void FaceRenderer::drawTexts(QPainter& p, FaceFrame& frame, const QRegion& area,
                             bool direct) const {
    const double X = m_layout.InnerRect.x(), Y = m_layout.InnerRect.y();
    const double D = m_layout.InnerDiameter, R = D / 2;
    // A text wholly outside the area being redrawn is left out.
    const auto outside = [&](QString& text, const QRectF& box, uint8_t& size) {
        if (area.isEmpty())
            return false;
        trimBlanks(text);
        size = std::max(size, kMinFontSize);
        return !area.intersects(textArea(text, box, size).toAlignedRect());
    };
    const auto draw = [&](QString& text, const QRectF& box, const QBrush& brush, uint8_t& size) {
        if (outside(text, box, size))
            return;
        if (direct)
            DrawText(p, text, box.x(), box.y(), box.width(), box.height(), brush, size, 0);
        else
            drawLaidOutText(p, text, box, brush, size);
    };
    draw(frame.TitleText, QRectF(X, Y, D, R), m_tools.DateBrush, frame.DateFontSize);
    draw(frame.TimeText, QRectF(X, Y, D, D), m_tools.TimeBrush, frame.TimeFontSize);
    draw(frame.DateText, QRectF(X, Y + R, D, R), m_tools.DateBrush, frame.DateFontSize);
}

void FaceRenderer::drawScale(QPainter& p) const {
    p.save();
    p.translate(kShapeOffset, kShapeOffset);
    p.setPen(m_tools.ScalePen);
    p.setBrush(Qt::NoBrush);
    for (const QRectF& r :
         {m_layout.DialRect, m_layout.InnerRect, m_layout.HourOuterRect, m_layout.MinuteOuterRect})
        p.drawEllipse(QRectF(r.toRect()));
    QLineF lines[60 + 24];
    int n = 0;
    for (const TickLine& t : m_layout.MinuteTicks)
        lines[n++] = QLineF(t.x1, t.y1, t.x2, t.y2);
    for (int i = 0; i < m_layout.HourTickCount; ++i) {
        const TickLine& t = m_layout.HourTicks[size_t(i)];
        lines[n++] = QLineF(t.x1, t.y1, t.x2, t.y2);
    }
    p.drawLines(lines, n);
    p.restore();
}

void FaceRenderer::drawActiveRing(QPainter& p) const {
    p.save();
    p.translate(kShapeOffset, kShapeOffset);
    p.setPen(m_tools.ActivePen);
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(m_layout.DialRect.adjusted(-1, -1, 1, 1));
    p.restore();
}

QFont FaceRenderer::fontFor(uint8_t pixelSize) const {
    auto it = m_fonts.find(pixelSize);
    if (it == m_fonts.end()) {
        QFont font(m_fontFamily);
        font.setPixelSize(pixelSize);
        font.setStyleStrategy(QFont::PreferAntialias);
        it = m_fonts.emplace(pixelSize, font).first;
    }
    return it->second;
}

void FaceRenderer::DrawText(QPainter& p, QString& text, double x, double y, double R, double B,
                            const QBrush& brush, uint8_t& fontSize, uint8_t fontStyle) const {
    if (fontSize < kMinFontSize)
        fontSize = kMinFontSize;
    QFont font = fontFor(fontSize);
    // Style 0 is regular; bit 0 bold and bit 1 italic, as the font styles number them.
    // Setting a style the font already has would still detach it from the font
    // engine it found, to be looked up again for every text of every frame.
    if (font.bold() != bool(fontStyle & 1))
        font.setBold(fontStyle & 1);
    if (font.italic() != bool(fontStyle & 2))
        font.setItalic(fontStyle & 2);
    trimBlanks(text);
    p.setFont(font);
    p.setPen(QPen(brush, 1));
    p.drawText(QRectF(x, y, R, B), Qt::AlignCenter | Qt::TextWordWrap, text);
}

void FaceRenderer::drawLaidOutText(QPainter& p, QString& text, const QRectF& box,
                                   const QBrush& brush, uint8_t& pixelSize) const {
    pixelSize = std::max(pixelSize, kMinFontSize);
    trimBlanks(text);
    // Layouts are kept for the main thread: a pool thread's whole frame draws as
    // drawText draws.
    if (!onMainThread()) {
        DrawText(p, text, box.x(), box.y(), box.width(), box.height(), brush, pixelSize, 0);
        return;
    }
    // Fonts take the resolution of the device they draw on; a window's may not be
    // an image's. Layouts are made for the one drawn on last.
    const int dpi = p.device()->logicalDpiY();
    if (!m_fontDevice.isNull() && dpi != m_fontDevice.logicalDpiY() && dpi > 0) {
        const int dotsPerMeter = qRound(dpi / 0.0254);
        m_fontDevice.setDotsPerMeterX(dotsPerMeter);
        m_fontDevice.setDotsPerMeterY(dotsPerMeter);
        for (LaidOutText& kept : m_laidOut)
            kept = {};
    }
    const LaidOutText& t = laidOut(text, box, pixelSize);
    if (!t.layout || dpi != m_fontDevice.logicalDpiY()) {
        DrawText(p, text, box.x(), box.y(), box.width(), box.height(), brush, pixelSize, 0);
        return;
    }
    p.setPen(QPen(brush, 1));
    // Placed as drawText places its lines: the block centred in the box, each line
    // centred on its own; what reaches out of the box is cut at its edges.
    const qreal xoff = (box.width() - t.drawnWidth) / 2, yoff = (box.height() - t.drawnHeight) / 2;
    const bool clip =
        !box.contains(QRectF(box.x() + xoff, box.y() + yoff, t.drawnWidth, t.drawnHeight));
    if (clip) {
        p.save();
        p.setClipRect(box, Qt::IntersectClip);
    }
    for (int i = 0; i < t.drawnLines; ++i) {
        const QTextLine line = t.layout->lineAt(i);
        line.draw(&p,
                  QPointF(box.x() + (box.width() - line.horizontalAdvance()) / 2, box.y() + yoff));
    }
    if (clip)
        p.restore();
}

void FaceRenderer::DrawCloseButton(QPainter& p, int32_t ButtonIndex, const QImage& buttonImage,
                                   int center) {
    const int column = stripColumnFor(ButtonIndex);
    if (column < 0 || buttonImage.isNull())
        return;
    const QRectF target(2 * center - kStripCell, kFaceMargin, kStripCell, 3 * kStripCell);
    const QRectF source(column * kStripCell, 0, kStripCell, 3 * kStripCell);
    p.drawImage(target, buttonImage, source);
}

} // namespace ovra
