#include "clock/glyphplacement.h"

#include <gtest/gtest.h>

#include <functional>

using namespace ovra;

namespace {

// A font of proportional digits that kerns "11" and "7:", shaped as a line
// starting half a pixel in, on a baseline 12 down.
GlyphPlacement::Line shaped(const QString& text) {
    const auto advance = [](QChar c) {
        return c == u'1' ? 6.0 : c == u':' ? 4.0 : 10.0;
    };
    const auto kerning = [](QChar a, QChar b) {
        return a == u'1' && b == u'1' ? -2.0 : a == u'7' && b == u':' ? -1.0 : 0.0;
    };
    GlyphPlacement::Line line{text, {}, {}, 0, 0};
    qreal pen = 0.5;
    for (qsizetype i = 0; i < text.size(); ++i) {
        line.glyphs << 1000 + text[i].unicode();
        line.positions << QPointF(pen, 12);
        pen += advance(text[i]) + (i + 1 < text.size() ? kerning(text[i], text[i + 1]) : 0);
    }
    line.width = pen;
    line.advance = pen + 1;
    return line;
}

QString allDigitPairs() {
    QString pairs;
    for (int n = 0; n < 100; ++n)
        pairs += QString::number(n / 10) + QString::number(n % 10);
    return pairs;
}

// Every digit beside every other and beside the colon, at both ends of a line.
GlyphPlacement taught() {
    GlyphPlacement placement;
    for (const QString& text : {allDigitPairs(), QStringLiteral("00:00")})
        EXPECT_TRUE(placement.learn(shaped(text))) << text.toStdString();
    for (int d = 0; d < 10; ++d) {
        const QString s = QString::number(d);
        EXPECT_TRUE(placement.learn(shaped(s + ":" + s + "0:0" + s)));
    }
    return placement;
}

} // namespace

TEST(GlyphPlacement, PlacesAnUnshapedLineAsShapingWould) {
    const GlyphPlacement placement = taught();
    for (const char* text : {"11:17", "07:10", "12:59", "99:99", "1", "11:11:11"}) {
        SCOPED_TRACE(text);
        const GlyphPlacement::Line expected = shaped(QString::fromLatin1(text));
        const std::optional<GlyphPlacement::Line> placed =
            placement.place(QString::fromLatin1(text));
        ASSERT_TRUE(placed);
        EXPECT_EQ(placed->glyphs, expected.glyphs);
        EXPECT_EQ(placed->positions, expected.positions);
        EXPECT_EQ(placed->width, expected.width);
        EXPECT_EQ(placed->advance, expected.advance);
    }
    // What no line showed: a letter, a pair of colons, a line starting with one.
    for (const char* text : {"1A", "1::1", ":12", ""})
        EXPECT_FALSE(placement.place(QString::fromLatin1(text))) << text;
}

TEST(GlyphPlacement, AFontThatShapesByMoreThanNeighboursIsFoundOut) {
    const struct {
        const char* what;
        std::function<void(GlyphPlacement::Line&)> change;
    } cases[] = {
        {"a pair placed otherwise in another context",
         [](GlyphPlacement::Line& l) {
             l.positions[3].rx() += 1;
         }},
        {"a character given another glyph",
         [](GlyphPlacement::Line& l) {
             l.glyphs[2] = 7;
         }},
        {"a glyph off the baseline",
         [](GlyphPlacement::Line& l) {
             l.positions[1].ry() += 1;
         }},
        {"the first glyph elsewhere",
         [](GlyphPlacement::Line& l) {
             l.positions[0].rx() = 0;
         }},
        {"the line wider past its last glyph",
         [](GlyphPlacement::Line& l) {
             l.width += 0.25;
         }},
        {"two characters as one glyph",
         [](GlyphPlacement::Line& l) {
             l.glyphs.removeLast();
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        GlyphPlacement placement = taught();
        GlyphPlacement::Line line = shaped(QStringLiteral("12:10"));
        ASSERT_TRUE(placement.learn(line));
        c.change(line);
        EXPECT_FALSE(placement.learn(line));
    }
}
