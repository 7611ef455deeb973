#include "clock/drawingsurface.h"

#include <QPainter>

namespace ovra {

void DrawingSurface::createSurface(QSize sizePx, qreal dpr) {
    if (exists())
        deleteSurface();
    if (sizePx.isEmpty())
        return;
    m_sizePx = sizePx;
    m_dpr = dpr;
    createTextFont(QStringLiteral("Arial"), 18);
}

void DrawingSurface::deleteSurface() {
    if (exists())
        deleteTextFont();
    m_image = QImage();
    m_sizePx = QSize();
}

QImage& DrawingSurface::image() {
    if (m_image.isNull() && exists()) {
        // Out of memory, the image stays null and the frame is simply not drawn.
        m_image = QImage(devicePixelSize(), QImage::Format_ARGB32_Premultiplied);
        if (!m_image.isNull()) {
            m_image.setDevicePixelRatio(m_dpr);
            m_image.fill(Qt::transparent);
        }
    }
    return m_image;
}

void DrawingSurface::createTextFont(const QString& fontFamily, uint8_t) {
    // "Arial" resolves through fontconfig to a metric-compatible face
    // (Liberation Sans) where Arial itself is not installed.
    m_fontFamily = fontFamily;
}

void DrawingSurface::deleteTextFont() {
    m_fontFamily.clear();
}

void DrawingSurface::restoreSurface() {
    if (!m_image.isNull())
        m_image.fill(Qt::transparent);
}

bool DrawingSurface::beginContext(QPainter& painter) {
    if (image().isNull() || !painter.begin(&m_image))
        return false;
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                           QPainter::SmoothPixmapTransform);
    return true;
}

} // namespace ovra
