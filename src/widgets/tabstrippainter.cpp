#include "widgets/tabstrippainter.h"

#include "widgets/tabstriplayout.h"

#include <QBitmap>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace ovra {

namespace {

struct Radii {
    qreal x;
    qreal y;
};

Radii clampRadii(const QRect& rect, int xRadius, int yRadius) {
    return {std::clamp<qreal>(xRadius, 0, rect.width() / 2.0),
            std::clamp<qreal>(yRadius, 0, rect.height())};
}

void hline(QPainter& p, int x1, int x2, int y, const QColor& c) {
    if (x2 >= x1)
        p.fillRect(QRect(x1, y, x2 - x1 + 1, 1), c);
}

void vline(QPainter& p, int x, int y1, int y2, const QColor& c) {
    if (y2 >= y1)
        p.fillRect(QRect(x, y1, 1, y2 - y1 + 1), c);
}

void drawPage(QPainter& p, const TabPaintState& s) {
    const QRect page = TabStripLayout::pageRect(s.size, s.rowHeight);
    if (page.isEmpty())
        return;
    p.fillRect(page, s.pageBack);
    const int l = page.left(), t = page.top(), r = page.right(), b = page.bottom();
    hline(p, l, r, t, s.outerBorder);
    hline(p, l, r, b, s.outerBorder);
    vline(p, l, t, b, s.outerBorder);
    vline(p, r, t, b, s.outerBorder);
    hline(p, l + 1, r - 1, t + 1, s.innerTopLeft);
    vline(p, l + 1, t + 1, b - 1, s.innerTopLeft);
    vline(p, r - 1, t + 2, b - 1, s.innerBottomRight);
    hline(p, l + 2, r - 1, b - 1, s.innerBottomRight);
}

// The outline through pixel centres, so that an aliased 1-pixel pen covers exactly the
// edge pixels of the shape.
QPainterPath outlinePath(const QRect& rect, int xRadius, int yRadius, int bottom) {
    const Radii radii = clampRadii(rect, xRadius, yRadius);
    const qreal l = rect.left() + 0.5, t = rect.top() + 0.5, r = rect.right() + 0.5;
    const qreal b = bottom + 0.5;
    const qreal rx = std::max<qreal>(radii.x - 0.5, 0), ry = std::max<qreal>(radii.y - 0.5, 0);
    QPainterPath path;
    path.moveTo(l, b);
    path.lineTo(l, t + ry);
    path.arcTo(QRectF(l, t, 2 * rx, 2 * ry), 180, -90);
    path.lineTo(r - rx, t);
    path.arcTo(QRectF(r - 2 * rx, t, 2 * rx, 2 * ry), 90, -90);
    path.lineTo(r, b);
    return path;
}

void drawTabBody(QPainter& p, const TabPaintState& s, int index) {
    const TabPaintItem& tab = s.tabs[index];
    const bool active = index == s.activeTab;
    QColor start = active ? s.activeStart : s.inactiveStart;
    QColor end = active ? s.activeEnd : s.inactiveEnd;
    if (!tab.enabled)
        start = end = s.disabledBack;

    const QRect fill = TabStripPainter::fillRect(tab.rect, active);
    if (fill.isEmpty())
        return;
    p.save();
    p.setClipPath(TabStripPainter::tabShape(fill, s.xRadius, s.yRadius));
    for (int row = 0; row < fill.height(); ++row)
        hline(p, fill.left(), fill.right(), fill.top() + row,
              TabStripPainter::gradientRowColor(start, end, row, fill.height()));
    p.restore();

    const Radii radii = clampRadii(fill, s.xRadius, s.yRadius);
    const int rx = std::max(int(std::ceil(radii.x)), 1), ry = std::max(int(std::ceil(radii.y)), 1);
    const int l = fill.left(), t = fill.top(), r = fill.right(), b = fill.bottom();
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    QPen pen(s.outerBorder, 1);
    pen.setCosmetic(true);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawPath(outlinePath(fill, s.xRadius, s.yRadius, b));
    p.restore();
    vline(p, l + 1, t + ry, b, s.innerTopLeft);
    hline(p, l + rx, r - rx, t + 1, s.innerTopLeft);
    vline(p, r - 1, t + ry, b, s.innerBottomRight);
    if (active) // the tab opens into the page: no highlight line across its foot
        hline(p, l + 2, r - 2, b + 1, end);
}

void drawTabContent(QPainter& p, const TabPaintState& s, int index, bool withBox) {
    const TabPaintItem& tab = s.tabs[index];
    const bool active = index == s.activeTab;
    const QRect content = TabStripLayout::contentRect(tab.rect, withBox);
    if (content.width() <= 0 || content.height() <= 0)
        return;
    const QFont& font = active ? s.activeFont : s.inactiveFont;
    const QColor fore = !tab.enabled ? s.disabledFore : (active ? s.activeFore : s.inactiveFore);
    const QFontMetrics fm(font);

    const QSize pic =
        tab.picture.isNull()
            ? QSize()
            : TabStripLayout::pictureSize(tab.picture.deviceIndependentSize().toSize(),
                                          s.pictureSize, content.height());
    const int gap = (!pic.isEmpty() && !tab.text.isEmpty()) ? TabStripLayout::kPictureGap : 0;
    const int picWidth = pic.isEmpty() ? 0 : pic.width();
    const int textRoom = std::max(content.width() - picWidth - gap, 0);
    const QString markup =
        fm.elidedText(tab.markup, Qt::ElideRight, textRoom, Qt::TextShowMnemonic);
    const int textWidth =
        std::min(fm.boundingRect(QRect(), Qt::TextShowMnemonic, markup).width(), textRoom);
    const int groupWidth = picWidth + gap + textWidth;
    int x = content.left() + std::max((content.width() - groupWidth) / 2, 0);

    QRect picRect, textRect;
    const bool pictureFirst = s.pictureAlign != 1;
    if (pictureFirst) {
        picRect = QRect(x, 0, picWidth, pic.height());
        textRect = QRect(x + picWidth + gap, content.top(), textWidth, content.height());
    } else {
        textRect = QRect(x, content.top(), textWidth, content.height());
        picRect = QRect(x + textWidth + gap, 0, picWidth, pic.height());
    }
    if (!pic.isEmpty()) {
        picRect.moveTop(content.top() + (content.height() - pic.height()) / 2);
        QPixmap pixmap = tab.picture;
        if (s.useMaskColor)
            pixmap.setMask(tab.picture.createMaskFromColor(s.pictureMask, Qt::MaskInColor));
        p.save();
        p.setRenderHint(QPainter::SmoothPixmapTransform, pic != pixmap.size());
        p.drawPixmap(picRect, pixmap);
        p.restore();
    }
    p.setFont(font);
    p.setPen(fore);
    p.drawText(textRect, Qt::AlignCenter | Qt::TextSingleLine | Qt::TextShowMnemonic, markup);

    if (active && s.hasFocus && s.showFocusRect && textWidth > 0) {
        const QRect caption =
            fm.boundingRect(textRect, Qt::AlignCenter | Qt::TextShowMnemonic, markup);
        const QRect focus =
            caption.adjusted(-2, -1, 1, 0).intersected(tab.rect.adjusted(2, 2, -2, 0));
        QPen pen(fore, 1, Qt::DotLine);
        pen.setCosmetic(true);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        p.drawRect(focus);
    }
}

void drawControlBox(QPainter& p, const TabPaintState& s, int index) {
    const TabPaintItem& tab = s.tabs[index];
    const QRect box = TabStripLayout::controlBoxRect(tab.rect);
    if (box.width() < 3)
        return;
    const QColor fore = index == s.activeTab ? s.activeFore : s.inactiveFore;
    if (index == s.hotControlBoxTab)
        p.fillRect(box, s.hover);
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    QPen pen(fore, 1);
    pen.setCosmetic(true);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawRect(box.adjusted(0, 0, -1, -1));
    const QRect cross = box.adjusted(2, 2, -3, -3);
    p.drawLine(cross.topLeft(), cross.bottomRight());
    p.drawLine(cross.bottomLeft(), cross.topRight());
    p.restore();
}

// Inverts the band's pixels with the colour's bits, the way an XOR pen draws: drawing
// it a second time restores the tab, and the band shows on any gradient.
void xorBand(QImage& image, qreal dpr, const TabPaintState& s, int index, const QColor& color) {
    const QRect tab = TabStripPainter::fillRect(s.tabs[index].rect, index == s.activeTab);
    const QRect band = TabStripPainter::bandRect(tab);
    if (band.isEmpty())
        return;
    const QPainterPath shape = TabStripPainter::tabShape(tab, s.xRadius, s.yRadius);
    const QRect device(int(std::floor(band.left() * dpr)), int(std::floor(band.top() * dpr)),
                       int(std::ceil(band.width() * dpr)), int(std::ceil(band.height() * dpr)));
    const QRect area = device.intersected(image.rect());
    const QRgb bits = color.rgb() & 0x00FFFFFFu;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = area.left(); x <= area.right(); ++x) {
            if (shape.contains(QPointF((x + 0.5) / dpr, (y + 0.5) / dpr)))
                line[x] ^= bits;
        }
    }
}

} // namespace

QColor TabStripPainter::gradientRowColor(const QColor& start, const QColor& end, int row,
                                         int rows) {
    if (rows <= 1)
        return start;
    const double f = double(std::clamp(row, 0, rows - 1)) / double(rows - 1);
    auto mix = [f](int a, int b) {
        return int(std::lround(a + (b - a) * f));
    };
    return QColor(mix(start.red(), end.red()), mix(start.green(), end.green()),
                  mix(start.blue(), end.blue()));
}

QPainterPath TabStripPainter::tabShape(const QRect& rect, int xRadius, int yRadius) {
    QPainterPath path;
    if (rect.isEmpty())
        return path;
    const Radii radii = clampRadii(rect, xRadius, yRadius);
    const qreal l = rect.left(), t = rect.top(), r = rect.right() + 1.0, b = rect.bottom() + 1.0;
    path.moveTo(l, b);
    path.lineTo(l, t + radii.y);
    path.arcTo(QRectF(l, t, 2 * radii.x, 2 * radii.y), 180, -90);
    path.lineTo(r - radii.x, t);
    path.arcTo(QRectF(r - 2 * radii.x, t, 2 * radii.x, 2 * radii.y), 90, -90);
    path.lineTo(r, b);
    path.closeSubpath();
    return path;
}

QRect TabStripPainter::fillRect(const QRect& tabRect, bool active) {
    return active ? tabRect : tabRect.adjusted(0, 0, 0, -1);
}

QRect TabStripPainter::bandRect(const QRect& tabRect) {
    return QRect(tabRect.left(), tabRect.top(), tabRect.width(),
                 std::min(kBandHeight, tabRect.height()));
}

QImage TabStripPainter::render(const TabPaintState& s) {
    const qreal dpr = s.devicePixelRatio > 0 ? s.devicePixelRatio : 1.0;
    QImage image(s.size * dpr, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return image;
    image.setDevicePixelRatio(dpr);
    {
        QPainter p(&image);
        if (s.cleared) {
            p.fillRect(QRect(QPoint(0, 0), s.size), s.pageBack);
            return image;
        }
        p.fillRect(QRect(QPoint(0, 0), s.size), s.stripBack);
        drawPage(p, s);
        const int count = int(s.tabs.size());
        const bool hoverShown = s.hoverTab >= 0 && s.hoverTab < count && s.hoverTab != s.activeTab;
        for (int i = 0; i < count; ++i) {
            if (i != s.activeTab)
                drawTabBody(p, s, i);
        }
        if (s.activeTab >= 0 && s.activeTab < count)
            drawTabBody(p, s, s.activeTab);
        for (int i = 0; i < count; ++i) {
            const bool withBox =
                s.controlBox && (i == s.activeTab || (hoverShown && i == s.hoverTab));
            drawTabContent(p, s, i, withBox);
            if (withBox)
                drawControlBox(p, s, i);
        }
    }
    if (s.themedHighlights) {
        if (s.hoverTab >= 0 && s.hoverTab < s.tabs.size() && s.hoverTab != s.activeTab)
            xorBand(image, dpr, s, s.hoverTab, s.hover);
        if (s.hasFocus && s.activeTab >= 0 && s.activeTab < s.tabs.size())
            xorBand(image, dpr, s, s.activeTab, s.useFocusedColor ? s.focused : s.hover);
    }
    return image;
}

} // namespace ovra
