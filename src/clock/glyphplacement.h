#pragma once

#include <QHash>
#include <QList>
#include <QPointF>
#include <QString>

#include <optional>

namespace ovra {

// Where the glyphs of a line of text stand, learnt from lines shaped before: each
// character's glyph, where the first glyph stands, how far each glyph moves the
// next one on (its advance and any kerning, by pair of characters), and how far
// the line's width and advance reach past the last glyph. A line made of what was
// learnt is then placed without shaping it. Whatever is seen twice must agree,
// so a font that picks glyphs or places them by more than their neighbours is
// found out while learning.
class GlyphPlacement {
public:
    struct Line {
        QString text;
        QList<quint32> glyphs; // one a character, in the characters' order
        QList<QPointF> positions;
        qreal width = 0;   // the line's natural text width
        qreal advance = 0; // and its horizontal advance
    };

    // False where the line contradicts what was learnt before, or does not hold
    // one glyph a character on one baseline; what it taught then cannot be trusted.
    bool learn(const Line& line);
    // Text placed as learnt; none where it holds a character or a pair of them
    // not seen, or begins or ends with a character no learnt line did.
    std::optional<Line> place(const QString& text) const;

private:
    QHash<char16_t, quint32> m_glyphs;
    QHash<quint32, qreal> m_steps, m_starts, m_widths, m_advances;
    std::optional<qreal> m_baseline;
};

} // namespace ovra
