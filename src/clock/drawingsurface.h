#pragma once

#include <QImage>
#include <QSize>
#include <QString>

#include <cstdint>

class QPainter;

namespace ovra {

// The off-screen image the face is drawn into: 32-bit premultiplied ARGB of the
// window's size, with the text resources every face text shares. It is made for one
// size; a new layout deletes it and makes a new one. Its pixels are made when they
// are first asked for: a window that draws straight into the toolkit's own pixels
// never needs them.
class DrawingSurface {
public:
    // Makes the surface for a window of sizePx logical pixels; dpr is the screen's
    // device pixel ratio, so that a scaled screen gets a sharp face.
    void createSurface(QSize sizePx, qreal dpr = 1.0);
    void deleteSurface();

    // The font family and the centred layout all texts use. The size is accepted
    // for the record only: each text makes its own size when it is drawn.
    void createTextFont(const QString& fontFamily, uint8_t fontSize);
    void deleteTextFont();

    // Clears the whole surface to transparent black.
    void restoreSurface();

    // Starts drawing on the surface with anti-aliased shapes, text and image scaling.
    bool beginContext(QPainter& painter);

    bool exists() const { return !m_sizePx.isEmpty(); }
    // The pixels, made (transparent) on the first call; null when there is no
    // surface or no memory for it.
    QImage& image();
    // The pixels as they are, null while none were asked for.
    const QImage& image() const { return m_image; }
    // Gives the pixels back; the next image() makes them anew.
    void releasePixels() { m_image = QImage(); }
    QSize sizePx() const { return m_sizePx; }
    // The size of the pixels, in device pixels.
    QSize devicePixelSize() const { return m_sizePx * m_dpr; }
    const QString& fontFamily() const { return m_fontFamily; }
    bool hasFont() const { return !m_fontFamily.isEmpty(); }

private:
    QImage m_image;
    QSize m_sizePx;
    qreal m_dpr = 1.0;
    QString m_fontFamily;
};

} // namespace ovra
