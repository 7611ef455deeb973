#include "support/screenshot.h"

#include "support/desktop.h"

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

} // namespace ovra::test
