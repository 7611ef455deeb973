#include "settings/clockcommands.h"

#include "base/clockname.h"
#include "base/messagesink.h"
#include "base/textutil.h"
#include "settings/clocklist.h"
#include "settings/keystore.h"
#include "time/zonetable.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

namespace ovra {

namespace {
constexpr int kDone = 0;
constexpr int kRefused = 1;

int refuse(MessageSink& errors, const QString& text) {
    errors.showMessage(text, kErrorTitle, MessageIcon::Warning);
    return kRefused;
}

// A clock's name inside a message, in the quotation marks of the user's language.
QString quoted(const QString& name) {
    //: Quotation marks around a clock's name in a message: „%1“ in German.
    return QCoreApplication::translate("CommandLine", "\"%1\"").arg(name);
}

QStringList namesOf(const QList<ClockEntry>& entries) {
    QStringList names;
    for (const ClockEntry& entry : entries)
        names << entry.name;
    return names;
}

// Names are told apart by case and accents, but a user who types "sao paulo" for
// "São Paulo" means the listed clock: the refusal names it.
QString withSuggestion(const QString& refusal, const QString& name, const QStringList& listed) {
    const QString typed = withoutCaseOrAccents(name);
    for (const QString& other : listed)
        if (withoutCaseOrAccents(other) == typed)
            return refusal + u' ' +
                   QCoreApplication::translate("CommandLine", "Did you mean %1?")
                       .arg(quoted(other));
    return refusal;
}

QString noSuchClockText(const QString& name, const QStringList& listed) {
    return withSuggestion(
        QCoreApplication::translate("CommandLine", "There is no clock named %1.").arg(quoted(name)),
        name, listed);
}

// What to do about a clock that is not listed, with the words to type for it.
QString notListedText(const QString& name, const QStringList& listed) {
    //: %2 is the name as it is typed after --add, with "-- " before a name that
    //: begins with "-".
    return withSuggestion(QCoreApplication::translate(
                              "CommandLine", "There is no clock named %1. Add it with --add %2.")
                              .arg(quoted(name), clockArguments(name).join(u' ')),
                          name, listed);
}

// Until a new process has claimed its name, a --stop or --delete that follows at
// once would find nothing to close, and the clock would run on (unlisted, after a
// delete). A started clock counts once it answers on its channel.
int waitUntilAnswering(ClockList& clocks, const QString& name, const QString& done,
                       MessageSink& errors, int startWaitMs) {
    const QDeadlineTimer deadline(startWaitMs);
    for (;;) {
        const qint64 pid = clocks.findClockWindow(name, false);
        if (pid > 0)
            return kDone;
        if (pid == kChannelFailed)
            return kRefused;
        if (deadline.hasExpired())
            break;
        QThread::msleep(50);
    }
    //: %2 is "started" or "added".
    return refuse(errors, QCoreApplication::translate(
                              "CommandLine", "The clock %1 was %2, but it did not answer within %3 "
                                             "seconds.")
                              .arg(quoted(name), done, QString::number(startWaitMs / 1000)));
}

int listClocks(ClockList& clocks, QTextStream& out) {
    // A listing from a terminal only reports; it does not rearrange the windows.
    if (!clocks.loadClockList(false))
        return kRefused;
    for (const ClockEntry& entry : clocks.entries())
        out << entry.name
            << (entry.notAnswering() ? " -- Not answering"
                                     : (entry.running() ? " -- Running" : " -- Stopped"))
            << '\n';
    return kDone;
}

// A clock without a display ends as soon as it starts; waiting for its answer would
// only end in "did not answer" and say nothing of the reason.
bool noDisplay(const std::function<bool()>& displayReachable) {
    return displayReachable && !displayReachable();
}

int startClock(ClockList& clocks, const QString& name, QTextStream& out, MessageSink& errors,
               int startWaitMs, const std::function<bool()>& displayReachable) {
    if (!clocks.loadClockList(false))
        return kRefused;
    if (!clocks.contains(name))
        return refuse(errors, notListedText(name, namesOf(clocks.entries())));
    if (const qint64 pid = clocks.findClockWindow(name, true); pid != 0) {
        if (pid == kChannelFailed)
            return kRefused;
        if (pid == kNotAnswering)
            return refuse(errors, QCoreApplication::translate(
                                      "CommandLine", "The clock %1 is running but does not answer.")
                                      .arg(quoted(name)));
        out << QCoreApplication::translate("CommandLine", "The clock %1 is already running.")
                   .arg(quoted(name))
            << '\n';
        return kDone;
    }
    if (noDisplay(displayReachable))
        return refuse(errors, QCoreApplication::translate(
                                  "CommandLine",
                                  "The clock %1 cannot be started: no display could be opened.")
                                  .arg(quoted(name)));
    if (!clocks.startClockProcess(name))
        return refuse(
            errors, QCoreApplication::translate("CommandLine", "The clock %1 could not be started.")
                        .arg(quoted(name)));
    return waitUntilAnswering(clocks, name, QCoreApplication::translate("CommandLine", "started"),
                              errors, startWaitMs);
}

int stopClock(ClockList& clocks, const QString& name, MessageSink& errors) {
    const qint64 pid = clocks.findClockWindow(name, false);
    if (pid == kChannelFailed)
        return kRefused;
    if (pid == 0) {
        // "Not running" would suggest that the clock exists; a mistyped name hears
        // what --delete says of it.
        if (!clocks.loadClockList(false))
            return kRefused;
        if (!clocks.clockExists(name))
            return refuse(errors, noSuchClockText(name, namesOf(clocks.entries())));
        return refuse(errors,
                      QCoreApplication::translate("CommandLine", "The clock %1 is not running.")
                          .arg(quoted(name)));
    }
    switch (clocks.closeClockWindow(name)) {
    case CloseOutcome::Closed:
        return kDone;
    case CloseOutcome::NotRunning:
        return refuse(errors,
                      QCoreApplication::translate("CommandLine", "The clock %1 is not running.")
                          .arg(quoted(name)));
    case CloseOutcome::Failed:
        return kRefused;
    case CloseOutcome::TimedOut:
        break;
    }
    return refuse(errors,
                  QCoreApplication::translate(
                      "CommandLine", "The clock %1 did not finish closing within %2 seconds.")
                      .arg(quoted(name), QString::number(kCloseTimeoutMs / 1000)));
}

int showSettings(ClockList& clocks, const QString& name, MessageSink& errors) {
    switch (clocks.showClockSettings(name)) {
    case SettingsOutcome::Shown:
        return kDone;
    case SettingsOutcome::Failed:
        return kRefused;
    case SettingsOutcome::NotAnswering:
        return refuse(errors, QCoreApplication::translate(
                                  "CommandLine", "The clock %1 is running but does not answer.")
                                  .arg(quoted(name)));
    case SettingsOutcome::NotUnderstood:
        return refuse(errors,
                      QCoreApplication::translate(
                          "CommandLine",
                          "The clock %1 could not be asked to open its settings: it runs an older "
                          "version of the program. Stop it with --stop and start it again with "
                          "--start.")
                          .arg(quoted(name)));
    case SettingsOutcome::NotRunning:
        break;
    }
    if (!clocks.loadClockList(false))
        return kRefused;
    if (!clocks.clockExists(name))
        return refuse(errors, QCoreApplication::translate(
                                  "CommandLine", "There is no clock named %1. Add it with --add.")
                                  .arg(quoted(name)));
    return refuse(errors, QCoreApplication::translate(
                              "CommandLine", "The clock %1 is not running. Start it with --start.")
                              .arg(quoted(name)));
}

int addClock(ClockList& clocks, const QString& name, const ZoneChoice& zone, MessageSink& errors,
             int startWaitMs, const std::function<bool()>& displayReachable) {
    if (!clocks.loadClockList(false))
        return kRefused;
    if (!clocks.addClock(name, zone.row, zone.zoneName))
        return kRefused;
    if (noDisplay(displayReachable))
        return refuse(errors, QCoreApplication::translate(
                                  "CommandLine", "The clock %1 was added, but it cannot be shown: "
                                                 "no display could be opened.")
                                  .arg(quoted(name)));
    return waitUntilAnswering(clocks, name, QCoreApplication::translate("CommandLine", "added"),
                              errors, startWaitMs);
}

int deleteClock(ClockList& clocks, const QString& name, MessageSink& errors) {
    if (!clocks.loadClockList(false))
        return kRefused;
    if (name != kDefaultClockName && clockNameProblem(name).isEmpty() && !clocks.clockExists(name))
        return refuse(errors, noSuchClockText(name, namesOf(clocks.entries())));
    return clocks.deleteClock(name) ? kDone : kRefused;
}
} // namespace

ZoneChoice zoneForNewClock(const QTimeZone& computer, const QDateTime& nowUtc) {
    const ZoneChoice choice = computerZoneChoice(computer, nowUtc);
    return choice.isValid() ? choice : computerZoneChoice(QTimeZone::utc(), nowUtc);
}

bool clockMayStart(KeyStore& store, const QString& name, MessageSink& errors) {
    if (name == kDefaultClockName)
        return true;
    int rc = status::Success;
    const QString text = store.readText(kClockListKey, kClockListValue, &rc);
    if (rc != status::Success && rc != status::NotFound)
        return true;
    const QStringList listed = parseClockList(text);
    if (listed.contains(name))
        return true;
    refuse(errors, notListedText(name, listed));
    return false;
}

int runClockCommand(ClockCommand command, const QString& name, std::optional<ZoneChoice> zone,
                    ClockList& clocks, QTextStream& out, MessageSink& errors,
                    const ZoneChoice& defaultZone, int startWaitMs,
                    const std::function<bool()>& displayReachable) {
    // A name that no clock can have is refused before the store is opened, with its
    // own explanation rather than "not running" or "no such clock". An empty name
    // is left to the operations, which have their own message for it.
    if (command != ClockCommand::List && !name.isEmpty()) {
        if (const QString problem = clockNameProblem(name); !problem.isEmpty()) {
            refuse(errors, problem);
            out.flush();
            return kRefused;
        }
    }
    int result = kRefused;
    switch (command) {
    case ClockCommand::List:
        result = listClocks(clocks, out);
        break;
    case ClockCommand::Add:
        result = addClock(clocks, name, zone.value_or(defaultZone), errors, startWaitMs,
                          displayReachable);
        break;
    case ClockCommand::Start:
        result = startClock(clocks, name, out, errors, startWaitMs, displayReachable);
        break;
    case ClockCommand::Stop:
        result = stopClock(clocks, name, errors);
        break;
    case ClockCommand::Delete:
        result = deleteClock(clocks, name, errors);
        break;
    case ClockCommand::Settings:
        result = showSettings(clocks, name, errors);
        break;
    }
    out.flush();
    return result;
}

} // namespace ovra
