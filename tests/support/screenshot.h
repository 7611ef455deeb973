#pragma once

#include <QDateTime>
#include <QImage>
#include <QRect>
#include <QRegion>
#include <QString>

namespace ovra::test {

// The area of the current display as it is shown now, compositor included, taken
// through a file in folder. Null when the picture could not be taken.
QImage screenshot(const QString& folder, QRect area);

// The face of a clock as `--render` draws it from its stored settings, showing the
// clock time `at`, in the format a window stores it.
QImage renderedFace(const QString& program, const QString& folder, const QDateTime& at,
                    const QString& clockName = QStringLiteral("Default"));

// How many pixels within the region differ between two pictures of one size.
int differingPixels(const QImage& a, const QImage& b, const QRegion& within);

// The pixels of a clock window, as the X server holds them; null when they are
// not a picture of the face's size.
QImage windowFace(quint32 window, QSize size);

} // namespace ovra::test
