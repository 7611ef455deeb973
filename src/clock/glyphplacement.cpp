#include "clock/glyphplacement.h"

namespace ovra {

namespace {

quint32 pairKey(QChar a, QChar b) {
    return quint32(a.unicode()) << 16 | b.unicode();
}

bool agree(QHash<quint32, qreal>& seen, quint32 key, qreal value) {
    const auto it = seen.constFind(key);
    if (it != seen.constEnd())
        return *it == value;
    seen.insert(key, value);
    return true;
}

} // namespace

bool GlyphPlacement::learn(const Line& line) {
    const qsizetype n = line.text.size();
    if (n == 0 || line.glyphs.size() != n || line.positions.size() != n)
        return false;
    if (!m_baseline)
        m_baseline = line.positions.front().y();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = line.text[i];
        if (line.positions[i].y() != *m_baseline)
            return false;
        const auto glyph = m_glyphs.constFind(c.unicode());
        if (glyph == m_glyphs.constEnd())
            m_glyphs.insert(c.unicode(), line.glyphs[i]);
        else if (*glyph != line.glyphs[i])
            return false;
        if (i + 1 < n && !agree(m_steps, pairKey(c, line.text[i + 1]),
                                line.positions[i + 1].x() - line.positions[i].x()))
            return false;
    }
    const qreal last = line.positions.back().x();
    return agree(m_starts, line.text.front().unicode(), line.positions.front().x()) &&
           agree(m_widths, line.text.back().unicode(), line.width - last) &&
           agree(m_advances, line.text.back().unicode(), line.advance - last);
}

std::optional<GlyphPlacement::Line> GlyphPlacement::place(const QString& text) const {
    const qsizetype n = text.size();
    const auto start = n > 0 ? m_starts.constFind(text.front().unicode()) : m_starts.constEnd();
    if (start == m_starts.constEnd())
        return std::nullopt;
    Line line;
    line.text = text;
    line.glyphs.resize(n);
    line.positions.resize(n);
    qreal pen = *start;
    for (qsizetype i = 0; i < n; ++i) {
        const auto glyph = m_glyphs.constFind(text[i].unicode());
        if (glyph == m_glyphs.constEnd())
            return std::nullopt;
        line.glyphs[i] = *glyph;
        line.positions[i] = QPointF(pen, *m_baseline);
        if (i + 1 < n) {
            const auto step = m_steps.constFind(pairKey(text[i], text[i + 1]));
            if (step == m_steps.constEnd())
                return std::nullopt;
            pen += *step;
        }
    }
    const auto width = m_widths.constFind(text.back().unicode());
    const auto advance = m_advances.constFind(text.back().unicode());
    if (width == m_widths.constEnd() || advance == m_advances.constEnd())
        return std::nullopt;
    line.width = pen + *width;
    line.advance = pen + *advance;
    return line;
}

} // namespace ovra
