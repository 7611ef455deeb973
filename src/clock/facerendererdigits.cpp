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

quint32 pairKey(QChar a, QChar b) {
    return quint32(a.unicode()) << 16 | b.unicode();
}

} // namespace

struct FaceRenderer::ShapedLine {
    QString text;
    QGlyphRun run;
    qreal width = 0;   // the line's natural text width
    qreal advance = 0; // and its horizontal advance
};

std::optional<FaceRenderer::ShapedLine> FaceRenderer::shapedOnOneLine(const QString& text,
                                                                      const QFont& font) {
    QTextLayout layout(text, font);
    layout.setTextOption(textOption(QTextOption::NoWrap));
    layout.beginLayout();
    QTextLine line = layout.createLine();
    layout.endLayout();
    if (!line.isValid() || layout.lineCount() != 1)
        return std::nullopt;
    QList<QGlyphRun> runs = line.glyphRuns();
    // Another font for some characters makes a second run; a ligature or a mark
    // makes other than one glyph a character.
    if (runs.size() != 1 || runs.front().glyphIndexes().size() != text.size())
        return std::nullopt;
    return ShapedLine{text, runs.front(), line.naturalTextWidth(), line.horizontalAdvance()};
}

bool FaceRenderer::DigitTemplate::agreeWith(QHash<quint32, qreal>& seen, quint32 key, qreal value) {
    // What is seen twice must agree, or the glyphs depend on more than their
    // neighbours.
    const auto it = seen.constFind(key);
    if (it != seen.constEnd())
        return *it == value;
    seen.insert(key, value);
    return true;
}

bool FaceRenderer::DigitTemplate::learn(const ShapedLine& line) {
    const QList<quint32> ids = line.run.glyphIndexes();
    const QList<QPointF> at = line.run.positions();
    const qsizetype n = line.text.size();
    if (n == 0 || n != pattern.size())
        return false;
    const auto agree = &DigitTemplate::agreeWith;
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = line.text[i];
        if (at[i].y() != baseline)
            return false;
        if (isDigit(c)) {
            quint32& glyph = digitGlyphs[c.unicode() - u'0'];
            if (glyph != 0 && glyph != ids[i])
                return false;
            glyph = ids[i];
        } else if (c != pattern[i] || ids[i] != patternGlyphs[i]) {
            return false;
        }
        if (i + 1 < n && !agree(steps, pairKey(c, line.text[i + 1]), at[i + 1].x() - at[i].x()))
            return false;
    }
    const quint32 first = line.text.front().unicode(), last = line.text.back().unicode();
    return agree(starts, first, at.front().x()) &&
           agree(widths, last, line.width - at.back().x()) &&
           agree(advances, last, line.advance - at.back().x());
}

bool FaceRenderer::DigitTemplate::place(const QString& text, QList<quint32>& ids,
                                        QList<QPointF>& at, qreal& width, qreal& advance) const {
    const qsizetype n = text.size();
    if (n != pattern.size())
        return false;
    ids.resize(n);
    at.resize(n);
    auto x = starts.constFind(text.front().unicode());
    if (x == starts.constEnd())
        return false;
    qreal pen = *x;
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (isDigit(c) != isDigit(pattern[i]) || (!isDigit(c) && c != pattern[i]))
            return false;
        ids[i] = isDigit(c) ? digitGlyphs[c.unicode() - u'0'] : patternGlyphs[i];
        at[i] = QPointF(pen, baseline);
        if (i + 1 < n) {
            const auto step = steps.constFind(pairKey(c, text[i + 1]));
            if (step == steps.constEnd())
                return false;
            pen += *step;
        }
    }
    const auto w = widths.constFind(text.back().unicode());
    const auto a = advances.constFind(text.back().unicode());
    if (w == widths.constEnd() || a == advances.constEnd())
        return false;
    width = pen + *w;
    advance = pen + *a;
    return true;
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
    const QList<QGlyphRun> lineRuns = line.glyphRuns();
    if (lineRuns.size() != 1 || lineRuns.front().glyphIndexes().size() != pattern.size())
        return t;
    t.run = lineRuns.front();
    // Where each character starts is where its glyph stands: no glyph is moved
    // off its place (as a mark would be).
    for (qsizetype i = 0; i < pattern.size(); ++i)
        if (line.cursorToX(int(i)) != t.run->positions().at(i).x()) {
            t.run.reset();
            return t;
        }
    t.patternGlyphs = t.run->glyphIndexes();
    t.baseline = t.run->positions().front().y();
    const auto learnt = [&](const QString& text) {
        const std::optional<ShapedLine> shaped = shapedOnOneLine(text, font);
        return shaped && t.learn(*shaped);
    };
    // Every ordered pair of digits stands side by side in 00 01 02 ... 99; every
    // place of a digit takes each digit in turn beside different digits.
    QString pairs;
    for (int n = 0; n < 100; ++n)
        pairs += QString(digit(n / 10)) + digit(n);
    bool learnedAll = true;
    for (int shift = 0; shift < 10 && learnedAll; ++shift)
        learnedAll = learnt(filledIn(pattern, 1, shift));
    if (learnedAll)
        learnedAll = learnt(pattern);
    // The pairs of digits in a text of their own: its length is not the pattern's.
    if (learnedAll) {
        const std::optional<ShapedLine> shaped = shapedOnOneLine(pairs, font);
        DigitTemplate digitsOnly;
        digitsOnly.pattern = QString(pairs.size(), u'0');
        digitsOnly.patternGlyphs = QList<quint32>(pairs.size(), 0);
        digitsOnly.digitGlyphs = t.digitGlyphs;
        learnedAll = shaped && !shaped->run.positions().isEmpty();
        if (learnedAll) {
            digitsOnly.baseline = shaped->run.positions().front().y();
            learnedAll = digitsOnly.learn(*shaped) && digitsOnly.digitGlyphs == t.digitGlyphs;
        }
        for (auto it = digitsOnly.steps.cbegin(); learnedAll && it != digitsOnly.steps.cend(); ++it)
            learnedAll = DigitTemplate::agreeWith(t.steps, it.key(), it.value());
    }
    // What was learnt must place other fillings, and the pattern in its box, as
    // laying them out does.
    const auto placedAsShaped = [&](const QString& text, const QGlyphRun& run, qreal width,
                                    qreal advance) {
        QList<quint32> ids;
        QList<QPointF> at;
        qreal w = 0, a = 0;
        return t.place(text, ids, at, w, a) && ids == run.glyphIndexes() && at == run.positions() &&
               w == width && a == advance;
    };
    if (learnedAll)
        learnedAll =
            placedAsShaped(pattern, *t.run, line.naturalTextWidth(), line.horizontalAdvance());
    for (int shift = 0; shift < 10 && learnedAll; shift += 3) {
        const std::optional<ShapedLine> shaped = shapedOnOneLine(filledIn(pattern, 7, shift), font);
        learnedAll =
            shaped && placedAsShaped(shaped->text, shaped->run, shaped->width, shaped->advance);
    }
    if (!learnedAll)
        t.run.reset();
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
    QList<quint32> ids;
    QList<QPointF> at;
    qreal width = 0, advance = 0;
    if (!t.run || !t.place(shown, ids, at, width, advance))
        return false;
    slot.digits = *t.run;
    slot.digits->setGlyphIndexes(ids);
    slot.digits->setPositions(at);
    // Its box is found from its own glyphs, not kept from the pattern's.
    slot.digits->setBoundingRect(QRectF());
    slot.digitsAdvance = advance;
    slot.layout = t.laid.layout;
    slot.drawnLines = t.laid.drawnLines;
    slot.drawnWidth = width;
    slot.drawnHeight = t.laid.drawnHeight;
    const QRectF& box = slot.box;
    const qreal height = t.laid.drawnHeight;
    const double margin = slot.size / 4.0 + 2;
    slot.area = QRectF(box.x() + (box.width() - width) / 2, box.y() + (box.height() - height) / 2,
                       width, height)
                    .adjusted(-margin, -margin, margin, margin);
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

} // namespace ovra
