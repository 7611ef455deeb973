#include "widgets/tabstriplayout.h"

#include <algorithm>

namespace ovra {

int TabStripLayout::rowHeight(int activeHeight, int inactiveHeight) {
    return std::max(activeHeight, inactiveHeight);
}

QList<QRect> TabStripLayout::tabRects(const TabLayoutInput& in) {
    const int count = int(in.contentWidths.size());
    const int row = rowHeight(in.activeHeight, in.inactiveHeight);
    QList<QRect> rects;
    rects.reserve(count);
    const int width = std::max(in.width, 0);
    int x = kPagesIndent;
    for (int i = 0; i < count; ++i) {
        const int height = (i == in.activeTab) ? in.activeHeight : in.inactiveHeight;
        const int top = row - height;
        int left = 0;
        int right = -1;
        if (in.style == 0) {
            left = int(qint64(i) * width / count);
            right = int(qint64(i + 1) * width / count) - 1;
        } else {
            left = x;
            right = x + std::max(in.contentWidths[i], 1) - 1;
            x = right + 1;
            if (i == in.activeTab) {
                left = std::max(0, left - kActiveOverlap);
                right = right + kActiveOverlap;
            }
        }
        rects.append(QRect(QPoint(left, top), QPoint(right, row - 1)));
    }
    return rects;
}

QRect TabStripLayout::pageRect(QSize size, int rowHeight) {
    const int top = std::max(rowHeight - 1, 0);
    return QRect(0, top, size.width(), std::max(size.height() - top, 0));
}

QRect TabStripLayout::controlBoxRect(const QRect& tab) {
    const int side = std::clamp(tab.height() - 6, 0, kBoxSize);
    const int left = tab.right() - kBoxMargin - side + 1;
    const int top = tab.top() + (tab.height() - side + 1) / 2;
    return QRect(left, top, side, side);
}

QRect TabStripLayout::contentRect(const QRect& tab, bool withControlBox) {
    QRect content = tab.adjusted(kCaptionPadding / 2, 2, -kCaptionPadding / 2, -1);
    if (withControlBox)
        content.setRight(std::min(content.right(), controlBoxRect(tab).left() - 2));
    return content;
}

int TabStripLayout::contentWidth(int captionWidth, int pictureWidth, bool withControlBox) {
    int width = 2 * kCaptionPadding + captionWidth;
    if (pictureWidth > 0)
        width += pictureWidth + (captionWidth > 0 ? kPictureGap : 0);
    if (withControlBox)
        width += kBoxSize + kBoxMargin;
    return width;
}

QSize TabStripLayout::pictureSize(QSize natural, int sizeClass, int availableHeight) {
    if (natural.isEmpty())
        return {};
    QSize size = natural;
    if (sizeClass >= 1 && sizeClass <= 3) {
        const int side = 8 + 8 * sizeClass;
        size = QSize(side, side);
    }
    const int room = std::max(availableHeight, 1);
    if (size.height() > room)
        size = size.scaled(QSize(room * size.width(), room), Qt::KeepAspectRatio);
    return size;
}

} // namespace ovra
