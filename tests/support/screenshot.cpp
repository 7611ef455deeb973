#include "support/screenshot.h"

#include "support/desktop.h"
#include "support/x11probe.h"

#include <QFile>

namespace ovra::test {

QImage screenshot(const QString& folder, QRect area) {
    const QString file = folder + QStringLiteral("/shot.png");
    QFile::remove(file);
    runProgram(QStringLiteral("import"),
               {QStringLiteral("-window"), QStringLiteral("root"), QStringLiteral("-crop"),
                QStringLiteral("%1x%2+%3+%4")
                    .arg(area.width())
                    .arg(area.height())
                    .arg(area.x())
                    .arg(area.y()),
                QStringLiteral("+repage"), file});
    return QImage(file).convertToFormat(QImage::Format_RGB32);
}

QImage renderedFace(const QString& program, const QString& folder, const QDateTime& at,
                    const QString& clockName) {
    const QString file = folder + QStringLiteral("/whole.png");
    QFile::remove(file);
    runProgram(program, {QStringLiteral("--render"), file, QStringLiteral("--at"),
                         at.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")), clockName});
    return QImage(file).convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

int differingPixels(const QImage& a, const QImage& b, const QRegion& within) {
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            n += within.contains(QPoint(x, y)) && a.pixel(x, y) != b.pixel(x, y);
    return n;
}

QImage windowFace(quint32 window, QSize size) {
    const x11::WindowPixels read = x11::windowPixels(window);
    if (read.depth != 32 || read.size != size)
        return {};
    return QImage(reinterpret_cast<const uchar*>(read.data.constData()), size.width(),
                  size.height(), QImage::Format_ARGB32_Premultiplied)
        .copy();
}

} // namespace ovra::test
