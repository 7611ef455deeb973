#include "dialogs/toolkitsettings.h"

#include <QSettings>

namespace ovra {

void keepToolkitSettingsOutOfTheUserFolder() {
    // A folder inside a device file: no user, root included, can create it.
    const QString nowhere = QStringLiteral("/dev/null/ovra-clock");
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, nowhere);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, nowhere);
}

} // namespace ovra
