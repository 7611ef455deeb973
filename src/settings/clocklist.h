#pragma once

#include "settings/startposition.h"

#include "settings/instancechannel.h"
#include <functional>

#include <QList>
#include <QString>
#include <QStringList>

namespace ovra {

class ClockLauncher;
class MessageSink;
class KeyStore;

// One clock of the list: its cleaned name and, when it runs, the id of the process
// that shows it (0 when none runs, kNotAnswering when its process does not answer).
struct ClockEntry {
    QString name;
    qint64 window = 0;

    bool running() const { return window != 0; }
    bool notAnswering() const { return window == kNotAnswering; }
};

// The list keeps "Default" and at most 127 added clocks.
inline constexpr int kMaxClockEntries = 128;

// Where the list lives: value "Clocks" of this key, the entries "{name}" in the
// order the clocks were added; "Default" is never in the text.
inline const QString kClockListKey =
    QStringLiteral("HKEY_CURRENT_USER\\Software\\Ovra Clock\\System");
inline const QString kClockListValue = QStringLiteral("Clocks");

namespace clockmessages {
inline const QString EmptyName =
    QStringLiteral(QT_TRANSLATE_NOOP("Messages", "Add a clock failed. Please enter a clock name."));
inline const QString Duplicate =
    QStringLiteral(QT_TRANSLATE_NOOP("Messages", "Clock Name is already exist. Please rename."));
inline const QString DeleteDefault =
    QStringLiteral(QT_TRANSLATE_NOOP("Messages", "Default clock can not be deleted."));
} // namespace clockmessages

// The names in a list text, "Default" first. An entry runs from a "{" to the first
// "}" at or after the search position; text outside the braces is skipped, "{}"
// gives an empty name and an unclosed "{" ends the list. Only the first 128 names
// are kept.
QStringList parseClockList(const QString& clocksText);

// The user's clocks: the list in the store, the running state of each clock, and
// the operations the settings dialog and the command line use to add, start, stop
// and delete clocks. Every refusal goes to the message sink.
class ClockList {
public:
    struct Services {
        KeyStore& store;
        InstanceChannel& channel;
        ClockLauncher& launcher;
        MessageSink& messages;
    };

    // autostartFolder is where the clocks' session autostart entries live.
    ClockList(Services services, QString autostartFolder);

    // The work area new clocks are spread over, asked at each add; without one they
    // are spread as PlacementArea::withoutDisplay() says.
    void setPlacementArea(std::function<PlacementArea()> area) { m_placement = std::move(area); }

    // Rebuilds the list from the store and asks every clock whether it runs. With
    // bringForward each running clock is raised, in list order, so the last running
    // clock of the list ends up in front. False, with a message, when the store could
    // not be read (the entries then hold only "Default") or the running state of the
    // clocks could not be checked.
    bool loadClockList(bool bringForward = true);
    const QList<ClockEntry>& entries() const { return m_entries; }
    int clockCount() const { return int(m_entries.size()); }
    // Whether the list as last loaded holds that exact name.
    bool contains(const QString& name) const;

    // Registers the clock (list entry, Enable, TimeZoneIndex and, for a zone no row
    // carries, TimeZoneName in its key) and starts it. False, with a message, when
    // the name or zone is refused or the store could not take the change.
    bool addClock(const QString& name, int timeZoneIndex, const QByteArray& zoneName = {});

    // Closes the clock if it runs, waiting for its shutdown, then removes its data.
    // "Default" is refused.
    bool deleteClock(const QString& name);

    // Removes the list entry, the settings key and the autostart entry of the clock
    // without looking for its window. Its alarm file stays, so a clock added again
    // under that name finds its alarms.
    bool removeClockData(const QString& name);

    // Starts a process for the clock. False when the name is refused or the program
    // could not be started.
    bool startClockProcess(const QString& name);

    // The id of the process that shows the clock, 0 when it does not run,
    // kNotAnswering when its process does not answer, kChannelFailed (with a
    // message) when this process cannot ask.
    qint64 findClockWindow(const QString& name, bool bringForward = true);

    // Asks the clock to close and waits, a bounded time, until its shutdown is done.
    CloseOutcome closeClockWindow(const QString& name);

    // Asks the running clock to open its settings dialog; Failed comes with a message.
    SettingsOutcome showClockSettings(const QString& name);

    // Whether the clock is known at all: listed, stored or running.
    bool clockExists(const QString& name);

private:
    void warn(const QString& text);
    // This process could not ask the clock (see InstanceChannel::problem()).
    void warnUnreachable(const QString& name);
    bool nameUsable(const QString& name);

    // Where the new clock's window first stands, in twips, clear of the windows of
    // the named clocks as their settings place them.
    QPoint startPositionTwips(const QStringList& standing);

    Services m_s;
    QString m_autostartFolder;
    std::function<PlacementArea()> m_placement;
    QList<ClockEntry> m_entries;
};

} // namespace ovra
