// FaceRenderer: the three text lines, each new text laid out once for its area, its kept part and
// its drawing.
#include "clock/facerenderer.h"

#include <QCoreApplication>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QPainter>
#include <QThread>

#include <algorithm>
#include <cmath>
#include <utility>

namespace ovra {

namespace {

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

bool onMainThread() {
    const QCoreApplication* app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread();
}

constexpr int kTextFlags = Qt::AlignCenter | Qt::TextWordWrap;
constexpr uint8_t kMinFontSize = 12;
} // namespace

void FaceRenderer::settleTexts(FaceFrame& frame) {
    for (QString* text : {&frame.titleText, &frame.timeText, &frame.dateText})
        trimBlanks(*text);
    frame.timeFontSize = std::max(frame.timeFontSize, kMinFontSize);
    frame.dateFontSize = std::max(frame.dateFontSize, kMinFontSize);
}

FaceRenderer::LaidOutText& FaceRenderer::laidOut(const QString& text, const QRectF& box,
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
    // A layout keeps the font engines of the thread that made it, which go with
    // that thread: a pool thread's end would leave it pointing at freed faces. Only
    // the main thread, which lasts as long as the renderer, keeps layouts.
    if (variants || !mainThread) {
        const QRectF bounds = QFontMetricsF(font).boundingRect(box, kTextFlags, text);
        slot.area = textArea(bounds, bounds.width(), bounds.height(), pixelSize);
        return slot;
    }
    if (fromDigitTemplate(slot, shown, font))
        return slot;
    layOut(slot, shown, font);
    return slot;
}

void FaceRenderer::layOut(LaidOutText& slot, const QString& shown, const QFont& font) const {
    const QRectF& box = slot.box;
    auto layout = std::make_shared<QTextLayout>(shown, font);
    layout->setTextOption(textOption(QTextOption::WordWrap));
    layout->setCacheEnabled(true);
    const qreal leading = QFontMetricsF(font).leading();
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
    slot.area = textArea(box, width, height, slot.size);
    slot.layout = std::move(layout);
}

QRectF FaceRenderer::textArea(const QRectF& box, qreal width, qreal height, uint8_t pixelSize) {
    const double margin = pixelSize / 4.0 + 2;
    return QRectF(box.x() + (box.width() - width) / 2, box.y() + (box.height() - height) / 2, width,
                  height)
        .adjusted(-margin, -margin, margin, margin);
}

void FaceRenderer::forgetLayouts() const {
    for (LaidOutText& t : m_laidOut)
        t = {};
    m_offThread = {};
    for (DigitTemplate& t : m_digitTemplates)
        t = {};
}

QTextOption FaceRenderer::textOption(QTextOption::WrapMode wrap) const {
    QTextOption option;
    option.setTextDirection(m_textDirection);
    option.setAlignment(Qt::AlignLeft | Qt::AlignAbsolute);
    option.setWrapMode(wrap);
    return option;
}

qreal FaceRenderer::lineAdvance(const LaidOutText& t, const QTextLine& line) {
    return t.digits ? t.digitsAdvance : line.horizontalAdvance();
}

qreal FaceRenderer::cursorX(const LaidOutText& t, int position) {
    if (t.digits && position < t.digits->positions().size())
        return t.digits->positions().at(position).x();
    return t.layout->lineAt(0).cursorToX(position);
}

QRectF FaceRenderer::inkArea(LaidOutText& t, const QRectF& box) const {
    // Without a layout of its own (drawText lays the text out) only the area is known.
    if (!t.layout)
        return t.area;
    if (!t.ink) {
        QRectF ink;
        const qreal yoff = (box.height() - t.drawnHeight) / 2;
        for (int i = 0; i < t.drawnLines; ++i) {
            const QTextLine line = t.layout->lineAt(i);
            const QPointF at(box.x() + (box.width() - lineAdvance(t, line)) / 2, box.y() + yoff);
            // A text taken from a template has its own glyphs in the template's line.
            if (t.digits)
                ink |= t.digits->boundingRect().translated(at);
            else
                for (const QGlyphRun& run : line.glyphRuns())
                    ink |= run.boundingRect().translated(at);
        }
        // The glyphs' boxes are their outlines; anti-aliasing and the rounding of
        // their places reach a pixel or so further.
        t.ink = ink.isEmpty() ? QRectF() : ink.adjusted(-2, -2, 2, 2);
    }
    return *t.ink;
}

void FaceRenderer::drawTexts(QPainter& p, FaceFrame& frame, const QRegion& area,
                             bool direct) const {
    const double X = m_layout.innerRect.x(), Y = m_layout.innerRect.y();
    const double D = m_layout.innerDiameter, R = D / 2;
    // The part of the area being redrawn that a text takes; a text wholly outside it
    // is left out. The title and date, which stay while the time beside them
    // changes, are judged by their ink: their areas reach into the time's.
    const auto within = [&](QString& text, const QRectF& box, uint8_t& size, bool byInk) {
        trimBlanks(text);
        size = std::max(size, kMinFontSize);
        LaidOutText& t = laidOut(text, box, size);
        // Asked first without building a region: the title and date lie outside a
        // plain second's area.
        const QRect taken = t.area.toAlignedRect();
        if (!area.intersects(taken) || (byInk && !area.intersects(inkArea(t, box).toAlignedRect())))
            return QRegion();
        return area.intersected(taken);
    };
    const auto draw = [&](QString& text, const QRectF& box, const QBrush& brush, uint8_t& size,
                          bool byInk) {
        if (!area.isEmpty()) {
            const QRegion part = within(text, box, size, byInk);
            if (part.isEmpty())
                return;
            // Clipped to the piece or two of the area the text takes, its glyphs
            // are blended straight in rather than span by span of every piece.
            p.setClipRegion(part);
        }
        if (direct)
            drawText(p, text, box.x(), box.y(), box.width(), box.height(), brush, size, 0);
        else
            drawLaidOutText(p, text, box, brush, size);
    };
    draw(frame.titleText, QRectF(X, Y, D, R), m_tools.dateBrush, frame.dateFontSize, true);
    draw(frame.timeText, QRectF(X, Y, D, D), m_tools.timeBrush, frame.timeFontSize, false);
    draw(frame.dateText, QRectF(X, Y + R, D, R), m_tools.dateBrush, frame.dateFontSize, true);
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

void FaceRenderer::drawText(QPainter& p, QString& text, double x, double y, double R, double B,
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
        drawText(p, text, box.x(), box.y(), box.width(), box.height(), brush, pixelSize, 0);
        return;
    }
    // Fonts take the resolution of the device they draw on; a window's may not be
    // an image's. Layouts are made for the one drawn on last.
    const int dpi = p.device()->logicalDpiY();
    if (!m_fontDevice.isNull() && dpi != m_fontDevice.logicalDpiY() && dpi > 0) {
        const int dotsPerMeter = qRound(dpi / 0.0254);
        m_fontDevice.setDotsPerMeterX(dotsPerMeter);
        m_fontDevice.setDotsPerMeterY(dotsPerMeter);
        forgetLayouts();
    }
    const LaidOutText& t = laidOut(text, box, pixelSize);
    if (!t.layout || dpi != m_fontDevice.logicalDpiY()) {
        drawText(p, text, box.x(), box.y(), box.width(), box.height(), brush, pixelSize, 0);
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
        const QPointF at(box.x() + (box.width() - lineAdvance(t, line)) / 2, box.y() + yoff);
        if (t.digits) {
            // A line takes its place in 64ths of a pixel, cut towards zero, before
            // the painter's scale; a glyph run only after it.
            const auto cut = [](qreal v) {
                return std::trunc(v * 64) / 64;
            };
            p.drawGlyphRun(QPointF(cut(at.x()), cut(at.y())), *t.digits);
        } else
            line.draw(&p, at);
    }
    if (clip)
        p.restore();
}

} // namespace ovra
