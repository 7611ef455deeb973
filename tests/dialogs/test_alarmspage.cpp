#include "alarms/alarmfile.h"
#include "configfixture.h"
#include "dialogs/alarmeditortexts.h"
#include "dialogs/alarmspage.h"
#include "modalanswer.h"
#include "widgets/tabstrip.h"

#include <algorithm>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace ovra {
namespace {

using test::ConfigFixture;

AlarmRecord alarmAt(int hour, int minute, int32_t status = 1) {
    AlarmRecord r;
    r.AlarmTime = alarmTimeOf(hour, minute);
    r.status = status;
    r.Note = QStringLiteral("tip %1:%2").arg(hour).arg(minute);
    r.SoundFile = kDefaultAlarmSoundText;
    return r;
}

QStringList rowsOf(const QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

// The alarm page of a dialog on a clock that starts with the given alarms in its file.
struct AlarmsFixture : ConfigFixture {
    explicit AlarmsFixture(const QList<AlarmRecord>& start = {}) {
        AlarmTable initial;
        for (const AlarmRecord& r : start)
            initial.appendLoaded(r);
        saveAlarmFile(initial, app.paths().alarmFilePath, messages);
        loadAlarmFile(app.alarms(), app.paths().alarmFilePath, messages);
        page = open().alarmsPage();
    }

    // The alarms as the file holds them now.
    QList<AlarmRecord> saved() {
        AlarmTable table;
        loadAlarmFile(table, app.paths().alarmFilePath, messages);
        QList<AlarmRecord> out;
        for (int i = 0; i < table.alarmCount(); ++i)
            out << table.at(i);
        return out;
    }

    void enter(int hour, int minute, int action = 0) {
        page->hourBox()->setCurrentIndex(hour);
        page->minuteBox()->setCurrentIndex(minute);
        page->actionBox()->setCurrentIndex(action);
    }

    void mark(std::initializer_list<int> rows) {
        for (const int row : rows)
            page->alarmList()->item(row)->setSelected(true);
    }

    AlarmsPage* page;
};

TEST(AlarmsPage, StartsWithTheFirstEntriesAndListsTheAlarms) {
    AlarmsFixture f({alarmAt(19, 5), alarmAt(0, 30, 0)});
    EXPECT_EQ(f.page->hourBox()->currentText(), QStringLiteral("AM12 (00)"));
    EXPECT_EQ(f.page->actionBox()->count(), 7);
    EXPECT_EQ(rowsOf(f.page->alarmList()),
              (QStringList{"07:05 PM - Enabled", "12:30 AM - Disabled"}));
}

TEST(AlarmsPage, AddStoresTheEntryFieldsAndSavesAtOnce) {
    AlarmsFixture f;
    f.enter(7, 5, 3);
    f.page->playTimeBox()->setCurrentIndex(4);
    f.page->noteEdit()->setPlainText(QStringLiteral("Time to go"));
    f.page->alarmButton(AlarmsPage::Add)->click();

    const QList<AlarmRecord> file = f.saved();
    ASSERT_EQ(file.size(), 1);
    const AlarmRecord& r = file.at(0);
    EXPECT_EQ(alarmMinuteText(r.AlarmTime), QStringLiteral("07:05"));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.Action, 3);
    EXPECT_EQ(r.PlayTime, 4);
    EXPECT_EQ(tipTextOf(r.Note), QStringLiteral("Time to go"));
    EXPECT_EQ(r.SoundFile.trimmed(), QStringLiteral("Default Alarm Sound"));
    EXPECT_EQ(rowsOf(f.page->alarmList()), QStringList{"07:05 AM - Enabled"});
    EXPECT_EQ(f.page->noteEdit()->toPlainText(), QStringLiteral("Time to go"))
        << "the entry fields keep their contents";
}

TEST(AlarmsPage, ASecondAlarmInTheSameMinuteIsRefused) {
    AlarmsFixture f;
    f.enter(7, 5, 0);
    f.page->alarmCommand(AlarmsPage::Add);
    f.enter(7, 5, 3);
    f.page->alarmCommand(AlarmsPage::Add);
    ASSERT_EQ(f.messages.messages.size(), 1u);
    EXPECT_EQ(f.messages.messages[0].text,
              QStringLiteral("Alarm is already exists. Please check and reset."));
    EXPECT_EQ(f.messages.messages[0].title, QStringLiteral("Ovra Clock"));
    EXPECT_EQ(f.saved().size(), 1);
    f.enter(7, 6, 3);
    f.page->alarmCommand(AlarmsPage::Add);
    EXPECT_EQ(f.saved().size(), 2);
}

TEST(AlarmsPage, OnlyAlarmsWhoseDaysOverlapAreDuplicates) {
    AlarmsFixture f;
    struct Case {
        const char* name;
        std::initializer_list<int> days; // 1 Monday .. 7 Sunday
        bool added;
    } cases[] = {
        {"Monday", {1}, true},
        {"Tuesday beside Monday", {2}, true},
        {"Monday and Wednesday meet the Monday one", {1, 3}, false},
        {"every day meets both", {1, 2, 3, 4, 5, 6, 7}, false},
        {"the weekend", {6, 7}, true},
    };
    int saved = 0;
    for (const Case& c : cases) {
        f.messages.messages.clear();
        f.enter(7, 0);
        for (int day = 1; day <= 7; ++day)
            f.page->checkDay(day)->setChecked(std::find(c.days.begin(), c.days.end(), day) !=
                                              c.days.end());
        f.page->alarmCommand(AlarmsPage::Add);
        saved += c.added ? 1 : 0;
        EXPECT_EQ(f.saved().size(), saved) << c.name;
        EXPECT_EQ(f.messages.messages.size(), c.added ? 0u : 1u) << c.name;
    }
}

TEST(AlarmsPage, AHundredAndTwentyNinthAlarmIsRefused) {
    QList<AlarmRecord> full;
    for (int i = 0; i < AlarmTable::kCapacity; ++i)
        full << alarmAt(i / 60, i % 60);
    AlarmsFixture f(full);
    ASSERT_EQ(f.app.alarms().alarmCount(), 128);
    f.enter(23, 59);
    f.page->alarmCommand(AlarmsPage::Add);
    ASSERT_EQ(f.messages.messages.size(), 1u);
    EXPECT_TRUE(f.messages.messages[0].text.contains(QStringLiteral("128 alarms")));
    EXPECT_EQ(f.app.alarms().alarmCount(), 128);
    EXPECT_EQ(QFile(f.app.paths().alarmFilePath).size(), 128 * kAlarmRecordSize);
}

TEST(AlarmsPage, DeleteRemovesTheMarkedAlarmsAndKeepsTheOthersInOrder) {
    AlarmsFixture f({alarmAt(1, 0), alarmAt(2, 0), alarmAt(3, 0), alarmAt(4, 0), alarmAt(5, 0)});
    f.mark({0, 2, 3});
    f.page->alarmButton(AlarmsPage::Delete)->click();
    const QList<AlarmRecord> file = f.saved();
    ASSERT_EQ(file.size(), 2);
    EXPECT_EQ(alarmMinuteText(file.at(0).AlarmTime), QStringLiteral("02:00"));
    EXPECT_EQ(alarmMinuteText(file.at(1).AlarmTime), QStringLiteral("05:00"));
    EXPECT_EQ(f.page->alarmList()->selectedItems().size(), 0) << "no entry stays marked";

    f.mark({0, 1});
    f.page->alarmCommand(AlarmsPage::Delete);
    EXPECT_FALSE(QFile::exists(f.app.paths().alarmFilePath)) << "no alarms, no file";
    EXPECT_EQ(f.page->alarmList()->count(), 0);
}

TEST(AlarmsPage, DisableAndEnableChangeTheMarkedAlarmsOnly) {
    AlarmsFixture f({alarmAt(19, 5), alarmAt(20, 0), alarmAt(21, 0)});
    f.app.settings().HourMode = 1;
    f.mark({0, 2});
    f.page->alarmCommand(AlarmsPage::Disable);
    EXPECT_EQ(rowsOf(f.page->alarmList()),
              (QStringList{"19:05 - Disabled", "20:00 - Enabled", "21:00 - Disabled"}));
    QList<AlarmRecord> file = f.saved();
    EXPECT_EQ(file.at(0).status, 0);
    EXPECT_EQ(file.at(1).status, 1);
    EXPECT_EQ(file.at(2).status, 0);

    f.mark({2});
    f.page->alarmCommand(AlarmsPage::Enable);
    file = f.saved();
    EXPECT_EQ(file.at(0).status, 0);
    EXPECT_EQ(file.at(2).status, 1);
}

TEST(AlarmsPage, MarksStayOnTheirRecordsWhenARecordHasNoLine) {
    // A damaged file: the second record's status is neither enabled nor disabled.
    AlarmsFixture f({alarmAt(1, 0), alarmAt(2, 0, 7), alarmAt(3, 0, 0)});
    ASSERT_EQ(rowsOf(f.page->alarmList()),
              (QStringList{"01:00 AM - Enabled", "03:00 AM - Disabled"}));
    f.mark({1});
    f.page->alarmCommand(AlarmsPage::Delete);
    const QList<AlarmRecord> file = f.saved();
    ASSERT_EQ(file.size(), 2);
    EXPECT_EQ(alarmMinuteText(file.at(0).AlarmTime), QStringLiteral("01:00"));
    EXPECT_EQ(file.at(1).status, 7) << "the unlisted record is not the one deleted";
}

TEST(AlarmsPage, ClickingAnAlarmCopiesItIntoTheEntryFields) {
    AlarmRecord open = alarmAt(18, 45);
    open.Action = alarmaction::Execute;
    open.Note = QStringLiteral("  https://example.org/  ");
    open.PlayTime = 2;
    AlarmRecord tip = alarmAt(6, 30);
    tip.Note = QStringLiteral("  Wake up   ");
    AlarmsFixture f({open, tip});

    f.page->alarmChosen(0);
    EXPECT_EQ(f.page->hourBox()->currentIndex(), 18);
    EXPECT_EQ(f.page->minuteBox()->currentIndex(), 45);
    EXPECT_EQ(f.page->playTimeBox()->currentIndex(), 2);
    EXPECT_EQ(f.page->targetEdit()->text(), QStringLiteral("https://example.org/"));
    EXPECT_FALSE(f.page->targetEdit()->isHidden());
    EXPECT_TRUE(f.page->noteEdit()->isHidden());
    EXPECT_FALSE(f.page->alarmButton(AlarmsPage::Browse)->isHidden());
    EXPECT_EQ(f.page->noteLabel()->text(), QStringLiteral("Parame&ter (256 characters maximum) :"));

    f.page->alarmChosen(1);
    EXPECT_EQ(f.page->noteEdit()->toPlainText(), QStringLiteral("  Wake up"));
    EXPECT_FALSE(f.page->noteEdit()->isHidden());
    EXPECT_TRUE(f.page->targetEdit()->isHidden());
    EXPECT_TRUE(f.page->alarmButton(AlarmsPage::Browse)->isHidden());
    EXPECT_EQ(f.page->noteLabel()->text(), QStringLiteral("&Tip (256 characters maximum) :"));
}

TEST(AlarmsPage, TheFileDialogsFillTheirBoxesAndACancelFallsBack) {
    AlarmsFixture f;
    const QString wav = f.home.path() + QStringLiteral("/bell.wav");
    QFile(wav).open(QIODevice::WriteOnly);

    f.files.answer = wav;
    f.page->alarmCommand(AlarmsPage::ChooseSound);
    EXPECT_EQ(f.page->soundEdit()->text(), wav);
    f.files.answer.clear();
    f.page->alarmCommand(AlarmsPage::ChooseSound);
    EXPECT_EQ(f.page->soundEdit()->text(), QStringLiteral("Default Alarm Sound"));

    f.page->targetEdit()->setText(QStringLiteral("old target"));
    f.page->alarmCommand(AlarmsPage::Browse);
    EXPECT_EQ(f.page->targetEdit()->text(), QString()) << "a cancelled target dialog empties it";
    const QString sounds = QStringLiteral("WAV sounds|*.wav;*.WAV|All files|*");
    EXPECT_EQ(f.files.filters, (QStringList{sounds, sounds, "*.*|*.*"}));
    EXPECT_EQ(f.files.titles, (QStringList{"Select a sound file", "Select a sound file",
                                           "Select a file to be executed by Ovra Clock"}));
}

// The toolkit's file dialog waits for good on the thread its folder view starts:
// where none can start, it is refused with the reason, and the page hears a cancel.
TEST(AlarmsPage, AFileDialogWithoutAThreadToStartIsRefusedWithTheReason) {
    test::TestHome home;
    const struct {
        bool threads;
        bool opens;
    } cases[] = {{true, true}, {false, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.threads ? "threads to spare" : "no thread");
        test::RecordingMessageSink messages;
        DialogFileChooser chooser([&] { return c.threads; });
        const test::ModalAnswer<QFileDialog> cancel([](QFileDialog* d) { d->reject(); });
        EXPECT_EQ(fileDialog(chooser, messages, nullptr, false, QStringLiteral("Select a file"),
                             QStringLiteral("*.*|*.*"), QStringLiteral("bell.wav"), {},
                             home.path()),
                  QString());
        EXPECT_EQ(cancel.found(), c.opens);
        if (c.opens) {
            EXPECT_TRUE(messages.messages.empty());
            continue;
        }
        ASSERT_EQ(messages.messages.size(), 1u);
        EXPECT_EQ(messages.messages[0].text,
                  QStringLiteral("The file dialog cannot open: no thread can be started (a "
                                 "process or memory limit)."));
        EXPECT_EQ(messages.messages[0].title, kPlainTitle);
        EXPECT_EQ(messages.messages[0].icon, MessageIcon::Warning);
    }
}

// The sound chooser opens where the sound is, or where sounds usually are.
TEST(AlarmsPage, TheSoundChooserStartsAtTheCurrentSoundElseMusicElseHome) {
    AlarmsFixture f;
    const QString home = f.home.path();
    ASSERT_TRUE(QDir().mkpath(home + QStringLiteral("/sounds")));
    QFile(home + QStringLiteral("/sounds/bell.wav")).open(QIODevice::WriteOnly);
    const struct {
        QString sound;
        bool musicFolder;
        QString start;
    } cases[] = {
        {home + QStringLiteral("/sounds/bell.wav"), true,
         home + QStringLiteral("/sounds/bell.wav")},
        {home + QStringLiteral("/sounds/gone.wav"), true, home + QStringLiteral("/sounds")},
        {QStringLiteral("Default Alarm Sound"), true, home + QStringLiteral("/Music")},
        {home + QStringLiteral("/no folder/gone.wav"), true, home + QStringLiteral("/Music")},
        {QStringLiteral("Default Alarm Sound"), false, home},
    };
    for (const auto& c : cases) {
        if (c.musicFolder)
            ASSERT_TRUE(QDir().mkpath(home + QStringLiteral("/Music")));
        else
            ASSERT_TRUE(QDir(home + QStringLiteral("/Music")).removeRecursively());
        f.page->soundEdit()->setText(c.sound);
        f.files.starts.clear();
        f.page->alarmCommand(AlarmsPage::ChooseSound);
        ASSERT_EQ(f.files.starts.size(), 1);
        EXPECT_EQ(QDir::cleanPath(f.files.starts[0]), c.start) << qPrintable(c.sound);
    }
}

TEST(AlarmsPage, ASoundPathStaysOnlyWhenTheFileExists) {
    AlarmsFixture f;
    const QString wav = f.home.path() + QStringLiteral("/bell.wav");
    QFile(wav).open(QIODevice::WriteOnly);
    const struct {
        QString typed;
        QString after;
    } cases[] = {
        {f.home.path() + QStringLiteral("/missing.wav"), QStringLiteral("Default Alarm Sound")},
        {wav, wav},
        {QString(), QStringLiteral("Default Alarm Sound")},
    };
    f.dialog->show();
    QApplication::setActiveWindow(f.dialog.get());
    f.dialog->tabConfig()->setActiveTab(SettingsDialog::Alarms);
    for (const auto& c : cases) {
        f.page->soundEdit()->setFocus();
        f.page->soundEdit()->setText(c.typed);
        f.page->playTimeBox()->setFocus();
        EXPECT_EQ(f.page->soundEdit()->text(), c.after) << qPrintable(c.typed);
    }
}

TEST(AlarmsPage, ALongTipIsCutToWhatTheRecordKeeps) {
    AlarmsFixture f;
    f.page->noteEdit()->setPlainText(QString(300, u'x'));
    EXPECT_EQ(f.page->noteEdit()->toPlainText().size(), AlarmsPage::kMaxEntryText);
    f.page->alarmCommand(AlarmsPage::Add);
    EXPECT_EQ(tipTextOf(f.saved().at(0).Note), QString(255, u'x'));
}

TEST(AlarmsPage, TheDayBoxesChooseTheDaysAndNoDayIsRefused) {
    struct LocaleGuard {
        QLocale before;
        LocaleGuard() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom)); }
        ~LocaleGuard() { QLocale::setDefault(before); }
    } locale;
    AlarmsFixture f;
    for (int day = 1; day <= 7; ++day)
        EXPECT_TRUE(f.page->checkDay(day)->isChecked()) << "a new alarm is for every day";
    EXPECT_EQ(f.page->checkDay(1)->text(), QStringLiteral("Mon"));

    f.enter(6, 30);
    f.page->alarmButton(AlarmsPage::Add)->click(); // every day stores 0
    f.enter(7, 0);
    f.page->checkDay(6)->setChecked(false);
    f.page->checkDay(7)->setChecked(false);
    f.page->alarmButton(AlarmsPage::Add)->click();
    QList<AlarmRecord> file = f.saved();
    ASSERT_EQ(file.size(), 2);
    EXPECT_EQ(alarmWeekdays(file[0]), kEveryDay);
    EXPECT_EQ(file[0].Reserved[1], 0) << "every day needs no mark";
    EXPECT_EQ(file[1].Reserved[0], 0x1F);
    EXPECT_EQ(file[1].Reserved[1], kWeekdayMark);
    EXPECT_EQ(rowsOf(f.page->alarmList()),
              (QStringList{"06:30 AM - Enabled",
                           QString::fromUtf16(u"07:00 AM - Enabled (Mon\u2013Fri)")}));

    // Clicking an alarm shows its days; clicking an every-day one checks all again.
    f.page->alarmChosen(1);
    EXPECT_FALSE(f.page->checkDay(7)->isChecked());
    EXPECT_TRUE(f.page->checkDay(5)->isChecked());
    f.page->alarmChosen(0);
    EXPECT_TRUE(f.page->checkDay(7)->isChecked());

    for (int day = 1; day <= 7; ++day)
        f.page->checkDay(day)->setChecked(false);
    f.enter(8, 0);
    f.page->alarmButton(AlarmsPage::Add)->click();
    ASSERT_EQ(f.messages.messages.size(), 1u);
    EXPECT_EQ(f.messages.messages[0].text,
              QStringLiteral("Please check at least one day for the alarm."));
    EXPECT_EQ(f.saved().size(), 2) << "nothing was added";
}

} // namespace
} // namespace ovra

namespace ovra {
namespace {

// After each change the keyboard is on the alarm it concerns, the current entry of
// the list and so the one a screen reader announces, without marking it.
TEST(AlarmsPage, AChangeLeadsTheKeyboardToTheAlarmItConcerns) {
    AlarmsFixture f({alarmAt(1, 0), alarmAt(2, 0), alarmAt(3, 0)});
    f.page->window()->show();
    QApplication::setActiveWindow(f.page->window());
    ASSERT_TRUE(QTest::qWaitForWindowActive(f.page->window()));
    const struct {
        AlarmsPage::Command command;
        std::initializer_list<int> marked;
        int current;
    } steps[] = {
        {AlarmsPage::Add, {}, 3},        {AlarmsPage::Disable, {1, 2}, 1},
        {AlarmsPage::Enable, {2}, 2},    {AlarmsPage::Delete, {1}, 1},
        {AlarmsPage::Delete, {1, 2}, 0},
    };
    f.enter(7, 5);
    for (const auto& step : steps) {
        f.page->hourBox()->setFocus();
        f.mark(step.marked);
        f.page->alarmCommand(step.command);
        EXPECT_EQ(QApplication::focusWidget(), f.page->alarmList()) << step.command;
        EXPECT_EQ(f.page->alarmList()->currentRow(), step.current) << step.command;
        EXPECT_TRUE(f.page->alarmList()->selectedItems().isEmpty()) << step.command;
    }
}

} // namespace
} // namespace ovra
