#pragma once

#include "clock/clocklayout.h"
#include "clock/drawtools.h"
#include "clock/faceframe.h"
#include "clock/glyphplacement.h"
#include "clock/hotbutton.h"
#include "clock/pixelruns.h"

#include <QFont>
#include <QGlyphRun>
#include <QImage>
#include <QRect>
#include <QRegion>
#include <QTextLayout>
#include <QTextOption>

#include <array>
#include <map>
#include <memory>
#include <optional>
#include <vector>

class QPainter;

namespace ovra {

// What a frame needs besides its texts and sweeps.
struct FaceState {
    bool isActive = false;                 // highlight ring around the dial
    int32_t hotButton = hotbutton::Hidden; // strip column, -1 hides the strip
    bool showScale = true;                 // DisplayScale is 0
};

// Draws the clock face into a surface. Everything that only changes with the
// settings is rendered once: the dial disc by prepare(), the scale and the
// highlight ring when first shown. The minute and hour rings are kept as a layer
// that is redrawn only when one of them moves. A frame then copies and blends
// those layers in the face's drawing order: disc, second ring, minute and hour
// rings, texts, scale, highlight, strip.
class FaceRenderer {
public:
    // Rebuilds the prepared layers; called whenever the settings are re-applied.
    void prepare(const ClockLayout& layout, const DrawTools& tools, const QString& fontFamily,
                 qreal dpr = 1.0);
    void release();
    bool prepared() const { return m_prepared; }

    // One frame from the prepared layers. drawText may raise the font sizes in frame.
    // A non-empty area redraws only those window pixels and leaves the rest of the
    // surface as it is.
    void drawFrame(QImage& surface, FaceFrame& frame, const FaceState& state,
                   const QImage& buttonImage, const QRegion& area = QRegion());

    // The texts and sizes as drawText leaves them: blanks trimmed, sizes at least 12.
    static void settleTexts(FaceFrame& frame);

    // Every window pixel that can differ between two settled frames drawn in the same
    // state; empty when they are alike. A normal second is a few small pieces.
    QRegion changedArea(const FaceFrame& before, const FaceFrame& after) const;
    // The minute or hour ring moved: the ring layer is drawn anew, whole.
    static bool ringsDiffer(const FaceFrame& a, const FaceFrame& b);
    // Draws the ring layer of a frame still to come (the next minute's), so that the
    // second showing it lays a ready layer instead of waiting for a new one.
    void prepareRingLayer(const FaceFrame& coming);
    // Whether drawing frame finds its ring layer made: the one shown or the one
    // prepared.
    bool ringLayerReady(const FaceFrame& frame) const;

    // Keeps, for each second from 1 to 59 of a minute, the second ring's coverage
    // where it differs from the second before, so that a plain
    // second lays those pixels instead of stroking the ring: stroking was most of a
    // second's drawing. The closed ring of second 0 is kept whole. Some milliseconds
    // of work, done once after the first frame and after each re-apply; until then,
    // and at a fractional device pixel ratio or a pen that is not one opaque colour,
    // the ring is stroked as before.
    void prepareSecondSteps();
    bool secondStepsPrepared() const { return m_secondStepsTried; }

    // Onto a surface that holds `before` as drawFrame drew it in state, lays what
    // differs in `after` when only the time moved on by a plain second: the area's
    // pieces away from the second ring drawn as drawFrame draws them, and of the
    // second ring just the pixels that change, laid layer by layer. The surface then
    // holds `after` as drawFrame would leave it. False, with nothing drawn, where it
    // cannot: the caller draws the area.
    bool drawChange(QImage& surface, const FaceFrame& before, FaceFrame& after,
                    const FaceState& state, const QImage& buttonImage, const QRegion& area);

    // The same frame with every element drawn anew, step by step; the reference the
    // layered frame is checked and measured against.
    void drawFrameDirect(QImage& surface, FaceFrame& frame, const FaceState& state,
                         const QImage& buttonImage) const;

    // A text centred in the box (x, y, width R, height B), trimmed of surrounding
    // blanks in place, at fontSize pixels but never below 12 (raised in place).
    void drawText(QPainter& painter, QString& text, double x, double y, double R, double B,
                  const QBrush& brush, uint8_t& fontSize, uint8_t fontStyle) const;
    // drawText in the regular style from the texts laid out last, laying the text out
    // only when it is new: the same pixels.
    void drawLaidOutText(QPainter& painter, QString& text, const QRectF& box, const QBrush& brush,
                         uint8_t& pixelSize) const;

    // The 21 x 63 slice of the strip image for ButtonIndex at the window's top right
    // margin; nothing for -1 or any value outside 0..3.
    static void drawCloseButton(QPainter& painter, int32_t ButtonIndex, const QImage& buttonImage,
                                int center);

    // Source column of the strip image for a state, or -1 when nothing is drawn.
    static int stripColumnFor(int32_t buttonIndex);

private:
    // Shapes are placed with pixel centres on whole coordinates, so a one-pixel
    // scale line on a whole coordinate covers exactly one pixel column instead of
    // smearing over two. Images and text keep the plain pixel grid.
    static constexpr qreal kShapeOffset = 0.5;

    void drawDisc(QPainter& p) const;
    // The ring from twelve to sweep degrees, drawn from `from` on (a whole quarter).
    void drawArc(QPainter& p, const QRectF& rect, float sweep, const QPen& pen, int from = 0) const;
    void drawMinuteAndHourRings(QPainter& p, const FaceFrame& frame) const;
    // Direct draws each text with drawText, the others from the kept layouts. Within
    // an area each text sets the painter's clip to its own part of it.
    void drawTexts(QPainter& p, FaceFrame& frame, const QRegion& area, bool direct) const;
    void drawScale(QPainter& p) const;
    void drawActiveRing(QPainter& p) const;
    QImage newLayer(const QRect& area) const;
    QImage drawOverlay(bool scale, bool active) const;
    const QImage& overlayFor(bool scale, bool active);
    const PixelRuns& overlayRunsFor(bool scale, bool active);
    void blendLayer(QPainter& p, const QImage& layer, const QRect& area) const;
    void updateRingLayer(const FaceFrame& frame);
    // The minute and hour rings of frame as a layer: into runs, or else the image.
    bool drawRingLayer(const FaceFrame& frame, PixelRuns& runs, QImage& image) const;
    QFont fontFor(uint8_t pixelSize) const;
    // The pixels an arc from twelve changes when its sweep goes from one value to
    // the other, on the ring drawn along arc with a pen of penWidth.
    QRegion ringArea(const QRectF& arc, double penWidth, float fromSweep, float toSweep) const;
    QRegion ringSector(const QRectF& arc, double penWidth, double from, double to) const;

    // The second ring at one second: its coverage (0 to 255) over window rectangles
    // that hold every pixel in which it differs from the ring a second earlier.
    struct SecondStep {
        QRegion area;
        // The pixels in which it differs from the ring a second earlier: the area,
        // or for the closed ring, kept whole, a small part of it.
        QRegion changed;
        // The surface pixels of each rectangle of the area in turn, row by row, in
        // runs: a byte n below 128 is followed by n + 1 values, a byte 128 + n by
        // one value that stands n + 1 times. Mostly none or full, it takes a
        // fraction of a byte a pixel.
        std::vector<quint8> coverage;
        // Of a plain second: the runs of surface pixels, row by row, that differ from
        // the ring a second earlier, a few small gaps bridged, and the ring's coverage
        // over each run in turn; a part of the area.
        struct Run {
            quint16 y = 0, x = 0, n = 0;
        };
        std::vector<Run> exact;
        std::vector<quint8> exactCoverage;
    };
    // By second; second 0 holds the closed ring whole.
    std::vector<SecondStep> m_secondSteps;
    bool m_secondStepsTried = false;
    QRgb m_secondColour = 0; // premultiplied
    const SecondStep* secondStepFor(float sweep) const;
    // The ring laid from the step's coverage onto the area's pixels, to the pixels
    // stroking it leaves; false where the area reaches ring pixels the step does
    // not hold.
    bool laySecondStep(const SurfacePixels& pixels, float sweep, const QRegion& area) const;

    ClockLayout m_layout;
    DrawTools m_tools;
    QString m_fontFamily;
    qreal m_dpr = 1.0;
    bool m_prepared = false;

    // At a whole device pixel ratio each layer is kept as runs of its pixels, a
    // small part of a window-sized image, and laid straight into the surface. A
    // fractional ratio, where window pixels do not map to whole surface pixels,
    // keeps the images and lets the painter scale them.
    bool m_runs = false;
    int m_scale = 1;
    QRect surfaceRect(const QRect& windowRect) const {
        return QRect(windowRect.topLeft() * m_scale, windowRect.size() * m_scale);
    }
    PixelRuns m_disc;
    PixelRuns m_rings;
    PixelRuns m_overlay;
    int m_overlayKind = -1; // what m_overlay holds: scale 1, highlight 2, or -1
    QImage m_discLayer;
    QSize m_surfaceSize; // in surface pixels
    QImage m_ringLayer;
    QImage m_overlays[4]; // scale and highlight: none, scale, highlight, both
    QRect m_ringArea;     // what of the ring layer can hold pixels
    QRect m_overlayArea;
    QRegion m_secondQuarters[4]; // where each quarter of the second ring can draw
    QRegion m_secondRing;        // and the whole ring
    float m_ringMinute = -1, m_ringHour = -1;
    bool m_ringPm = false;
    // The ring layer prepared for a coming frame, and what it shows.
    PixelRuns m_comingRings;
    QImage m_comingRingLayer;
    float m_comingMinute = -1, m_comingHour = -1;
    bool m_comingPm = false;
    mutable std::map<uint8_t, QFont> m_fonts;
    mutable QImage m_fontDevice; // a device like the surface, for the fonts of the layouts
    // A text laid out as QPainter::drawText lays it out, once for the area it takes,
    // the part of it that stays and its drawing: laying out is the most a second's
    // text costs.
    struct LaidOutText {
        QString text;
        uint8_t size = 0;
        QRectF box;
        QRectF area;
        // Null where drawText is left to lay the text out itself.
        std::shared_ptr<const QTextLayout> layout;
        // drawText stops at the first line that reaches the box's bottom and centres
        // what it drew; the area takes every line.
        int drawnLines = 0;
        qreal drawnWidth = 0, drawnHeight = 0;
        // A text taken from a digit template: its own glyphs, drawn in place of the
        // layout's line, which is the template's.
        std::optional<QGlyphRun> digits;
        qreal digitsAdvance = 0;
        // Where its glyphs put pixels, found when first asked; the title and date
        // stand for hours beside a time that changes each second.
        std::optional<QRectF> ink;
        quint64 lastUse = 0;
    };
    // The last texts laid out: the three face texts as they were and as they are.
    mutable std::array<LaidOutText, 6> m_laidOut;
    mutable LaidOutText m_offThread;
    mutable quint64 m_layoutUse = 0;
    LaidOutText& laidOut(const QString& text, const QRectF& box, uint8_t pixelSize) const;
    // Where the glyphs of t, laid out for box, put pixels; found once and kept.
    QRectF inkArea(LaidOutText& t, const QRectF& box) const;
    // What a laid out text's line advances, and where its first line puts a
    // character, for a text taken from a digit template too.
    static qreal lineAdvance(const LaidOutText& t, const QTextLine& line);
    static qreal cursorX(const LaidOutText& t, int position);
    // Lays shown out into slot as drawText would in slot's box.
    void layOut(LaidOutText& slot, const QString& shown, const QFont& font) const;
    // The area of a text of width by height centred in box: its glyphs reach past
    // their advances by their bearings and anti-aliasing.
    static QRectF textArea(const QRectF& box, qreal width, qreal height, uint8_t pixelSize);
    // Forgets every laid out text and digit template (their fonts went out of date).
    void forgetLayouts() const;
    // Laid out as drawText lays a text out on the surface: in the direction a
    // painter there starts with (its text's own where that is automatic), the line
    // at its left whatever that direction.
    QTextOption textOption(QTextOption::WrapMode wrap) const;
    Qt::LayoutDirection m_textDirection = Qt::LayoutDirectionAuto;

    // Laying out each second's new time was most of what its text cost. A text that
    // differs from one laid out before only in its digits takes that one's line with
    // its own glyphs, placed from what shaping the pattern with every digit in every
    // place, beside every other, taught: each digit's glyph and how far each glyph
    // moves the next one on (its advance and kerning). A font whose glyphs depend on
    // more than their neighbours, or that lays anything out otherwise, is found out
    // when the template is made, and its texts are laid out as before.
    std::optional<GlyphPlacement::Line> shapedOnOneLine(const QString& text,
                                                        const QFont& font) const;
    struct DigitTemplate {
        QString pattern; // the text with each digit a '0'
        uint8_t size = 0;
        QRectF box;
        LaidOutText laid;
        std::optional<QGlyphRun> run; // none where the digits cannot be put in
        GlyphPlacement placement;
        quint64 lastUse = 0;
    };
    // The time as it was and as it is, and the date.
    mutable std::array<DigitTemplate, 3> m_digitTemplates;
    // The time's changed digits as finished pixels: each cell a changed glyph takes
    // (its box as it was and as it is), kept with the glyphs that reach into it, for
    // the overlay on show and the template's line. Drawing a digit through the painter
    // was most of what a plain second's text cost; a minute's seconds come back to
    // the same few cells.
    struct DigitCell {
        QRect cell;
        std::vector<std::pair<qsizetype, quint32>> glyphs; // place and glyph
        std::vector<QRgb> pixels;                          // the cell's surface pixels
        quint64 lastUse = 0;
    };
    std::vector<DigitCell> m_digitCells;
    int m_digitCellsKind = -1;
    const QTextLayout* m_digitCellsLine = nullptr;
    size_t m_digitCellBytes = 0;
    // Lays the cells of the time's changed digits onto the surface, from those kept
    // or drawn and kept; returns what of rest is left to draw.
    QRegion layDigitCells(QImage& surface, const FaceFrame& before, FaceFrame& after,
                          const FaceState& state, const QImage& buttonImage, const QRegion& rest);
    // Where the glyphs that differ between two texts taken from one template put
    // pixels, where all of them stand in the same places; none otherwise.
    static std::optional<QRegion> changedGlyphs(const LaidOutText& was, const LaidOutText& now);
    // Fills slot from the template of shown's pattern, made first where there is
    // none; false where the template cannot serve.
    bool fromDigitTemplate(LaidOutText& slot, const QString& shown, const QFont& font) const;
    const DigitTemplate& digitTemplate(const QString& pattern, uint8_t size, const QRectF& box,
                                       const QFont& font) const;
};

} // namespace ovra
