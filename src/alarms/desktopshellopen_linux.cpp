#include "alarms/desktopshellopen.h"

#include <QDesktopServices>
#include <QProcess>

namespace ovra {

void DesktopShellOpen::open(const ShellTarget& target) {
    switch (target.kind) {
    case ShellTarget::Kind::Program:
        QProcess::startDetached(target.program, {});
        break;
    case ShellTarget::Kind::Document:
    case ShellTarget::Kind::Address:
        QDesktopServices::openUrl(target.url);
        break;
    case ShellTarget::Kind::Nothing:
        break;
    }
}

} // namespace ovra
