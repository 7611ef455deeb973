#include "clock/pixelruns.h"

#include <algorithm>

namespace ovra {

namespace {

// A stretch of one colour this long or longer is kept as that colour.
constexpr int kSameColourRun = 4;

} // namespace

PixelRuns::PixelRuns(const QImage& image, QPoint origin) {
    Q_ASSERT(image.format() == QImage::Format_ARGB32_Premultiplied);
    m_rect = QRect(origin, image.size());
    const int w = image.width();
    // Read twice: once to count, once to keep, so that each array is allocated once
    // at its size and the heap keeps no outgrown ones.
    const auto scan = [&](const auto& addRun, const auto& addPixels) {
        for (int y = 0; y < image.height(); ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            int x = 0;
            while (x < w) {
                if (line[x] == 0) {
                    ++x;
                    continue;
                }
                int same = x + 1;
                while (same < w && line[same] == line[x])
                    ++same;
                if (same - x >= kSameColourRun) {
                    addRun(y, x, same, false, line[x]);
                    x = same;
                    continue;
                }
                // Pixels up to the next transparent one or stretch of one colour.
                const int from = x;
                while (x < w && line[x] != 0) {
                    int next = x + 1;
                    while (next < w && next - x < kSameColourRun && line[next] == line[x])
                        ++next;
                    if (next - x >= kSameColourRun)
                        break;
                    addPixels(line + x, line + next);
                    x = next;
                }
                addRun(y, from, x, true, 0);
            }
        }
    };
    size_t runs = 0, pixels = 0;
    scan([&](int, int, int, bool, QRgb) { ++runs; },
         [&](const QRgb* from, const QRgb* to) { pixels += size_t(to - from); });
    m_runs.reserve(runs);
    m_pixels.reserve(pixels);
    m_rows.assign(size_t(image.height()) + 1, 0);
    qsizetype kept = 0;
    scan(
        [&](int y, int from, int to, bool literal, QRgb colour) {
            m_rows[size_t(y) + 1] = qsizetype(m_runs.size()) + 1;
            const qsizetype first = literal ? kept : -1;
            if (literal)
                kept = qsizetype(m_pixels.size());
            m_runs.push_back({origin.x() + from, origin.x() + to, first, colour});
        },
        [&](const QRgb* from, const QRgb* to) { m_pixels.insert(m_pixels.end(), from, to); });
    // A row without runs ends where the row before it ends.
    for (size_t y = 1; y < m_rows.size(); ++y)
        m_rows[y] = std::max(m_rows[y], m_rows[y - 1]);
}

template <typename Lay>
void PixelRuns::forEachRun(const SurfacePixels& surface, const QRect& rect, const Lay& lay) const {
    const QRect r = rect.intersected(m_rect);
    for (int y = r.top(); y <= r.bottom(); ++y) {
        QRgb* const line = surface.line(y);
        // A row's runs lie left to right: from the first that reaches the rectangle
        // to the last that starts in it. A row of the scale crosses dozens of lines,
        // and a second's area is a few small rectangles.
        const size_t row = size_t(y - m_rect.top());
        const Run* const end = m_runs.data() + m_rows[row + 1];
        const Run* run = std::partition_point(m_runs.data() + m_rows[row], end,
                                              [&](const Run& a) { return a.to <= r.left(); });
        for (; run != end && run->from <= r.right(); ++run) {
            const int from = std::max(run->from, r.left()), to = std::min(run->to, r.right() + 1);
            const QRgb* pixels =
                run->pixels < 0 ? nullptr : &m_pixels[size_t(run->pixels + (from - run->from))];
            lay(line + from, to - from, pixels, run->colour);
        }
    }
}

void PixelRuns::copyTo(const SurfacePixels& surface, const QRect& rect) const {
    const QRect r = rect.intersected(surface.bounds);
    for (int y = r.top(); y <= r.bottom(); ++y)
        std::fill(surface.line(y) + r.left(), surface.line(y) + r.right() + 1, QRgb(0));
    forEachRun(surface, r, [](QRgb* target, int n, const QRgb* pixels, QRgb colour) {
        if (pixels)
            std::copy_n(pixels, n, target);
        else
            std::fill_n(target, n, colour);
    });
}

void PixelRuns::blendOnto(const SurfacePixels& surface, const QRect& rect) const {
    forEachRun(surface, rect.intersected(surface.bounds),
               [](QRgb* target, int n, const QRgb* pixels, QRgb colour) {
                   if (pixels) {
                       for (int i = 0; i < n; ++i)
                           target[i] = sourceOver(target[i], pixels[i]);
                   } else if (colour >= 0xff000000u) {
                       std::fill_n(target, n, colour);
                   } else {
                       for (int i = 0; i < n; ++i)
                           target[i] = sourceOver(target[i], colour);
                   }
               });
}

} // namespace ovra
