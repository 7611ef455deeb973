// FaceRenderer: a text that differs from one laid out before only in its digits takes that one's
// line with its own glyphs, placed from what shaping its pattern taught.
#include "clock/facerenderer.h"

#include <QRawFont>
#include <QTextLayout>

#include <algorithm>

namespace ovra {

namespace {

bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

QChar digit(qsizetype n) {
    return QChar(char16_t(u'0' + n % 10));
}

// The pattern with its digits filled in: place i (counted over the whole text)
// takes the digit (stride * i + shift) % 10.
QString filledIn(const QString& pattern, int stride, int shift) {
    QString filled = pattern;
    for (qsizetype i = 0; i < filled.size(); ++i)
        if (isDigit(filled[i]))
            filled[i] = digit(stride * i + shift);
    return filled;
}

GlyphPlacement::Line lineOf(const QString& text, const QGlyphRun& run, qreal width, qreal advance) {
    return {text, run.glyphIndexes(), run.positions(), width, advance};
}

} // namespace

std::optional<GlyphPlacement::Line> FaceRenderer::shapedOnOneLine(const QString& text,
                                                                  const QFont& font) const {
    QTextLayout layout(text, font);
    layout.setTextOption(textOption(QTextOption::NoWrap));
    layout.beginLayout();
    QTextLine line = layout.createLine();
    layout.endLayout();
    if (!line.isValid() || layout.lineCount() != 1)
        return std::nullopt;
    // Another font for some characters makes a second run; a ligature or a mark
    // makes other than one glyph a character.
    const QList<QGlyphRun> runs = line.glyphRuns();
    if (runs.size() != 1 || runs.front().glyphIndexes().size() != text.size())
        return std::nullopt;
    return lineOf(text, runs.front(), line.naturalTextWidth(), line.horizontalAdvance());
}

const FaceRenderer::DigitTemplate& FaceRenderer::digitTemplate(const QString& pattern, uint8_t size,
                                                               const QRectF& box,
                                                               const QFont& font) const {
    ++m_layoutUse;
    for (DigitTemplate& t : m_digitTemplates)
        if (t.size == size && t.box == box && t.pattern == pattern) {
            t.lastUse = m_layoutUse;
            return t;
        }
    DigitTemplate& t = *std::min_element(
        m_digitTemplates.begin(), m_digitTemplates.end(),
        [](const DigitTemplate& a, const DigitTemplate& b) { return a.lastUse < b.lastUse; });
    t = {};
    t.pattern = pattern;
    t.size = size;
    t.box = box;
    t.lastUse = m_layoutUse;
    t.laid.size = size;
    t.laid.box = box;
    layOut(t.laid, pattern, font);
    // Only a text drawn whole on one line, as one run of a glyph a character.
    if (t.laid.layout->lineCount() != 1 || t.laid.drawnLines != 1)
        return t;
    const QTextLine line = t.laid.layout->lineAt(0);
    const QList<QGlyphRun> runs = line.glyphRuns();
    if (runs.size() != 1 || runs.front().glyphIndexes().size() != pattern.size())
        return t;
    const QGlyphRun& run = runs.front();
    // Where each character starts is where its glyph stands: no glyph is moved
    // off its place (as a mark would be).
    for (qsizetype i = 0; i < pattern.size(); ++i)
        if (line.cursorToX(int(i)) != run.positions().at(i).x())
            return t;
    // Every ordered pair of digits stands side by side in 00 01 02 ... 99, and
    // every place of a digit takes each digit in turn beside different digits.
    QStringList taught;
    QString pairs;
    for (int n = 0; n < 100; ++n)
        pairs += QString(digit(n / 10)) + digit(n);
    taught << pairs << pattern;
    for (int shift = 0; shift < 10; ++shift)
        taught << filledIn(pattern, 1, shift);
    for (const QString& text : taught) {
        const std::optional<GlyphPlacement::Line> shaped = shapedOnOneLine(text, font);
        if (!shaped || !t.placement.learn(*shaped))
            return t;
    }
    // What was learnt must place other fillings, and the pattern in its box, as
    // laying them out does.
    const auto placedAsShaped = [&](const GlyphPlacement::Line& shaped) {
        const std::optional<GlyphPlacement::Line> placed = t.placement.place(shaped.text);
        return placed && placed->glyphs == shaped.glyphs && placed->positions == shaped.positions &&
               placed->width == shaped.width && placed->advance == shaped.advance;
    };
    if (!placedAsShaped(lineOf(pattern, run, line.naturalTextWidth(), line.horizontalAdvance())))
        return t;
    for (int shift = 0; shift < 10; shift += 3) {
        const std::optional<GlyphPlacement::Line> shaped =
            shapedOnOneLine(filledIn(pattern, 7, shift), font);
        if (!shaped || !placedAsShaped(*shaped))
            return t;
    }
    t.run = run;
    return t;
}

bool FaceRenderer::fromDigitTemplate(LaidOutText& slot, const QString& shown,
                                     const QFont& font) const {
    QString pattern = shown;
    bool digits = false;
    for (QChar& c : pattern)
        if (isDigit(c)) {
            c = u'0';
            digits = true;
        }
    if (!digits)
        return false;
    const DigitTemplate& t = digitTemplate(pattern, slot.size, slot.box, font);
    if (!t.run)
        return false;
    const std::optional<GlyphPlacement::Line> placed = t.placement.place(shown);
    if (!placed)
        return false;
    slot.digits = *t.run;
    slot.digits->setGlyphIndexes(placed->glyphs);
    slot.digits->setPositions(placed->positions);
    // Its box is found from its own glyphs, not kept from the pattern's.
    slot.digits->setBoundingRect(QRectF());
    slot.digitsAdvance = placed->advance;
    slot.layout = t.laid.layout;
    slot.drawnLines = t.laid.drawnLines;
    slot.drawnWidth = placed->width;
    slot.drawnHeight = t.laid.drawnHeight;
    slot.area = textArea(slot.box, placed->width, t.laid.drawnHeight, slot.size);
    return true;
}

std::optional<QRegion> FaceRenderer::changedGlyphs(const LaidOutText& was, const LaidOutText& now) {
    if (!was.digits || !now.digits || was.layout != now.layout || was.box != now.box ||
        was.digitsAdvance != now.digitsAdvance || was.drawnHeight != now.drawnHeight ||
        was.digits->positions() != now.digits->positions())
        return std::nullopt;
    // Placed as drawLaidOutText places the line.
    const QPointF at(now.box.x() + (now.box.width() - now.digitsAdvance) / 2,
                     now.box.y() + (now.box.height() - now.drawnHeight) / 2);
    const QRawFont font = now.digits->rawFont();
    const QList<quint32> a = was.digits->glyphIndexes(), b = now.digits->glyphIndexes();
    const QList<QPointF> places = now.digits->positions();
    QRegion area;
    for (qsizetype i = 0; i < b.size(); ++i) {
        if (a[i] == b[i])
            continue;
        // The glyphs' boxes are their outlines; anti-aliasing and the rounding of
        // their places reach a pixel or so further, as for the texts' ink.
        const QPointF place = at + places[i];
        for (const quint32 glyph : {a[i], b[i]})
            area +=
                font.boundingRect(glyph).translated(place).adjusted(-2, -2, 2, 2).toAlignedRect();
    }
    return area;
}

QRegion FaceRenderer::layDigitCells(QImage& surface, const FaceFrame& before, FaceFrame& after,
                                    const FaceState& state, const QImage& buttonImage,
                                    const QRegion& rest) {
    const double X = m_layout.innerRect.x(), Y = m_layout.innerRect.y();
    const double D = m_layout.innerDiameter, R = D / 2;
    const QRectF box(X, Y, D, D);
    // Copies: asking for another text may reuse the slot.
    const LaidOutText was = laidOut(before.timeText, box, before.timeFontSize);
    const LaidOutText now = laidOut(after.timeText, box, after.timeFontSize);
    if (!was.digits || !now.digits || !now.layout || was.layout != now.layout ||
        was.digitsAdvance != now.digitsAdvance || was.drawnHeight != now.drawnHeight ||
        was.digits->positions() != now.digits->positions())
        return rest;
    const int kind = (state.showScale ? 1 : 0) + (state.isActive ? 2 : 0);
    if (kind != m_digitCellsKind || now.layout.get() != m_digitCellsLine) {
        m_digitCells.clear();
        m_digitCellBytes = 0;
        m_digitCellsKind = kind;
        m_digitCellsLine = now.layout.get();
    }
    // Placed as drawLaidOutText places the line; boxes as changedGlyphs finds them.
    const QPointF at(box.x() + (box.width() - now.digitsAdvance) / 2,
                     box.y() + (box.height() - now.drawnHeight) / 2);
    const QRawFont font = now.digits->rawFont();
    const QList<quint32> a = was.digits->glyphIndexes(), b = now.digits->glyphIndexes();
    const QList<QPointF> places = now.digits->positions();
    const auto inkOf = [&](quint32 glyph, qsizetype i) {
        return font.boundingRect(glyph)
            .translated(at + places[i])
            .adjusted(-2, -2, 2, 2)
            .toAlignedRect();
    };
    std::vector<QRect> inks(size_t(b.size()));
    for (qsizetype i = 0; i < b.size(); ++i)
        inks[size_t(i)] = inkOf(b[i], i);
    // Only the disc, the time and the overlay may lie in a kept cell: it stays well
    // inside the rings, and clear of the title and the date.
    const QRect others[] = {
        laidOut(after.titleText, QRectF(X, Y, D, R), after.dateFontSize).area.toAlignedRect(),
        laidOut(after.dateText, QRectF(X, Y + R, D, R), after.dateFontSize).area.toAlignedRect(),
    };
    const QPointF centre(m_layout.center + kShapeOffset, m_layout.center + kShapeOffset);
    const auto insideRings = [&](const QRect& r) {
        const double reach = R - 3;
        for (const QPointF corner :
             {QPointF(r.topLeft()), QPointF(r.topRight()) + QPointF(1, 0),
              QPointF(r.bottomLeft()) + QPointF(0, 1), QPointF(r.bottomRight()) + QPointF(1, 1)}) {
            const QPointF d = corner - centre;
            if (d.x() * d.x() + d.y() * d.y() > reach * reach)
                return false;
        }
        return true;
    };
    // A minute's seconds take sixty cells of the last digit beside each of the one
    // before, and six of the tens, which come round in turn: those kept first stay
    // (forgetting the oldest would forget each just before it came round again),
    // up to a part of the idle clock's memory.
    constexpr size_t kCellBytes = 128 * 1024;
    QRegion laid;
    for (qsizetype i = 0; i < b.size(); ++i) {
        if (a[i] == b[i])
            continue;
        const QRect cell = inkOf(a[i], i).united(inks[size_t(i)]);
        if (!insideRings(cell) || std::any_of(std::begin(others), std::end(others),
                                              [&](const QRect& r) { return r.intersects(cell); }))
            continue;
        std::vector<std::pair<qsizetype, quint32>> glyphs;
        for (qsizetype j = 0; j < b.size(); ++j)
            if (inks[size_t(j)].intersects(cell))
                glyphs.emplace_back(j, b[j]);
        const QRect target = surfaceRect(cell);
        auto found =
            std::find_if(m_digitCells.begin(), m_digitCells.end(),
                         [&](const DigitCell& c) { return c.cell == cell && c.glyphs == glyphs; });
        if (found == m_digitCells.end()) {
            // Drawn as the frame draws it, then kept.
            drawFrame(surface, after, state, buttonImage, QRegion(cell));
            const size_t bytes = size_t(target.width()) * size_t(target.height()) * sizeof(QRgb);
            if (m_digitCellBytes + bytes > kCellBytes) {
                laid += cell;
                continue;
            }
            m_digitCellBytes += bytes;
            found = m_digitCells.insert(m_digitCells.end(), DigitCell{});
            found->cell = cell;
            found->glyphs = std::move(glyphs);
            found->pixels.resize(size_t(target.width()) * size_t(target.height()));
            QRgb* kept = found->pixels.data();
            for (int y = target.top(); y <= target.bottom(); ++y, kept += target.width())
                std::copy_n(reinterpret_cast<const QRgb*>(surface.constScanLine(y)) + target.left(),
                            target.width(), kept);
        } else {
            const SurfacePixels lines(surface);
            const QRgb* kept = found->pixels.data();
            for (int y = target.top(); y <= target.bottom(); ++y, kept += target.width())
                std::copy_n(kept, target.width(), lines.line(y) + target.left());
        }
        laid += cell;
    }
    return rest - laid;
}

} // namespace ovra
