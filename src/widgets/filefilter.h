#pragma once

#include <QString>

namespace ovra {

// Turns "Pictures|*.bmp;*.png|All files|*.*" into the Qt form
// "Pictures (*.bmp *.png);;All files (*)". A filter without "|" is taken to be in the
// Qt form already and is returned as it is.
QString toQtFileFilter(const QString& filter);

} // namespace ovra
