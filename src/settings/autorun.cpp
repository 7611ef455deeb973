#include "settings/autorun.h"

#include "base/apppaths.h"
#include "base/clockname.h"
#include "base/privatepath.h"
#include "base/regularfile.h"
#include "base/textutil.h"
#include "settings/clocklist.h"
#include "settings/desktopentry.h"
#include "settings/keystore.h"
#include "settings/settingsstore.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace ovra {

Autorun::Autorun(const ClockState& state, const AppPaths& paths, QString programPath, Warning warn)
    : m_state(state), m_paths(paths), m_program(std::move(programPath)), m_warn(std::move(warn)) {}

QString Autorun::entryFilePath(const QString& autostartFolder, const QString& clockName) {
    return withTrailingSlash(autostartFolder) + QStringLiteral("Ovra Clock - ") + clockName +
           QStringLiteral(".desktop");
}

QString Autorun::expectedCommandLine(const QString& programPath, const QString& clockName) {
    return desktopExecLine(QStringList{programPath} + clockArguments(clockName));
}

QString Autorun::entryFilePath() const {
    return entryFilePath(m_paths.autostartFolder, m_state.clockName);
}

QString Autorun::expectedCommandLine() const {
    return expectedCommandLine(m_program, m_state.clockName);
}

QString Autorun::currentCommandLine() const {
    const QString file = entryFilePath();
    // An entry the desktop was told to hide does not start anything.
    const auto hidden = readDesktopEntryKey(file, QStringLiteral("Hidden"));
    if (hidden && hidden->trimmed() == u"true")
        return {};
    const QString exec = readDesktopEntryKey(file, QStringLiteral("Exec")).value_or(QString());
    // Cut at a NUL, a broken line would pass for the clock's own and never be mended.
    if (exec.contains(QChar(u'\0')))
        return exec;
    return cleanString(exec);
}

int Autorun::getAutorunChoice() const {
    return currentCommandLine() == expectedCommandLine() ? 0 : 1;
}

bool Autorun::namesThisProgram() const {
    return readDesktopEntryKey(entryFilePath(), QStringLiteral("TryExec")) == m_program;
}

int Autorun::syncAutorunEntry(int wish) {
    const QString expected = expectedCommandLine();
    const QString current = currentCommandLine();
    // An entry written before it named the program to try is the clock's own all the
    // same; it is written again so the session skips it once the program is gone.
    if (current == expected && wish == 0 && namesThisProgram())
        return 1;
    // Someone else's entry (another program folder, an edit by hand) is only
    // replaced when the clock is asked to start with the session.
    if (current != expected && wish == 1)
        return 0;
    if (wish != 0)
        removeAutorunEntry(m_paths.autostartFolder, m_state.clockName);
    else if (clockListed())
        writeEntry();
    return currentCommandLine() == expected ? 1 : 0;
}

bool Autorun::clockListed() const {
    if (!m_store || m_state.clockName == kDefaultClockName)
        return true;
    int rc = status::Success;
    const QString text = m_store->readText(kClockListKey, kClockListValue, &rc);
    return (rc == status::Success || rc == status::NotFound) &&
           parseClockList(text).contains(m_state.clockName);
}

bool Autorun::writeEntry() const {
    // The entry is a command run at every login: neither it nor a folder made for it
    // may be writable by anyone else, whatever the umask.
    if (!makePrivatePath(m_paths.autostartFolder))
        return false;
    // Renaming the new entry over a folder, FIFO or device would destroy it.
    if (!mayReplaceWithFile(entryFilePath())) {
        if (m_warn)
            m_warn(notRegularFileText(entryFilePath()) +
                   QCoreApplication::translate("Settings",
                                               " The clock's autostart entry is left as it is."));
        return false;
    }
    const QString title = QStringLiteral("Ovra Clock - ") + m_state.clockName;
    QString text =
        QStringLiteral("[Desktop Entry]\n"
                       "Type=Application\n"
                       "Name=%1\n"
                       "Comment=Shows the clock \"%2\" when you log in\n"
                       "Exec=%3\n"
                       "TryExec=%4\n"
                       "Icon=ovra-clock\n"
                       "Terminal=false\n"
                       "X-GNOME-Autostart-enabled=true\n")
            .arg(escapeDesktopValue(title), escapeDesktopValue(m_state.clockName),
                 escapeDesktopValue(expectedCommandLine()), escapeDesktopValue(m_program));
    QSaveFile file(entryFilePath());
    // Set on the new file before it takes the entry's place; an old entry's wider
    // rights are not carried over.
    if (!file.open(QIODevice::WriteOnly) ||
        !file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner))
        return false;
    file.write(text.toUtf8());
    return file.commit();
}

bool Autorun::removeAutorunEntry(const QString& autostartFolder, const QString& clockName) {
    const QString file = entryFilePath(autostartFolder, clockName);
    QFile::remove(file);
    return !QFileInfo::exists(file);
}

} // namespace ovra
