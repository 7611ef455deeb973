#include "base/textutil.h"
#include "settings/autorun.h"
#include "settings/clockfakes.h"
#include "settings/clocklist.h"
#include "settings/settingsstore.h"
#include "settings/startposition.h"
#include "support/testenv.h"
#include "time/zonesearch.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <utility>

using namespace ovra;

namespace {

const QString kTitle = kErrorTitle;

struct Clocks {
    test::TestHome home;
    test::MemoryStoreBackend backend;
    KeyStore reg{backend};
    test::FakeInstanceChannel channel;
    test::RecordingLauncher launcher;
    test::RecordingMessageSink messages;
    QString autostart = home.path() + QStringLiteral("/config/autostart/");
    ClockList list{{reg, channel, launcher, messages}, autostart};

    void setText(const QString& text) { reg.writeText(kClockListKey, kClockListValue, text); }
    QString text() { return reg.readText(kClockListKey, kClockListValue); }
    QString rawText() {
        RawValue raw;
        const KeyPath p = splitKeyPath(kClockListKey);
        backend.readValue(p.root, p.subKey, kClockListValue, raw);
        return QString::fromUtf8(raw.data);
    }
    bool keyExists(const QString& name) {
        const KeyPath p = splitKeyPath(clockKeyPath(name));
        return backend.keyExists(p.root, p.subKey);
    }
    std::optional<int32_t> value(const QString& name, const char* field) {
        return reg.readInteger(clockKeyPath(name), QString::fromLatin1(field));
    }
    QStringList messageTexts() const {
        QStringList texts;
        for (const auto& m : messages.messages) {
            EXPECT_EQ(m.title, kTitle);
            EXPECT_EQ(m.icon, MessageIcon::Warning);
            texts << m.text;
        }
        return texts;
    }
    // A clock as a process leaves it behind: its full record and autostart entry.
    void storeClock(const QString& name) {
        ClockState s;
        s.clockName = name;
        s.settings = defaultSettings();
        writeClockSettings(reg, s);
        QDir().mkpath(autostart);
        QFile f(Autorun::entryFilePath(autostart, name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    QString alarmFile(const QString& name) {
        const QString folder = home.path() + QStringLiteral("/data/Tamrel/Ovra Clock/");
        QDir().mkpath(folder);
        const QString path = folder + name + QStringLiteral(".cfg");
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(QByteArray(566, 'x'));
        return path;
    }
};

QStringList names(std::initializer_list<const char*> list) {
    QStringList out;
    for (const char* n : list)
        out << QString::fromUtf8(n);
    return out;
}

} // namespace

TEST(ClockList, ParsesTheListText) {
    const struct {
        const char* text;
        QStringList expected;
    } cases[] = {
        {"", names({"Default"})},
        {"{A}{B}", names({"Default", "A", "B"})},
        {"{A}x{B}", names({"Default", "A", "B"})},
        {"{A}{", names({"Default", "A"})},
        {"{}", names({"Default", ""})},
        {"{ Tokyo }{New York}", names({"Default", "Tokyo", "New York"})},
        // A "}" before the next "{" is skipped, not paired with an earlier "{".
        {"}{A}", names({"Default", "A"})},
        {"{A}}{B}", names({"Default", "A", "B"})},
        // The closing brace is searched from the same place as the opening one.
        {"{A{B}", names({"Default", "A{B"})},
        {"no braces", names({"Default"})},
    };
    for (const auto& c : cases)
        EXPECT_EQ(parseClockList(QString::fromUtf8(c.text)), c.expected) << c.text;

    QString many;
    for (int i = 0; i < 200; ++i)
        many += QStringLiteral("{c%1}").arg(i);
    const QStringList kept = parseClockList(many);
    ASSERT_EQ(kept.size(), kMaxClockEntries);
    EXPECT_EQ(kept.last(), QStringLiteral("c126"));
}

TEST(ClockList, LoadFindsRunningClocksAndRaisesThemInListOrder) {
    Clocks c;
    c.list.loadClockList();
    ASSERT_EQ(c.list.clockCount(), 1);
    EXPECT_EQ(c.list.entries()[0].name, QStringLiteral("Default"));

    c.setText(QStringLiteral("{A}{Tokyo}{B}"));
    c.channel.running = {{QStringLiteral("B"), 7}, {QStringLiteral("Tokyo"), 42}};
    c.list.loadClockList();
    ASSERT_EQ(c.list.clockCount(), 4);
    const qint64 windows[] = {0, 0, 42, 7};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(c.list.entries()[i].window, windows[i]) << i;
    EXPECT_EQ(c.channel.raised, names({"Tokyo", "B"}));

    c.channel.raised.clear();
    c.list.loadClockList(false);
    EXPECT_TRUE(c.list.entries()[2].running());
    EXPECT_TRUE(c.channel.raised.isEmpty());
}

TEST(ClockList, AddRegistersStartsOrRefusesWithItsMessage) {
    const QString zoneMessage =
        QStringLiteral("The time zone index 97 does not exist; choose an index from 0 to 96.");
    const struct {
        const char* before;
        const char* name;
        int zone;
        QString message; // empty: accepted
        const char* after;
    } cases[] = {
        {"{A}", "Tokyo", 60, {}, "{A}{Tokyo}"},
        {"", "  Office  ", 5, {}, "{Office}"},
        // An unclosed "{" at the end would swallow the new entry; text without one stays.
        {"{A}{B", "Tokyo", 60, {}, "{A}{Tokyo}"},
        {"{A}x", "Tokyo", 60, {}, "{A}x{Tokyo}"},
        {"{A}", "default", 3, {}, "{A}{default}"},
        {"{A}", "Default", 3, clockmessages::Duplicate, "{A}"},
        {"{A}", "A", 3, clockmessages::Duplicate, "{A}"},
        {"{A}", "   ", 3, clockmessages::EmptyName, "{A}"},
        {"{A}", "a/b", 3, QStringLiteral("The clock name \"a/b\" cannot contain \"/\" or \"\\\"."),
         "{A}"},
        {"{A}", "x{y}", 3, QStringLiteral("The clock name \"x{y}\" cannot contain \"{\" or \"}\"."),
         "{A}"},
        {"{A}", "System", 3,
         QStringLiteral("The clock name \"System\" is reserved for the clock list."), "{A}"},
        {"{A}", "Tokyo", 97, zoneMessage, "{A}"},
    };
    for (const auto& t : cases) {
        Clocks c;
        c.setText(QString::fromUtf8(t.before));
        c.list.loadClockList();
        const QString name = cleanString(QString::fromUtf8(t.name));
        const bool accepted = c.list.addClock(QString::fromUtf8(t.name), t.zone);
        EXPECT_EQ(accepted, t.message.isEmpty()) << t.name;
        EXPECT_EQ(c.text(), QString::fromUtf8(t.after)) << t.name;
        if (accepted) {
            EXPECT_TRUE(c.messages.messages.empty());
            EXPECT_EQ(c.launcher.launched, QStringList{name});
            EXPECT_EQ(c.value(name, "Enable"), 1);
            EXPECT_EQ(c.value(name, "TimeZoneIndex"), t.zone);
        } else {
            EXPECT_EQ(c.messageTexts(), QStringList{t.message}) << t.name;
            EXPECT_TRUE(c.launcher.launched.isEmpty());
            if (name != u"Default" && name != u"System") {
                EXPECT_FALSE(c.keyExists(name)) << t.name;
            }
        }
    }
}

TEST(StartPosition, FirstFreePlaceRowByRowWrappingOnTheArea) {
    const QRect area(0, 0, 300, 250);
    const struct {
        const char* what;
        QList<QRect> taken;
        QPoint expected;
    } cases[] = {
        {"nothing taken", {}, {0, 0}},
        {"next to the first", {{0, 0, 100, 100}}, {100, 0}},
        {"a larger clock pushes further", {{0, 0, 150, 150}}, {200, 0}},
        {"row full: wraps", {{0, 0, 100, 100}, {100, 0, 100, 100}, {200, 0, 100, 100}}, {0, 100}},
        {"a gap is used", {{0, 0, 100, 100}, {200, 0, 100, 100}}, {100, 0}},
        {"all taken: a quarter below and right of the last",
         {{0, 0, 300, 250}, {40, 40, 100, 100}},
         {65, 65}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(chooseStartPosition(c.taken, area, 100), c.expected) << c.what;
}

// Clocks added one after the other, as from a terminal, each while the others run:
// no two stand on the same place, and the first one left room for the running Default.
TEST(ClockList, AddedClocksStartWhereNoRunningClockStands) {
    Clocks c;
    c.launcher.onLaunch = [&](const QString& name) {
        c.channel.running.insert(name, 99);
    };
    c.channel.running.insert(QStringLiteral("Default"), 42);
    ClockState old;
    old.clockName = QStringLiteral("Old");
    old.settings = defaultSettings();
    old.settings.Left = 7000;
    old.settings.Top = 900;
    ASSERT_EQ(writeClockSettings(c.reg, old), 0); // stored, not listed: its place stays
    const QStringList names = {"A", "B", "C", "D"};
    for (const QString& name : names + QStringList{"Old"}) {
        ASSERT_TRUE(c.list.loadClockList(false));
        ASSERT_TRUE(c.list.addClock(name, 3)) << qPrintable(name);
    }
    const int side = 2 * (3 * 18 + 48 + 21) * 15;    // a default clock's window, in twips
    QList<QRect> places = {QRect(0, 0, side, side)}; // Default, at its default place
    for (const QString& name : names) {
        const QRect r(c.value(name, "Left").value_or(-1), c.value(name, "Top").value_or(-1), side,
                      side);
        for (const QRect& other : places)
            EXPECT_FALSE(r.intersects(other)) << qPrintable(name);
        places << r;
    }
    EXPECT_EQ(c.value(QStringLiteral("Old"), "Left"), 7000);
    EXPECT_EQ(c.value(QStringLiteral("Old"), "Top"), 900);
    // The work area wraps: four default clocks fit in a row of 1024 pixels.
    EXPECT_EQ(places[4].topLeft(), QPoint(0, side));
}

// A dialog keeps the list it loaded when it opened; the clocks added, started or
// stopped since, from a terminal or another clock, decide where its next clock goes.
TEST(ClockList, AddPlacesByTheClocksStandingAtTheAddNotAtTheLastLoad) {
    enum class Since { AddedAndRunning, AddedAtTheSameMoment, Started, Stopped };
    const QString tokyo = QStringLiteral("Tokyo");
    const int side = 2 * (3 * 18 + 48 + 21) * 15; // a default clock's window, in twips
    for (const Since since :
         {Since::AddedAndRunning, Since::AddedAtTheSameMoment, Since::Started, Since::Stopped}) {
        Clocks c;
        ClockList elsewhere{{c.reg, c.channel, c.launcher, c.messages}, c.autostart};
        c.channel.running.insert(QStringLiteral("Default"), 42);
        const auto addTokyo = [&] { // as --add does it
            ASSERT_TRUE(elsewhere.loadClockList(false));
            ASSERT_TRUE(elsewhere.addClock(tokyo, 3));
        };
        if (since == Since::Started || since == Since::Stopped)
            addTokyo(); // placed beside Default before the dialog opened
        if (since == Since::Stopped)
            c.channel.running.insert(tokyo, 7);
        ASSERT_TRUE(c.list.loadClockList(false));
        if (since == Since::AddedAndRunning)
            addTokyo();
        if (since == Since::AddedAndRunning || since == Since::Started)
            c.channel.running.insert(tokyo, 7);
        if (since == Since::Stopped)
            c.channel.running.remove(tokyo);
        if (since == Since::AddedAtTheSameMoment) // while this add asks which clocks run
            c.channel.onFind = [&, done = false](const QString&) mutable {
                if (!std::exchange(done, true))
                    addTokyo();
            };
        ASSERT_TRUE(c.list.addClock(QStringLiteral("Paris"), 4)) << int(since);

        const auto place = [&](const QString& name) {
            return QRect(c.value(name, "Left").value_or(-1), c.value(name, "Top").value_or(-1),
                         side, side);
        };
        const QRect paris = place(QStringLiteral("Paris"));
        EXPECT_FALSE(paris.intersects(QRect(0, 0, side, side))) << int(since); // Default's
        EXPECT_EQ(paris == place(tokyo), since == Since::Stopped) << int(since);
    }
}

TEST(ClockList, AddChecksTheStoredListNotOnlyTheOneLoadedEarlier) {
    Clocks c;
    c.list.loadClockList();
    c.setText(QStringLiteral("{Tokyo}")); // added by another clock since
    EXPECT_FALSE(c.list.addClock(QStringLiteral("Tokyo"), 60));
    EXPECT_EQ(c.messageTexts(), QStringList{clockmessages::Duplicate});
    EXPECT_EQ(c.text(), QStringLiteral("{Tokyo}"));
}

TEST(ClockList, AddNeverMakesTheListTooLongToReadBack) {
    // 1024 bytes is what a read hands back; the limit counts UTF-8 bytes.
    const QString filler = QStringLiteral("{%1}").arg(QString(1000, u'f')); // 1002 bytes
    const struct {
        QString name;
        bool accepted;
    } cases[] = {
        {QString(20, u'n'), true},                             // 1024 bytes
        {QString(21, u'n'), false},                            // 1025 bytes
        {QString(19, u'n') + QStringLiteral("\u00fc"), false}, // 1024 characters, 1025 bytes
        {QStringLiteral("100%2") + QString(16, u'n'), false},  // kept whole in the message
    };
    for (const auto& t : cases) {
        Clocks c;
        c.setText(filler);
        c.list.loadClockList();
        EXPECT_EQ(c.list.addClock(t.name, 1), t.accepted) << qPrintable(t.name);
        if (t.accepted) {
            EXPECT_EQ(c.text().toUtf8().size(), 1024);
        } else {
            EXPECT_EQ(c.text(), filler);
            ASSERT_EQ(c.messages.messages.size(), 1u);
            EXPECT_TRUE(
                c.messages.messages[0].text.contains(QStringLiteral("longer than 1024 bytes")));
            EXPECT_TRUE(c.messages.messages[0].text.contains(u'"' + t.name + u'"'));
        }
    }
}

TEST(ClockList, AddKeepsEveryListedClockReachable) {
    Clocks c;
    QString text;
    for (int i = 0; i < kMaxClockEntries - 1; ++i)
        text += QStringLiteral("{%1}").arg(i);
    c.setText(text);
    c.list.loadClockList();
    ASSERT_EQ(c.list.clockCount(), kMaxClockEntries);
    EXPECT_FALSE(c.list.addClock(QStringLiteral("Extra"), 1));
    EXPECT_TRUE(c.messageTexts().value(0).contains(QStringLiteral("at most 128 clocks")));
    EXPECT_EQ(c.text(), text);
}

TEST(ClockList, AListTooLongToReadIsNeitherWipedByAddNorStuckOnDelete) {
    Clocks c;
    // Six names of 190 characters: 1157 bytes, more than a read hands back.
    QString longText = QStringLiteral("{Old}");
    for (int i = 0; i < 6; ++i)
        longText += QStringLiteral("{%1%2}").arg(i).arg(QString(189, u'x'));
    c.setText(longText);
    ASSERT_EQ(c.text(), QString()); // reads back as no list: only Default shows
    EXPECT_FALSE(c.list.addClock(QStringLiteral("New"), 1));
    EXPECT_EQ(c.rawText(), longText);
    // Deleting a clock shortens the stored text, so the rest shows again.
    const QString gone = QStringLiteral("0") + QString(189, u'x');
    EXPECT_TRUE(c.list.removeClockData(gone));
    EXPECT_EQ(c.text(), QString(longText).remove(u'{' + gone + u'}'));
    c.list.loadClockList();
    EXPECT_EQ(c.list.clockCount(), 7);
}

TEST(ClockList, AListStoredAsAnotherKindOfTextKeepsItsClocksThroughChanges) {
    const struct {
        uint32_t type;
        QByteArray data;
    } kinds[] = {
        {valuetype::ExpandString, "{A}{B}"},
        {valuetype::MultiString, QByteArray("{A}{B}\0\0", 8)},
        {valuetype::Binary, "{A}{B}"},
    };
    for (const auto& k : kinds) {
        Clocks c;
        const KeyPath p = splitKeyPath(kClockListKey);
        c.backend.writeValue(p.root, p.subKey, kClockListValue, {k.type, k.data});
        c.list.loadClockList();
        ASSERT_EQ(c.list.clockCount(), 3) << k.type;
        EXPECT_TRUE(c.list.addClock(QStringLiteral("C"), 1)) << k.type;
        EXPECT_EQ(c.text(), QStringLiteral("{A}{B}{C}")) << k.type;
        EXPECT_TRUE(c.list.removeClockData(QStringLiteral("A"))) << k.type;
        EXPECT_EQ(c.text(), QStringLiteral("{B}{C}")) << k.type;
    }
}

TEST(ClockList, AFailingStoreIsReportedAndStartsNothing) {
    Clocks c;
    c.backend.failWrites = true;
    EXPECT_FALSE(c.list.addClock(QStringLiteral("Tokyo"), 60));
    EXPECT_EQ(
        c.messageTexts(),
        QStringList{QStringLiteral(
            "The clock \"Tokyo\" could not be added: the settings store cannot be written.")});
    EXPECT_TRUE(c.launcher.launched.isEmpty());
}

TEST(ClockList, DeleteClosesARunningClockBeforeItsDataGoes) {
    Clocks c;
    c.setText(QStringLiteral("{A}{Tokyo}{B}"));
    c.storeClock(QStringLiteral("Tokyo"));
    c.storeClock(QStringLiteral("A"));
    const QString alarms = c.alarmFile(QStringLiteral("Tokyo"));
    c.channel.running = {{QStringLiteral("Tokyo"), 42}};
    bool keyWhileClosing = false;
    c.channel.onClose = [&](const QString& name) {
        keyWhileClosing = c.keyExists(name);
    };

    EXPECT_TRUE(c.list.deleteClock(QStringLiteral(" Tokyo ")));
    EXPECT_EQ(c.channel.closed, QStringList{QStringLiteral("Tokyo")});
    EXPECT_TRUE(keyWhileClosing);
    EXPECT_EQ(c.text(), QStringLiteral("{A}{B}"));
    EXPECT_FALSE(c.keyExists(QStringLiteral("Tokyo")));
    for (const auto& field : kSettingsFields)
        EXPECT_EQ(
            c.reg.readValue(clockKeyPath(QStringLiteral("Tokyo")), QString::fromUtf16(field.name)),
            StoredValue{});
    EXPECT_FALSE(QFile::exists(Autorun::entryFilePath(c.autostart, QStringLiteral("Tokyo"))));
    EXPECT_TRUE(QFile::exists(alarms));
    // The other clock keeps everything.
    EXPECT_EQ(c.value(QStringLiteral("A"), "ClockRadius"), 48);
    EXPECT_TRUE(QFile::exists(Autorun::entryFilePath(c.autostart, QStringLiteral("A"))));
    EXPECT_TRUE(c.messages.messages.empty());
}

TEST(ClockList, DeleteCases) {
    const struct {
        const char* before;
        const char* name;
        bool running;
        CloseOutcome close;
        bool closeAsked;
        const char* after;
        const char* messageStart; // empty: no message
    } cases[] = {
        {"{A}", "Default", false, CloseOutcome::Closed, false, "{A}",
         "Default clock can not be deleted."},
        {"{A}{B}", "B", false, CloseOutcome::Closed, false, "{A}", ""},
        {"{T}{A}{T}", "T", false, CloseOutcome::Closed, false, "{A}", ""},
        // Only the exact name goes.
        {"{t}{T}", "T", false, CloseOutcome::Closed, false, "{t}", ""},
        // In a damaged list only the entries of the name go, and no other entry with them.
        {"{A{A}x{B}{ A }", "A", false, CloseOutcome::Closed, false, "{A{A}x{B}", ""},
        // A hung clock does not hold the delete up; the user is told.
        {"{A}{B}", "B", true, CloseOutcome::TimedOut, true, "{A}",
         "The clock \"B\" did not finish closing within 5 seconds"},
        {"{A}", "System", false, CloseOutcome::Closed, false, "{A}", "The clock name \"System\""},
    };
    for (const auto& t : cases) {
        Clocks c;
        c.setText(QString::fromUtf8(t.before));
        const QString name = QString::fromUtf8(t.name);
        if (t.running)
            c.channel.running.insert(name, 9);
        c.channel.closeOutcome = t.close;
        const bool refused = QByteArray(t.messageStart).startsWith("Default") ||
                             QByteArray(t.messageStart).contains("System");
        EXPECT_EQ(c.list.deleteClock(name), !refused) << t.name;
        EXPECT_EQ(c.channel.closed.isEmpty(), !t.closeAsked) << t.name;
        EXPECT_EQ(c.text(), QString::fromUtf8(t.after)) << t.name;
        const QStringList texts = c.messageTexts();
        if (*t.messageStart) {
            ASSERT_EQ(texts.size(), 1) << t.name;
            EXPECT_TRUE(texts[0].startsWith(QString::fromUtf8(t.messageStart)))
                << qPrintable(texts[0]);
        } else {
            EXPECT_TRUE(texts.isEmpty()) << t.name;
        }
    }
}

// A place typed by a user becomes a clock that keeps the zone it was made for: the
// row that readers of the old format understand, the zone's name beside it where
// no row is its own place, and that zone's time on its face.
TEST(ClockList, AClockAddedForAPlaceKeepsItsZoneAndShowsItsTime) {
    const QDateTime instant(QDate(2026, 7, 1), QTime(12, 0), Qt::UTC);
    const ZoneFinder finder(instant);
    const struct {
        const char* words;
        int row;
        const char* zoneName;
        const char* shown; // Automatic Daylight Saving at the instant
    } cases[] = {
        {"Zurich", 37, "Europe/Zurich", "07-01 14:00"},
        {"Toronto", 15, "America/Toronto", "07-01 08:00"},
        {"Kyiv", 48, "Europe/Kyiv", "07-01 15:00"},
        {"Kiev", 43, "Europe/Kiev", "07-01 15:00"},
        {"Calcutta", 65, "Asia/Calcutta", "07-01 17:30"},
        {"Lord Howe", 85, "Australia/Lord_Howe", "07-01 22:30"},
        {"Chatham", 96, "Pacific/Chatham", "07-02 00:45"},
        {"Kathmandu", 67, "", "07-01 17:45"},
        {"Switzerland", 37, "Europe/Zurich", "07-01 14:00"},
        {"Schweiz", 37, "Europe/Zurich", "07-01 14:00"},
        {"GMT", 34, "", "07-01 12:00"},
        {"São Paulo", 24, "", "07-01 09:00"},
        {"new york", 15, "", "07-01 08:00"},
    };
    Clocks c;
    for (const auto& place : cases) {
        SCOPED_TRACE(place.words);
        const QList<ZoneChoice> found = finder.find(QString::fromUtf8(place.words));
        ASSERT_EQ(found.size(), 1);
        const QString name = QString::fromUtf8(place.words);
        ASSERT_TRUE(c.list.addClock(name, found[0].row, found[0].zoneName));
        EXPECT_EQ(c.value(name, "TimeZoneIndex"), place.row);
        EXPECT_EQ(c.reg.readText(clockKeyPath(name), kZoneNameValue),
                  QString::fromUtf8(place.zoneName));

        ClockState state;
        state.clockName = name;
        readClockSettings(c.reg, state);
        EXPECT_EQ(state.settings.TimeStandard, 2);
        const QDateTime shown = clockTime(instant, QTimeZone::utc(), clockTimeInput(state));
        EXPECT_EQ(shown.toString(QStringLiteral("MM-dd HH:mm")), QString::fromUtf8(place.shown));
    }
}

// A key left from before, added again for a row, loses the zone name it held, so
// the row decides; a name this computer's database lacks also leaves the row.
TEST(ClockList, AZoneNameNeverOutlivesItsRowOrTheDatabase) {
    Clocks c;
    const QString key = clockKeyPath(QStringLiteral("Old"));
    c.reg.writeText(key, kZoneNameValue, QStringLiteral("Pacific/Chatham"));
    ASSERT_TRUE(c.list.addClock(QStringLiteral("Old"), 81));
    EXPECT_EQ(c.reg.readText(key, kZoneNameValue), QString());

    ASSERT_TRUE(c.list.addClock(QStringLiteral("Future"), 81, "Mars/Olympus_Mons"));
    ClockState state;
    state.clockName = QStringLiteral("Future");
    readClockSettings(c.reg, state);
    const QDateTime instant(QDate(2026, 7, 1), QTime(12, 0), Qt::UTC);
    EXPECT_EQ(clockTime(instant, QTimeZone::utc(), clockTimeInput(state)).time(), QTime(21, 0));
}
