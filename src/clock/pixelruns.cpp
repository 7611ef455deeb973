#include "clock/pixelruns.h"

#include <algorithm>

namespace ovra {

namespace {

// A stretch of one colour this long or longer is kept as that colour.
constexpr int kSameColourRun = 4;

// The rectangle two share, as QRect::intersected gives it, but inline: a layer is
// laid rectangle by rectangle several times a second, and that call leaves the library.
Q_ALWAYS_INLINE QRect common(const QRect& a, const QRect& b) {
    const int left = std::max(a.left(), b.left()), top = std::max(a.top(), b.top());
    const int right = std::min(a.right(), b.right()), bottom = std::min(a.bottom(), b.bottom());
    if (a.isNull() || b.isNull() || left > right || top > bottom)
        return QRect();
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

// One row of a layer as runs from column x on: add(from, to, pixels, colour) for each
// stretch of one colour (pixels null) and each stretch of other pixels (colour
// unused), in columns of the row; transparent pixels are left out. Before each run
// it asks done(from), and stops where that is true, returning the column (else w).
// What it makes of the row from a column on depends only on the pixels from there:
// it looks ahead, never back.
template <typename Add, typename Done>
int scanRowFrom(const QRgb* line, int x, int w, const Add& add, const Done& done) {
    while (x < w) {
        if (line[x] == 0) {
            ++x;
            continue;
        }
        if (done(x))
            return x;
        int same = x + 1;
        while (same < w && line[same] == line[x])
            ++same;
        if (same - x >= kSameColourRun) {
            add(x, same, nullptr, line[x]);
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
            x = next;
        }
        add(from, x, line + from, 0);
    }
    return w;
}

template <typename Add> void scanRow(const QRgb* line, int w, const Add& add) {
    scanRowFrom(line, 0, w, add, [](int) { return false; });
}

} // namespace

template <typename Rows> void PixelRuns::build(const QRect& rect, const Rows& rows) {
    m_rect = rect;
    // Read twice: once to count, once to keep, so that each array is allocated once
    // at its size and the heap keeps no outgrown ones.
    size_t runs = 0, pixels = 0;
    for (int y = 0; y < rect.height(); ++y)
        rows(y, [&](int from, int to, const QRgb* literal, QRgb) {
            ++runs;
            if (literal)
                pixels += size_t(to - from);
        });
    m_runs.reserve(runs);
    m_pixels.reserve(pixels);
    m_rows.assign(size_t(rect.height()) + 1, 0);
    for (int y = 0; y < rect.height(); ++y) {
        rows(y, [&](int from, int to, const QRgb* literal, QRgb colour) {
            qsizetype first = -1;
            if (literal) {
                first = qsizetype(m_pixels.size());
                m_pixels.insert(m_pixels.end(), literal, literal + (to - from));
            }
            m_runs.push_back({rect.x() + from, rect.x() + to, first, colour});
        });
        m_rows[size_t(y) + 1] = qsizetype(m_runs.size());
    }
}

PixelRuns::PixelRuns(const QImage& image, QPoint origin) {
    Q_ASSERT(image.format() == QImage::Format_ARGB32_Premultiplied);
    build(QRect(origin, image.size()), [&](int y, const auto& add) {
        scanRow(reinterpret_cast<const QRgb*>(image.constScanLine(y)), image.width(), add);
    });
}

PixelRuns PixelRuns::patched(const QImage& patch, QPoint origin) const {
    Q_ASSERT(patch.format() == QImage::Format_ARGB32_Premultiplied);
    const QRect area = QRect(origin, patch.size()).intersected(m_rect);
    if (isNull() || area.isEmpty())
        return *this;
    // Only the rows the patch crosses are run anew, and in each only from a little
    // before the patch to where the runs fall in step again after it, so that they
    // get the runs the layer drawn anew would give. The rows above and below keep
    // their runs and pixels, copied in blocks: a new minute at the largest face
    // patches a quarter of the ring, a part of its rows and columns.
    const size_t first = size_t(area.top() - m_rect.y()),
                 last = size_t(area.bottom() - m_rect.y()) + 1;
    PixelRuns middle;
    std::vector<QRgb> line(size_t(m_rect.width()));
    const int left = area.left() - m_rect.x(), right = area.right() - m_rect.x();
    middle.build(
        QRect(m_rect.x(), area.top(), m_rect.width(), area.height()), [&](int y, const auto& add) {
            const size_t row = first + size_t(y);
            const Run* const end = m_runs.data() + m_rows[row + 1];
            const auto keep = [&](const Run& r) {
                add(r.from - m_rect.x(), r.to - m_rect.x(),
                    r.pixels < 0 ? nullptr : &m_pixels[size_t(r.pixels)], r.colour);
            };
            // Runs that end a few pixels before the patch were found without looking at
            // its pixels (the scan looks at most three ahead): they stay.
            const Run* run = m_runs.data() + m_rows[row];
            for (; run != end && run->to - m_rect.x() <= left - kSameColourRun; ++run)
                keep(*run);
            // From there the row is laid out, patched and run anew, until the scan
            // starts a run where the old runs start one past the patch: the pixels from
            // there on are the old ones, and so are their runs.
            const int from = run != end ? std::min(run->from - m_rect.x(), left) : left;
            std::fill(line.begin() + from, line.end(), QRgb(0));
            for (const Run* r = run; r != end; ++r) {
                QRgb* target = line.data() + (r->from - m_rect.x());
                if (r->pixels < 0)
                    std::fill_n(target, r->to - r->from, r->colour);
                else
                    std::copy_n(&m_pixels[size_t(r->pixels)], r->to - r->from, target);
            }
            const auto* source =
                reinterpret_cast<const QRgb*>(patch.constScanLine(area.top() + y - origin.y()));
            std::copy_n(source + (area.left() - origin.x()), area.width(), line.data() + left);
            const Run* old = run;
            const int stopped = scanRowFrom(line.data(), from, m_rect.width(), add, [&](int x) {
                if (x <= right)
                    return false;
                while (old != end && old->from - m_rect.x() < x)
                    ++old;
                return old != end && old->from - m_rect.x() == x;
            });
            if (stopped < m_rect.width())
                for (; old != end; ++old)
                    keep(*old);
        });
    // Pixels lie in the order of their runs: the first literal run from a row on
    // tells where that row's pixels begin.
    const auto pixelsFrom = [&](size_t row) {
        for (qsizetype i = m_rows[row]; i < qsizetype(m_runs.size()); ++i)
            if (m_runs[size_t(i)].pixels >= 0)
                return m_runs[size_t(i)].pixels;
        return qsizetype(m_pixels.size());
    };
    const qsizetype pixelsAbove = pixelsFrom(first), pixelsBelow = pixelsFrom(last);
    const qsizetype runsAbove = m_rows[first], runsBelow = m_rows[last];
    const qsizetype pixelShift = pixelsAbove + qsizetype(middle.m_pixels.size()) - pixelsBelow;
    const qsizetype runShift = runsAbove + qsizetype(middle.m_runs.size()) - runsBelow;

    PixelRuns out;
    out.m_rect = m_rect;
    out.m_runs.reserve(size_t(runsAbove) + middle.m_runs.size() +
                       (m_runs.size() - size_t(runsBelow)));
    out.m_runs.insert(out.m_runs.end(), m_runs.begin(), m_runs.begin() + runsAbove);
    for (Run r : middle.m_runs) {
        if (r.pixels >= 0)
            r.pixels += pixelsAbove;
        out.m_runs.push_back(r);
    }
    for (auto it = m_runs.begin() + runsBelow; it != m_runs.end(); ++it) {
        Run r = *it;
        if (r.pixels >= 0)
            r.pixels += pixelShift;
        out.m_runs.push_back(r);
    }
    out.m_pixels.reserve(size_t(pixelsAbove) + middle.m_pixels.size() +
                         (m_pixels.size() - size_t(pixelsBelow)));
    out.m_pixels.insert(out.m_pixels.end(), m_pixels.begin(), m_pixels.begin() + pixelsAbove);
    out.m_pixels.insert(out.m_pixels.end(), middle.m_pixels.begin(), middle.m_pixels.end());
    out.m_pixels.insert(out.m_pixels.end(), m_pixels.begin() + pixelsBelow, m_pixels.end());
    out.m_rows.reserve(m_rows.size());
    out.m_rows.insert(out.m_rows.end(), m_rows.begin(), m_rows.begin() + qsizetype(first));
    for (size_t i = 0; i < middle.m_rows.size() - 1; ++i)
        out.m_rows.push_back(runsAbove + middle.m_rows[i]);
    for (size_t row = last; row < m_rows.size(); ++row)
        out.m_rows.push_back(m_rows[row] + runShift);
    return out;
}

template <typename Lay>
void PixelRuns::forEachRun(const SurfacePixels& surface, const QRect& rect, const Lay& lay) const {
    const QRect r = common(rect, m_rect);
    for (int y = r.top(); y <= r.bottom(); ++y) {
        // A row's runs lie left to right: from the first that reaches the rectangle
        // to the last that starts in it. A row of the scale crosses dozens of lines,
        // and a second's area is a few small rectangles, most of whose rows a ring
        // layer passes by on either side: those are not searched.
        const size_t row = size_t(y - m_rect.top());
        const Run* run = m_runs.data() + m_rows[row];
        const Run* const end = m_runs.data() + m_rows[row + 1];
        if (run == end || run->from > r.right() || end[-1].to <= r.left())
            continue;
        if (run->to <= r.left())
            run =
                std::partition_point(run + 1, end, [&](const Run& a) { return a.to <= r.left(); });
        QRgb* const line = surface.line(y);
        for (; run != end && run->from <= r.right(); ++run) {
            const int from = std::max(run->from, r.left()), to = std::min(run->to, r.right() + 1);
            const QRgb* pixels =
                run->pixels < 0 ? nullptr : &m_pixels[size_t(run->pixels + (from - run->from))];
            lay(line + from, to - from, pixels, run->colour);
        }
    }
}

PixelRuns::RowReader::RowReader(const PixelRuns& layer, int y) {
    if (y < layer.m_rect.top() || y > layer.m_rect.bottom() || layer.isNull())
        return;
    const size_t row = size_t(y - layer.m_rect.top());
    m_run = layer.m_runs.data() + layer.m_rows[row];
    m_end = layer.m_runs.data() + layer.m_rows[row + 1];
    m_pixels = layer.m_pixels.data();
}

void PixelRuns::copyTo(const SurfacePixels& surface, const QRect& rect) const {
    const QRect r = common(rect, surface.bounds);
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
    forEachRun(surface, common(rect, surface.bounds),
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
