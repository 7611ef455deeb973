#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>

#include <vector>

namespace ovra {

// x * a / 255 on each channel of a premultiplied pixel, rounded as Qt's raster
// engine rounds it.
inline QRgb byteMul(QRgb x, uint a) {
    quint64 t = ((quint64(x) | (quint64(x) << 24)) & 0x00ff00ff00ff00ffULL) * a;
    t = (t + ((t >> 8) & 0x00ff00ff00ff00ffULL) + 0x0080008000800080ULL) >> 8;
    t &= 0x00ff00ff00ff00ffULL;
    return QRgb(t) | QRgb(t >> 24);
}

// src over dst, both premultiplied, as QPainter's SourceOver mode blends them.
inline QRgb sourceOver(QRgb dst, QRgb src) {
    if (src >= 0xff000000u)
        return src;
    if (src == 0)
        return dst;
    return src + byteMul(dst, 255 - qAlpha(src));
}

// The pixels of a 32-bit premultiplied image a layer is laid on, written directly
// (also while a painter works on that image, between its drawing calls).
struct SurfacePixels {
    explicit SurfacePixels(QImage& image)
        : bits(image.bits()), bytesPerLine(image.bytesPerLine()), bounds(image.rect()) {}
    uchar* bits;
    qsizetype bytesPerLine;
    QRect bounds;
    QRgb* line(int y) const { return reinterpret_cast<QRgb*>(bits + y * bytesPerLine); }
};

// A premultiplied ARGB layer kept as what it holds: row by row, the stretches of
// one colour as that colour and the rest as pixels, with no room for transparent
// ones. A face layer is mostly empty or of one colour, so it takes a small part of
// the image's memory, and laying it touches only the pixels it has.
class PixelRuns {
public:
    PixelRuns() = default;
    // The image's pixels, its top left at `origin` of the surface (surface pixels).
    PixelRuns(const QImage& image, QPoint origin);

    bool isNull() const { return m_rows.empty(); }

    // The layer with its pixels within the patch's rectangle (its top left at
    // `origin` of the surface) taken from patch, in the runs the whole layer drawn
    // anew would have: a layer that changes in one place is not run through whole.
    PixelRuns patched(const QImage& patch, QPoint origin) const;

    // Within `rect` of the surface: the layer's pixels, transparent where it has
    // none, as QPainter's Source mode leaves them.
    void copyTo(const SurfacePixels& surface, const QRect& rect) const;
    // Within `rect` of the surface: the layer blended over it, to the same pixels as
    // QPainter's SourceOver mode.
    void blendOnto(const SurfacePixels& surface, const QRect& rect) const;

private:
    struct Run {
        int from = 0, to = 0;  // surface columns [from, to)
        qsizetype pixels = -1; // first of its pixels in m_pixels, or -1: all `colour`
        QRgb colour = 0;
    };

public:
    // Reads the layer's pixels along one row of the surface, at columns that never
    // go back: a handful of scattered pixels cost a walk over the row's runs, not a
    // search for each.
    class RowReader {
    public:
        RowReader() = default; // a row without pixels
        RowReader(const PixelRuns& layer, int y);
        // Whether the layer has a pixel in columns [from, to), from no less than asked
        // before.
        bool reaches(int from, int to) {
            while (m_run != m_end && m_run->to <= from)
                ++m_run;
            return m_run != m_end && m_run->from < to;
        }
        // The layer's pixel at column x, transparent where it has none.
        QRgb at(int x) {
            while (m_run != m_end && m_run->to <= x)
                ++m_run;
            if (m_run == m_end || m_run->from > x)
                return 0;
            return m_run->pixels < 0 ? m_run->colour
                                     : m_pixels[size_t(m_run->pixels + (x - m_run->from))];
        }

    private:
        const Run* m_run = nullptr;
        const Run* m_end = nullptr;
        const QRgb* m_pixels = nullptr;
    };

private:
    // Fills the runs row by row: rows(y, add) calls add(from, to, pixels, colour)
    // for each run of row y in turn, columns counted from rect's left; pixels is
    // null for a run of one colour.
    template <typename Rows> void build(const QRect& rect, const Rows& rows);
    template <typename Lay>
    void forEachRun(const SurfacePixels& surface, const QRect& rect, const Lay& lay) const;

    QRect m_rect; // where the layer lies on the surface
    std::vector<Run> m_runs;
    std::vector<qsizetype> m_rows; // row y's runs: [m_rows[y], m_rows[y + 1])
    std::vector<QRgb> m_pixels;
};

} // namespace ovra
