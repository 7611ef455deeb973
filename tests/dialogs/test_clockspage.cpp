#include "configfixture.h"
#include "dialogs/clockspage.h"
#include "dialogs/displaynameedit.h"
#include "settings/settingsstore.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace ovra {
namespace {

using test::ConfigFixture;

QStringList rowsOf(const QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

// What was done to other processes and this one, without the raising that every
// reload of the list does.
QStringList actions(const QStringList& log) {
    QStringList out = log;
    out.removeIf([](const QString& e) { return e.startsWith(QStringLiteral("raise ")); });
    return out;
}

void mark(ClocksPage& page, std::initializer_list<int> rows) {
    for (const int row : rows)
        page.clockList()->item(row)->setSelected(true);
}

// Tokyo runs, Paris is stopped, Berlin runs; the process shows `own`.
struct ThreeClocks : ConfigFixture {
    explicit ThreeClocks(const QString& own = QStringLiteral("Default")) : ConfigFixture(own) {
        store.writeText(kClockListKey, kClockListValue, QStringLiteral("{Tokyo}{Paris}{Berlin}"));
        for (const char* name : {"Tokyo", "Paris", "Berlin"})
            store.writeInteger(clockKeyPath(QString::fromLatin1(name)), QStringLiteral("Enable"),
                               1);
        channel.running.insert(QStringLiteral("Tokyo"), 101);
        channel.running.insert(QStringLiteral("Berlin"), 103);
        page = open().clocksPage();
        log.clear();
    }
    bool keyExists(const QString& name) {
        const KeyPath p = splitKeyPath(clockKeyPath(name));
        return backend.keyExists(p.root, p.subKey);
    }
    ClocksPage* page;
};

TEST(ClocksPage, ListsEveryClockWithItsRunningState) {
    ThreeClocks f;
    EXPECT_EQ(rowsOf(f.page->clockList()), (QStringList{"Default -- Running", "Tokyo -- Running",
                                                        "Paris -- Stopped", "Berlin -- Running"}));
    f.page->clockCommand(ClocksPage::refresh);
    // Every running clock comes forward, in list order, the last one in front.
    EXPECT_EQ(f.log, (QStringList{"raise Default", "raise Tokyo", "raise Berlin"}));
}

TEST(ClocksPage, AddRegistersAndStartsTheClockThenWaitsAndRefreshes) {
    ThreeClocks f;
    f.page->zoneBox()->setCurrentIndex(50);
    f.page->nameEdit()->setText(QStringLiteral("  Cairo "));
    f.page->clockButton(ClocksPage::Add)->click();

    EXPECT_EQ(f.storedText(kClockListKey, kClockListValue),
              QStringLiteral("{Tokyo}{Paris}{Berlin}{Cairo}"));
    EXPECT_EQ(f.stored("Cairo", u"TimeZoneIndex"), 50);
    EXPECT_EQ(actions(f.log).mid(0, 2), (QStringList{"launch Cairo", "wait 1000"}));
    EXPECT_EQ(rowsOf(f.page->clockList()).last(), QStringLiteral("Cairo -- Stopped"));
}

// Choosing a zone names the new clock after its place until the user writes a
// name; a row without a place takes the name back to where it started, never
// to the place chosen before. The new clock follows its place's daylight saving.
TEST(ClocksPage, AZoneChosenNamesTheClockUntilTheUserWritesAName) {
    ThreeClocks f;
    QComboBox* zones = f.page->zoneBox();
    const auto choose = [&](int row) {
        zones->setCurrentIndex(row);
        emit zones->activated(row);
        return f.page->nameEdit()->text();
    };
    const struct {
        int row;
        const char* name;
    } steps[] = {
        {81, "Tokyo"}, {47, "Harare"}, {34, "Add Clock"}, {15, "Add Clock"}, {37, "Berlin"}};
    for (const auto& step : steps)
        EXPECT_EQ(choose(step.row), QString::fromUtf8(step.name)) << step.row;
    f.page->nameEdit()->setText(QStringLiteral("Office"));
    EXPECT_EQ(choose(35), QStringLiteral("Office"));
    f.page->clockButton(ClocksPage::Add)->click();
    EXPECT_EQ(f.stored("Office", u"TimeZoneIndex"), 35);
    EXPECT_EQ(f.stored("Office", u"TimeStandard"), 2);
    EXPECT_EQ(f.storedText(clockKeyPath(QStringLiteral("Office")), kZoneNameValue), QString());
}

// Typing finds a place in the zone list: Down and Enter choose a row, Enter alone
// the one match, which a zone no row carries joins the list for; the clock is
// added with its zone's name and the line below says its time now.
TEST(ClocksPage, TypingFindsAPlaceThatTheKeyboardChooses) {
    ThreeClocks f;
    QLineEdit* find = f.page->zoneFindField();
    const auto typeAndChoose = [&](const char* words, bool arrowDown) {
        find->clear();
        QTest::keyClicks(find, QString::fromUtf8(words));
        QWidget* popup = QApplication::activePopupWidget();
        EXPECT_TRUE(popup) << words;
        if (!popup)
            return;
        if (arrowDown)
            QTest::keyClick(popup, Qt::Key_Down);
        QTest::keyClick(popup, Qt::Key_Return);
        EXPECT_FALSE(QApplication::activePopupWidget());
    };
    typeAndChoose("kath", true);
    EXPECT_EQ(f.page->zoneBox()->currentIndex(), 67);
    EXPECT_EQ(f.page->nameEdit()->text(), QStringLiteral("Kathmandu"));
    EXPECT_EQ(f.page->zoneNowLine()->text(), QStringLiteral("Now UTC+05:45, Monday 14:45"));

    typeAndChoose("chatham", false);
    EXPECT_EQ(f.page->zoneBox()->currentText(), QStringLiteral("(UTC+12:45) Chatham"));
    EXPECT_EQ(f.page->nameEdit()->text(), QStringLiteral("Chatham"));
    EXPECT_EQ(f.page->zoneNowLine()->text(), QStringLiteral("Now UTC+13:45, Monday 22:45"));
    f.page->clockButton(ClocksPage::Add)->click();
    EXPECT_EQ(f.stored("Chatham", u"TimeZoneIndex"), 96);
    EXPECT_EQ(f.storedText(clockKeyPath(QStringLiteral("Chatham")), kZoneNameValue),
              QStringLiteral("Pacific/Chatham"));
}

TEST(ClocksPage, ARefusedNameChangesNothingAndDoesNotWait) {
    const struct {
        const char* name;
        const char* message;
    } cases[] = {
        {"Paris", "Clock Name is already exist. Please rename."},
        {"   ", "Add a clock failed. Please enter a clock name."},
    };
    for (const auto& c : cases) {
        ThreeClocks f;
        f.page->nameEdit()->setText(QString::fromLatin1(c.name));
        f.page->clockCommand(ClocksPage::Add);
        ASSERT_EQ(f.messages.messages.size(), 1u) << c.name;
        EXPECT_EQ(f.messages.messages[0].text, QString::fromLatin1(c.message));
        EXPECT_EQ(f.messages.messages[0].title, kErrorTitle);
        EXPECT_TRUE(f.log.filter(QStringLiteral("launch")).isEmpty());
        EXPECT_TRUE(f.log.filter(QStringLiteral("wait")).isEmpty());
        EXPECT_EQ(f.storedText(kClockListKey, kClockListValue),
                  QStringLiteral("{Tokyo}{Paris}{Berlin}"));
    }
}

TEST(ClocksPage, DeleteRefusesDefaultButStillRemovesTheOthersMarked) {
    ThreeClocks f; // the process shows Default
    mark(*f.page, {0, 2, 3});
    f.page->clockCommand(ClocksPage::Delete);

    ASSERT_EQ(f.messages.messages.size(), 1u);
    EXPECT_EQ(f.messages.messages[0].text, QStringLiteral("Default clock can not be deleted."));
    EXPECT_EQ(f.storedText(kClockListKey, kClockListValue), QStringLiteral("{Tokyo}"));
    EXPECT_FALSE(f.keyExists(QStringLiteral("Paris")));
    EXPECT_FALSE(f.keyExists(QStringLiteral("Berlin")));
    EXPECT_TRUE(f.log.contains(QStringLiteral("close Berlin"))) << "a running clock is closed";
    EXPECT_FALSE(f.log.contains(QStringLiteral("close Paris")));
    EXPECT_TRUE(f.log.contains(QStringLiteral("wait 1000")));
    EXPECT_FALSE(f.app.shutdownStarted());
    EXPECT_EQ(rowsOf(f.page->clockList()), (QStringList{"Default -- Running", "Tokyo -- Running"}));
}

TEST(ClocksPage, DeletingTheOwnClockRemovesTheOthersFirstThenEndsThisProcess) {
    ThreeClocks f(QStringLiteral("Tokyo"));
    QStringList atShutdown;
    f.windowHost.onCloseWindows = [&] {
        atShutdown << (f.keyExists(QStringLiteral("Paris")) ? "Paris kept" : "Paris gone")
                   << (f.keyExists(QStringLiteral("Tokyo")) ? "Tokyo kept" : "Tokyo gone");
    };
    mark(*f.page, {1, 2, 3});
    f.page->clockCommand(ClocksPage::Delete);

    EXPECT_EQ(atShutdown, (QStringList{"Paris gone", "Tokyo kept"}));
    EXPECT_TRUE(f.app.shutdownStarted());
    EXPECT_FALSE(f.keyExists(QStringLiteral("Tokyo"))) << "removed after the shutdown";
    EXPECT_EQ(f.stored("Tokyo", u"Enable"), 0) << "the shutdown stored nothing back";
    EXPECT_EQ(f.storedText(kClockListKey, kClockListValue), QString());
    EXPECT_FALSE(QFile::exists(f.autorun->entryFilePath()));
    EXPECT_EQ(actions(f.log), (QStringList{"close Berlin", "close own window"}));
    EXPECT_TRUE(f.messages.messages.empty());
}

TEST(ClocksPage, RunStartsEveryMarkedClockEvenARunningOne) {
    ThreeClocks f;
    mark(*f.page, {1, 2});
    f.page->clockCommand(ClocksPage::Run);
    EXPECT_EQ(actions(f.log).mid(0, 3), (QStringList{"launch Tokyo", "launch Paris", "wait 1000"}));
}

TEST(ClocksPage, StopClosesTheRunningMarkedClocks) {
    ThreeClocks f;
    mark(*f.page, {2, 3});
    f.page->clockCommand(ClocksPage::Stop);
    EXPECT_EQ(actions(f.log).mid(0, 2), (QStringList{"close Berlin", "wait 1000"}));
    EXPECT_TRUE(f.keyExists(QStringLiteral("Berlin"))) << "stopping keeps the clock";
    EXPECT_EQ(rowsOf(f.page->clockList()).last(), QStringLiteral("Berlin -- Stopped"));
    EXPECT_FALSE(f.app.shutdownStarted());
}

TEST(ClocksPage, StoppingTheOwnClockShutsItDownWithItsSettingsSaved) {
    ThreeClocks f(QStringLiteral("Paris"));
    f.app.settings().ClockRadius = 77;
    mark(*f.page, {2, 3});
    f.page->clockCommand(ClocksPage::Stop);
    EXPECT_TRUE(f.app.shutdownStarted());
    EXPECT_EQ(f.stored("Paris", u"ClockRadius"), 77);
    EXPECT_EQ(actions(f.log), (QStringList{"close Berlin", "close own window"}));
}

// Marks belong to the clocks they were put on: when the list changed underneath
// (Tokyo deleted from a terminal), Stop and Delete act on the clocks marked, never
// on the one that took a marked row, and a clock that is gone marks nothing.
TEST(ClocksPage, MarksStayWithTheirClocksWhenTheListChangesUnderneath) {
    const struct {
        ClocksPage::Command command;
        const char* done;  // to the marked Paris (or its key is gone)
        const char* never; // to Berlin, which took Paris's row
    } cases[] = {{ClocksPage::Stop, "close Paris", "close Berlin"},
                 {ClocksPage::Delete, "delete Paris", "delete Berlin"}};
    for (const auto& c : cases) {
        ThreeClocks f;
        f.channel.running.insert(QStringLiteral("Paris"), 102);
        f.store.writeText(kClockListKey, kClockListValue, QStringLiteral("{Paris}{Berlin}"));
        mark(*f.page, {1, 2}); // Tokyo, gone by now, and Paris
        f.page->clockCommand(c.command);
        const QString log = f.log.join(u' ');
        EXPECT_FALSE(log.contains(QLatin1String(c.never))) << qPrintable(log);
        EXPECT_FALSE(log.contains(QStringLiteral("close Tokyo"))) << qPrintable(log);
        EXPECT_TRUE(log.contains(QLatin1String(c.done)) || !f.keyExists(QStringLiteral("Paris")))
            << qPrintable(log);
        EXPECT_TRUE(f.keyExists(QStringLiteral("Berlin")));
    }
}

} // namespace
} // namespace ovra
