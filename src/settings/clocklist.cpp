#include "settings/clocklist.h"

#include "base/clockname.h"
#include "base/messagesink.h"
#include "base/textutil.h"
#include "settings/autorun.h"
#include "settings/clocklauncher.h"
#include "settings/clocksettings.h"
#include "settings/keystore.h"
#include "settings/settingsstore.h"
#include "time/clocktime.h"
#include "time/zonetable.h"

#include <QCoreApplication>
#include <QSet>

#include <algorithm>
#include <cmath>

#include <optional>

namespace ovra {

namespace {
QString entryText(const QString& name) {
    return u'{' + name + u'}';
}

// The list text with a new entry at its end. A "{" after the last "}" would swallow
// the new entry ("{A}{B" + "{C}" reads as A and "B{C"); such a tail was never an
// entry, since the list ends at an unclosed "{", so it is dropped.
QString withEntryAppended(const QString& text, const QString& name) {
    const qsizetype lastClose = text.lastIndexOf(u'}');
    const bool danglingOpen = text.indexOf(u'{', lastClose + 1) >= 0;
    return (danglingOpen ? text.left(lastClose + 1) : text) + entryText(name);
}

// The list text without the entries of that name, found the way the list is read.
// For lists this program wrote that is every "{name}"; in a damaged text, cutting
// out every "{name}" could join what surrounds it into one entry ("{A{A}x{B}" would
// lose B), and "{ name }" would stay listed.
QString withoutEntries(const QString& text, const QString& name) {
    QString rest;
    qsizetype pos = 0;
    qsizetype kept = 0; // text before this position is already in rest
    for (;;) {
        const qsizetype open = text.indexOf(u'{', pos);
        const qsizetype close = text.indexOf(u'}', pos);
        if (open < 0 || close < 0)
            break;
        if (close > open && cleanString(text.mid(open + 1, close - open - 1)) == name) {
            rest += QStringView(text).mid(kept, open - kept);
            kept = close + 1;
        }
        pos = close + 1;
    }
    return rest + text.mid(kept);
}

// The whole list text, also when it is longer than ordinary reads hand back: a
// change must never start from an empty list just because the stored one is long,
// or because the store could not be read (nullopt then).
std::optional<QString> readWholeListText(KeyStore& store) {
    const KeyPath path = splitKeyPath(kClockListKey);
    RawValue raw;
    const int rc = store.backend().readValue(path.root, path.subKey, kClockListValue, raw);
    if (rc == status::NotFound)
        return QString();
    if (rc != status::Success)
        return std::nullopt;
    // Every kind that a list read takes for text counts here too, decoded the same
    // way: a change must start from the list the clocks were shown, not an empty one.
    if (raw.type == valuetype::Binary)
        return cleanString(QString::fromLatin1(raw.data));
    if (raw.type != valuetype::String && raw.type != valuetype::ExpandString &&
        raw.type != valuetype::MultiString)
        return QString();
    return cleanString(QString::fromUtf8(raw.data));
}

QString storeProblem(int rc) {
    switch (rc) {
    case status::Busy:
        return QCoreApplication::translate("ClockList", "it is kept busy by another program");
    case status::StoreCorrupt:
        return QCoreApplication::translate("ClockList", "it is damaged");
    case status::AccessDenied:
        return QCoreApplication::translate("ClockList", "access to it is denied");
    default:
        return QCoreApplication::translate("ClockList",
                                           "it could not be opened or read (status %1)")
            .arg(rc);
    }
}

// A value or key that is already gone is fine, and so is a key that still holds
// other keys (only its values go then); a store that cannot be written is not.
bool removalFailed(int rc) {
    return rc != status::Success && rc != status::NotFound && rc != status::AccessDenied;
}

enum class AddRefusal { None, Duplicate, Full, TooLong, StoreFailed };
} // namespace

QStringList parseClockList(const QString& text) {
    QStringList names{kDefaultClockName};
    qsizetype pos = 0;
    for (;;) {
        const qsizetype open = text.indexOf(u'{', pos);
        // Searched from the same position as "{", not from after it.
        const qsizetype close = text.indexOf(u'}', pos);
        if (open < 0 || close < 0)
            break;
        if (close > open && names.size() < kMaxClockEntries)
            names << cleanString(text.mid(open + 1, close - open - 1));
        pos = close + 1;
    }
    return names;
}

ClockList::ClockList(Services services, QString autostartFolder)
    : m_s(services), m_autostartFolder(std::move(autostartFolder)) {}

void ClockList::warn(const QString& text) {
    m_s.messages.showMessage(text, kErrorTitle, MessageIcon::Warning);
}

bool ClockList::nameUsable(const QString& name) {
    if (const QString problem = clockNameProblem(name); !problem.isEmpty()) {
        warn(problem);
        return false;
    }
    return true;
}

bool ClockList::loadClockList(bool bringForward) {
    // A list that cannot be read is not an empty list: answering "only Default"
    // would hide the clocks and let a delete claim that a clock does not exist.
    const KeyPath path = splitKeyPath(kClockListKey);
    RawValue raw;
    const int rc = m_s.store.backend().readValue(path.root, path.subKey, kClockListValue, raw);
    const bool readable = rc == status::Success || rc == status::NotFound;
    if (!readable)
        warn(QCoreApplication::translate(
                 "ClockList", "The clock list could not be read from the settings store: %1.")
                 .arg(storeProblem(rc)));
    const QStringList names =
        readable ? parseClockList(m_s.store.readText(kClockListKey, kClockListValue))
                 : QStringList{kDefaultClockName};
    m_entries.clear();
    m_entries.reserve(names.size());
    for (const QString& name : names)
        m_entries.append({name, 0});
    bool reachable = true;
    for (ClockEntry& entry : m_entries) {
        // Once this process cannot ask, it cannot ask about the rest either; none of
        // them is taken for stopped.
        entry.window = reachable ? findClockWindow(entry.name, bringForward) : kChannelFailed;
        reachable = entry.window != kChannelFailed;
    }
    return readable && reachable;
}

bool ClockList::contains(const QString& name) const {
    return std::any_of(m_entries.cbegin(), m_entries.cend(),
                       [&](const ClockEntry& e) { return e.name == name; });
}

bool ClockList::addClock(const QString& rawName, int timeZoneIndex, const QByteArray& zoneName) {
    const QString name = cleanString(rawName);
    if (name.isEmpty()) {
        warn(clockmessages::EmptyName);
        return false;
    }
    if (contains(name) || name == kDefaultClockName) {
        warn(clockmessages::Duplicate);
        return false;
    }
    if (!nameUsable(name))
        return false;
    if (!zoneAt(timeZoneIndex)) {
        warn(
            QCoreApplication::translate(
                "ClockList", "The time zone index %1 does not exist; choose an index from 0 to %2.")
                .arg(timeZoneIndex)
                .arg(kZoneCount - 1));
        return false;
    }

    // Read, check and write in one transaction: another clock adding or deleting at
    // the same moment can then neither lose this change nor have its own lost.
    AddRefusal refusal = AddRefusal::None;
    // Which clocks stand on the screen, asked now rather than taken from the list as
    // last loaded: a dialog open for a while has not seen the clocks added or started
    // since. Asked before the store is locked, so that a clock slow to answer keeps
    // no other clock waiting for the store.
    const QStringList listedBefore =
        parseClockList(m_s.store.readText(kClockListKey, kClockListValue));
    QSet<QString> standing;
    for (const QString& listed : listedBefore)
        if (findClockWindow(listed, false) != 0) // one that does not answer still stands there
            standing.insert(listed);
    const int rc = m_s.store.transaction([&] {
        const std::optional<QString> stored = readWholeListText(m_s.store);
        if (!stored) {
            refusal = AddRefusal::StoreFailed;
            return false;
        }
        const QString text = *stored;
        const QStringList names = parseClockList(text);
        if (names.contains(name)) {
            refusal = AddRefusal::Duplicate;
            return false;
        }
        if (names.size() >= kMaxClockEntries) {
            refusal = AddRefusal::Full;
            return false;
        }
        const QString newText = withEntryAppended(text, name);
        // A longer list would read back as no list at all, and every clock would vanish.
        if (newText.toUtf8().size() > kMaxTextBytes) {
            refusal = AddRefusal::TooLong;
            return false;
        }
        const QString key = clockKeyPath(name);
        // A key left from before (stored but not listed) keeps what it holds.
        const KeyPath path = splitKeyPath(key);
        const bool placed = m_s.store.backend().keyExists(path.root, path.subKey);
        QStringList taken;
        for (const QString& listed : names)
            // A clock listed since the question above is starting now: it will stand
            // where its own add placed it.
            if (standing.contains(listed) || !listedBefore.contains(listed))
                taken << listed;
        const QPoint start = placed ? QPoint() : startPositionTwips(taken);
        // A new clock follows its place's daylight saving where the system knows the
        // place's rules; a record left from before keeps its own choice.
        const int32_t timeStandard = zoneOfChoice({timeZoneIndex, zoneName}).isValid()
                                         ? timestandard::Automatic
                                         : timestandard::Standard;
        if (!placed &&
            (m_s.store.writeInteger(key, QStringLiteral("Left"), start.x()) != status::Success ||
             m_s.store.writeInteger(key, QStringLiteral("Top"), start.y()) != status::Success ||
             m_s.store.writeInteger(key, QStringLiteral("TimeStandard"), timeStandard) !=
                 status::Success)) {
            refusal = AddRefusal::StoreFailed;
            return false;
        }
        // A key left from before must not keep a zone name that its new row contradicts.
        const int zoneNameRc =
            zoneName.isEmpty()
                ? m_s.store.deleteValue(key, kZoneNameValue)
                : m_s.store.writeText(key, kZoneNameValue, QString::fromUtf8(zoneName));
        if ((zoneNameRc != status::Success && zoneNameRc != status::NotFound) ||
            m_s.store.writeText(kClockListKey, kClockListValue, newText) != status::Success ||
            m_s.store.writeInteger(key, QStringLiteral("Enable"), 1) != status::Success ||
            m_s.store.writeInteger(key, QStringLiteral("TimeZoneIndex"), timeZoneIndex) !=
                status::Success) {
            refusal = AddRefusal::StoreFailed;
            return false;
        }
        return true;
    });
    if (rc != status::Success && refusal == AddRefusal::None)
        refusal = AddRefusal::StoreFailed;

    switch (refusal) {
    case AddRefusal::None:
        break;
    case AddRefusal::Duplicate:
        warn(clockmessages::Duplicate);
        return false;
    case AddRefusal::Full:
        warn(QCoreApplication::translate(
                 "ClockList", "The clock list is full: it keeps at most %1 clocks. Delete a clock "
                              "before adding \"%2\".")
                 .arg(QString::number(kMaxClockEntries), name));
        return false;
    case AddRefusal::TooLong:
        warn(QCoreApplication::translate(
                 "ClockList", "The clock list is full: adding \"%1\" would make it longer than %2 "
                              "bytes. Delete a clock or choose a shorter name.")
                 .arg(name, QString::number(kMaxTextBytes)));
        return false;
    case AddRefusal::StoreFailed:
        warn(QCoreApplication::translate(
                 "ClockList", "The clock \"%1\" could not be added: the settings store cannot be "
                              "written.")
                 .arg(name));
        return false;
    }
    startClockProcess(name);
    return true;
}

QPoint ClockList::startPositionTwips(const QStringList& standing) {
    const PlacementArea area = m_placement ? m_placement() : PlacementArea::withoutDisplay();
    int side = clockWindowSidePx(defaultSettings());
    QList<QRect> taken;
    for (const QString& name : standing) {
        ClockState other;
        other.clockName = name;
        other.settings = defaultSettings();
        loadClockSettings(m_s.store, other);
        const int otherSide = clockWindowSidePx(other.settings);
        side = std::max(side, otherSide);
        taken << QRect(QPoint(int(std::lround(other.settings.Left / area.tx)),
                              int(std::lround(other.settings.Top / area.ty))),
                       QSize(otherSide, otherSide));
    }
    const QPoint px = chooseStartPosition(taken, area.pixels, side);
    return {int(std::lround(px.x() * area.tx)), int(std::lround(px.y() * area.ty))};
}

bool ClockList::deleteClock(const QString& rawName) {
    const QString name = cleanString(rawName);
    if (name == kDefaultClockName) {
        warn(clockmessages::DeleteDefault);
        return false;
    }
    if (!nameUsable(name))
        return false;
    const qint64 pid = findClockWindow(name, false);
    const CloseOutcome closed = pid != 0 ? closeClockWindow(name) : CloseOutcome::NotRunning;
    // A clock that may still run would write its data back after the removal.
    if (pid == kChannelFailed || closed == CloseOutcome::Failed)
        return false;
    if (closed == CloseOutcome::TimedOut) {
        // The caller goes on: the clock is deleted all the same, but say that its
        // process may still be there.
        warn(QCoreApplication::translate(
                 "ClockList", "The clock \"%1\" did not finish closing within %2 seconds; it is "
                              "deleted, but its window may stay open.")
                 .arg(name, QString::number(kCloseTimeoutMs / 1000)));
    }
    if (QCoreApplication::instance())
        QCoreApplication::processEvents();
    return removeClockData(name);
}

bool ClockList::removeClockData(const QString& rawName) {
    const QString name = cleanString(rawName);
    // "System" would take the list itself with it.
    if (!nameUsable(name))
        return false;
    const QString key = clockKeyPath(name);
    const int rc = m_s.store.transaction([&] {
        const std::optional<QString> text = readWholeListText(m_s.store);
        if (!text)
            return false;
        const QString rest = withoutEntries(*text, name);
        if (rest != *text &&
            m_s.store.writeText(kClockListKey, kClockListValue, rest) != status::Success)
            return false;
        for (const SettingsField& field : kSettingsFields) {
            if (removalFailed(m_s.store.deleteValue(key, QString::fromUtf16(field.name))))
                return false;
        }
        return !removalFailed(m_s.store.deleteKey(kOvraKey, name));
    });
    if (rc != status::Success) {
        warn(QCoreApplication::translate(
                 "ClockList", "The clock \"%1\" could not be deleted: the settings store cannot be "
                              "written.")
                 .arg(name));
        return false;
    }
    if (!Autorun::removeAutorunEntry(m_autostartFolder, name)) {
        warn(QCoreApplication::translate(
                 "ClockList", "The autostart entry of the clock \"%1\" could not be removed.")
                 .arg(name));
        return false;
    }
    return true;
}

bool ClockList::startClockProcess(const QString& rawName) {
    const QString name = cleanString(rawName);
    if (!nameUsable(name))
        return false;
    return m_s.launcher.launch(name);
}

qint64 ClockList::findClockWindow(const QString& rawName, bool bringForward) {
    const QString name = cleanString(rawName);
    if (!clockNameProblem(name).isEmpty())
        return 0; // no process can run under such a name
    const qint64 pid = m_s.channel.find(name, bringForward);
    if (pid == kChannelFailed)
        warnUnreachable(name);
    return pid;
}

void ClockList::warnUnreachable(const QString& name) {
    warn(QCoreApplication::translate("ClockList",
                                     "Whether the clock \"%1\" is running cannot be checked: %2.")
             .arg(name, m_s.channel.problem()));
}

CloseOutcome ClockList::closeClockWindow(const QString& rawName) {
    const QString name = cleanString(rawName);
    if (!clockNameProblem(name).isEmpty())
        return CloseOutcome::NotRunning;
    const CloseOutcome outcome = m_s.channel.close(name, kCloseTimeoutMs);
    if (outcome == CloseOutcome::Failed)
        warnUnreachable(name);
    return outcome;
}

SettingsOutcome ClockList::showClockSettings(const QString& rawName) {
    const QString name = cleanString(rawName);
    if (!clockNameProblem(name).isEmpty())
        return SettingsOutcome::NotRunning;
    const SettingsOutcome outcome = m_s.channel.showSettings(name);
    if (outcome == SettingsOutcome::Failed)
        warnUnreachable(name);
    return outcome;
}

bool ClockList::clockExists(const QString& rawName) {
    const QString name = cleanString(rawName);
    if (name == kDefaultClockName || contains(name))
        return true;
    if (!clockNameProblem(name).isEmpty())
        return false;
    const KeyPath path = splitKeyPath(clockKeyPath(name));
    return m_s.store.backend().keyExists(path.root, path.subKey) ||
           findClockWindow(name, false) != 0;
}

} // namespace ovra
