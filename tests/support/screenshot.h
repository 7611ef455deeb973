#pragma once

#include <QImage>
#include <QRect>
#include <QString>

namespace ovra::test {

// The area of the current display as it is shown now, compositor included, taken
// through a file in folder. Null when the picture could not be taken.
QImage screenshot(const QString& folder, QRect area);

} // namespace ovra::test
