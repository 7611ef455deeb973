#include "settings/clocklauncher.h"

#include "base/clockname.h"

#include <QDir>
#include <QProcess>

namespace ovra {

bool DetachedClockLauncher::launch(const QString& clockName) {
    QProcess process;
    process.setProgram(m_program);
    process.setArguments(clockArguments(clockName));
    // The clock outlives whoever started it: it must not keep that caller's
    // terminal or pipes open, nor die writing to them once they are gone.
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.setWorkingDirectory(QDir::homePath());
    return process.startDetached();
}

} // namespace ovra
