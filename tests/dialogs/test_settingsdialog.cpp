#include "configfixture.h"
#include "dialogs/appearancepage.h"
#include "dialogs/clockspage.h"
#include "dialogs/colourrow.h"
#include "dialogs/colourvalue.h"
#include "dialogs/displaynameedit.h"
#include "dialogs/generalpage.h"
#include "dialogs/sizefield.h"
#include "widgets/tabstrip.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <gtest/gtest.h>

namespace ovra {
namespace {

using test::ConfigFixture;

constexpr int32_t v(uint32_t bits) {
    return int32_t(bits);
}

QColor colour(uint32_t bits) {
    return QColor::fromRgba(bits);
}

QStringList entriesOf(const QComboBox* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->itemText(i);
    return out;
}

// Shows the dialog as the active window, so focus and keys behave as on a desktop.
void showActive(QWidget& dialog) {
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
}

TEST(SettingsDialog, FillsEveryPageFromTheRecord) {
    ConfigFixture f;
    ClockSettings& s = f.app.settings();
    s.hourMode = HourMode::TwentyFourHour;
    s.alwaysOnTop = true;
    s.opacityStep = 3;
    s.showScale = false;
    s.timeStandard = TimeStandard::DaylightSaving;
    s.startAtLogin = true; // the list shows the autostart entry, which is gone
    ASSERT_TRUE(QFile::remove(f.autorun->entryFilePath()));
    s.hourRingWidth = 20;
    s.radius = 100;
    s.scaleColor = colour(0x77777777u);
    s.timeZoneRow = 40;
    SettingsDialog& d = f.open();

    EXPECT_EQ(d.windowTitle(), QStringLiteral("Ovra Clock Configuration - Default"));
    EXPECT_TRUE(d.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(d.pageTabs()->tabCount(), 4);
    EXPECT_EQ(d.pageTabs()->tabCaption(0), QStringLiteral("&General"));
    EXPECT_EQ(d.pageTabs()->activeTab(), 0);
    EXPECT_FALSE(d.pageAt(SettingsDialog::General)->isHidden());
    EXPECT_TRUE(d.pageAt(SettingsDialog::Appearance)->isHidden());

    GeneralPage& g = *d.generalPage();
    EXPECT_EQ(entriesOf(g.opacityBox()), (QStringList{"100%", "90%", "80%", "70%", "60%", "50%"}));
    EXPECT_EQ(entriesOf(g.timeStandardBox()),
              (QStringList{"Standard Time", "Daylight Saving Time", "Automatic Daylight Saving"}));
    EXPECT_EQ(g.timeFormatBox()->currentIndex(), 1);
    EXPECT_EQ(g.onTopBox()->currentText(), QStringLiteral("Yes"));
    EXPECT_EQ(g.opacityBox()->currentText(), QStringLiteral("70%"));
    EXPECT_EQ(g.scaleBox()->currentText(), QStringLiteral("No"));
    EXPECT_EQ(g.timeStandardBox()->currentIndex(), 1);
    EXPECT_EQ(g.autorunBox()->currentText(), QStringLiteral("No"));

    AppearancePage& a = *d.appearancePage();
    EXPECT_EQ(a.hourWidthField()->text(), QStringLiteral("20"));
    EXPECT_EQ(a.radiusField()->text(), QStringLiteral("100"));
    EXPECT_EQ(a.colourRow(0)->text(), QStringLiteral("&HFFDB5C1C"));
    EXPECT_EQ(a.colourRow(6)->text(), QStringLiteral("&H77777777"));
    EXPECT_EQ(a.colourRow(6)->boxColour(), 0x00777777);

    EXPECT_EQ(d.clocksPage()->zoneBox()->count(), 97);
    EXPECT_EQ(d.clocksPage()->zoneBox()->currentIndex(), 40);
    EXPECT_EQ(d.clocksPage()->nameEdit()->text(), QStringLiteral("Add Clock"));
}

TEST(SettingsDialog, StaysInTheNormalBandWhenTheClockDoesNotFloat) {
    ConfigFixture f;
    f.app.settings().alwaysOnTop = false;
    EXPECT_FALSE(f.open().windowFlags() & Qt::WindowStaysOnTopHint);
}

TEST(SettingsDialog, AnOpacityOfSixSelectsNothingAndApplyStoresTheDefault) {
    ConfigFixture f;
    f.app.settings().opacityStep = 6;
    SettingsDialog& d = f.open();
    EXPECT_EQ(d.generalPage()->opacityBox()->currentIndex(), -1);
    d.dialogCommand(SettingsDialog::Apply);
    // -1 went to the store, came back as 0 through validation, and 0 was stored.
    EXPECT_EQ(f.app.settings().opacityStep, 0);
    EXPECT_EQ(f.stored("Default", u"BackgroundOpacity"), 0);
}

TEST(SettingsDialog, ApplyReadsTheColourTextsAsNumbers) {
    const struct {
        const char* text;
        int32_t expected;
    } cases[] = {
        {"&HC000", -16384},                     // four digits: a 16-bit number, sign widened
        {"&H0", int32_t(defaults::ScaleColor)}, // 0 counts as unset: the default comes back
        {"&HFFFF0000", v(0xFFFF0000u)},         // pure red, opaque
        {"&H12345", 74565},                     //
        {"  &h 80 11 22 33", v(0x80112233u)},   // blanks anywhere, either case
        {"99999999999", v(0x12345678u)},        // out of range: the field keeps its value
    };
    for (const auto& c : cases) {
        ConfigFixture f;
        f.app.settings().scaleColor = colour(0x12345678u);
        SettingsDialog& d = f.open();
        d.appearancePage()->colourRow(6)->setText(QString::fromLatin1(c.text));
        d.dialogCommand(SettingsDialog::Apply);
        EXPECT_EQ(f.app.settings().scaleColor, colour(c.expected)) << c.text;
        EXPECT_EQ(f.stored("Default", u"ClockScaleColor"), c.expected) << c.text;
    }
}

// While the user types, the box shows the colour Apply will store for the text;
// after Apply the row shows the stored colour, text and box.
TEST(SettingsDialog, TheColourBoxShowsWhatApplyStores) {
    const struct {
        const char* text;
        int32_t stored;
    } cases[] = {
        {"99999999999999", v(0x12345678u)}, // out of range: the applied colour stays
        {"1e3", 0x3E8},
        {"red", int32_t(defaults::ScaleColor)}, // no number: 0, which is the default
        {"#FF0000", int32_t(defaults::ScaleColor)},
        {"&HGG", int32_t(defaults::ScaleColor)},
        {"&H0", int32_t(defaults::ScaleColor)},
        {"&HFF00FF00", v(0xFF00FF00u)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        ConfigFixture f;
        f.app.settings().scaleColor = colour(0x12345678u);
        SettingsDialog& d = f.open();
        ColourRow& row = *d.appearancePage()->colourRow(6);
        row.textBox()->clear();
        QTest::keyClicks(row.textBox(), QString::fromLatin1(c.text));
        EXPECT_EQ(row.boxColour(), colorTransfer(c.stored) & 0xFFFFFF);
        d.dialogCommand(SettingsDialog::Apply);
        ASSERT_EQ(f.stored("Default", u"ClockScaleColor"), c.stored);
        EXPECT_EQ(row.text(), colourText(c.stored));
        EXPECT_EQ(row.boxColour(), colorTransfer(c.stored) & 0xFFFFFF);
    }
}

TEST(SettingsDialog, ApplyCarriesListsAndSizesThroughTheStore) {
    ConfigFixture f;
    SettingsDialog& d = f.open();
    GeneralPage& g = *d.generalPage();
    g.timeFormatBox()->setCurrentIndex(1);
    g.onTopBox()->setCurrentIndex(1);
    g.scaleBox()->setCurrentIndex(1);
    g.timeStandardBox()->setCurrentIndex(1);
    g.autorunBox()->setCurrentIndex(0);
    AppearancePage& a = *d.appearancePage();
    a.hourWidthField()->setText(QStringLiteral("30"));
    a.minuteWidthField()->setText(QStringLiteral("9")); // no range check until the store
    a.radiusField()->setText(QStringLiteral("64."));
    d.dialogCommand(SettingsDialog::Apply);

    const ClockSettings& s = f.app.settings();
    EXPECT_EQ(s.hourMode, HourMode::TwentyFourHour);
    EXPECT_TRUE(s.alwaysOnTop);
    EXPECT_FALSE(s.showScale);
    EXPECT_EQ(s.timeStandard, TimeStandard::DaylightSaving);
    EXPECT_EQ(s.hourRingWidth, 30);
    EXPECT_EQ(s.minuteRingWidth, 18);
    EXPECT_EQ(s.radius, 64);
    EXPECT_EQ(f.stored("Default", u"HourCircleWidth"), 30);
    EXPECT_EQ(f.stored("Default", u"MinuteCircleWidth"), 18);
    EXPECT_EQ(f.stored("Default", u"12/24Hour"), 1);
    // "Yes" writes the autostart entry.
    EXPECT_TRUE(QFile::exists(f.autorun->entryFilePath()));
    EXPECT_EQ(f.autorun->getAutorunChoice(), 0);

    g.autorunBox()->setCurrentIndex(1);
    d.dialogCommand(SettingsDialog::Apply);
    EXPECT_FALSE(QFile::exists(f.autorun->entryFilePath()));
}

TEST(SettingsDialog, AnOpacityChoiceReachesTheRecordAtOnceAndOutlivesTheCloseBox) {
    ConfigFixture f;
    SettingsDialog& d = f.open();
    showActive(d);
    QComboBox* opacity = d.generalPage()->opacityBox();
    opacity->setFocus();
    QTest::keyClick(opacity, Qt::Key_Down);
    QTest::keyClick(opacity, Qt::Key_Down);
    EXPECT_EQ(f.app.settings().opacityStep, 2);
    d.appearancePage()->hourWidthField()->setText(QStringLiteral("40"));
    d.close();
    EXPECT_EQ(f.app.settings().opacityStep, 2);
    EXPECT_EQ(f.app.settings().hourRingWidth, 18) << "closing applies nothing else";
    EXPECT_TRUE(std::holds_alternative<std::monostate>(f.store.readValue(
        clockKeyPath(QStringLiteral("Default")), QStringLiteral("BackgroundOpacity"))))
        << "nothing stored yet";
}

TEST(SettingsDialog, EscapeClosesWithoutApplyingOkAppliesAndCloses) {
    ConfigFixture f;
    SettingsDialog& escaped = f.open();
    showActive(escaped);
    escaped.appearancePage()->radiusField()->setText(QStringLiteral("60"));
    QTest::keyClick(&escaped, Qt::Key_Escape);
    EXPECT_FALSE(escaped.isVisible());
    EXPECT_EQ(f.app.settings().radius, 48);

    SettingsDialog& d = f.open();
    showActive(d);
    d.appearancePage()->radiusField()->setText(QStringLiteral("60"));
    QTest::mouseClick(d.dialogButton(SettingsDialog::About), Qt::LeftButton);
    EXPECT_EQ(f.log.filter(QStringLiteral("about")).size(), 1);
    QTest::mouseClick(d.dialogButton(SettingsDialog::OK), Qt::LeftButton);
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(f.stored("Default", u"ClockRadius"), 60);
}

TEST(SettingsDialog, AppearanceResetRestoresColoursAndSizesOnly) {
    ConfigFixture f;
    ClockSettings& s = f.app.settings();
    s.radius = 90;
    s.secondRingWidth = 40;
    s.minuteColor = colour(0xFF010203u);
    s.hourMode = HourMode::TwentyFourHour;
    s.position = QPoint(200, 0);
    s.timeZoneRow = 12;
    SettingsDialog& d = f.open();
    d.appearancePage()->hourWidthField()->setText(QStringLiteral("44")); // an edit not applied
    d.appearancePage()->resetButton()->click();

    EXPECT_EQ(s.radius, 48);
    EXPECT_EQ(s.secondRingWidth, 18);
    EXPECT_EQ(s.minuteColor.rgba(), defaults::MinuteColor);
    EXPECT_EQ(s.hourMode, HourMode::TwentyFourHour);
    EXPECT_EQ(s.position, QPoint(200, 0));
    EXPECT_EQ(d.appearancePage()->hourWidthField()->text(), QStringLiteral("18"));
    EXPECT_EQ(d.appearancePage()->colourRow(2)->text(), QStringLiteral("&HFF2272CD"));
    EXPECT_EQ(f.stored("Default", u"ClockRadius"), 48);
    EXPECT_EQ(f.stored("Default", u"Left"), 3000);
    EXPECT_EQ(d.clocksPage()->zoneBox()->count(), 97) << "a refill adds no zones";
}

// A new clock wants to start with the session; the first dialog shows it and the
// first Apply keeps it.
TEST(SettingsDialog, TheFirstApplyOfANewClockKeepsItsAutostart) {
    for (const char* name : {"Default", "Tokyo"}) {
        SCOPED_TRACE(name);
        ConfigFixture f(QString::fromUtf8(name));
        ASSERT_TRUE(f.app.settings().startAtLogin);
        SettingsDialog& d = f.open();
        EXPECT_EQ(d.generalPage()->autorunBox()->currentText(), QStringLiteral("Yes"));
        d.dialogCommand(SettingsDialog::Apply);
        EXPECT_EQ(f.stored(QString::fromUtf8(name), u"Autorun"), 0);
        EXPECT_TRUE(QFile::exists(f.autorun->entryFilePath()));
    }
}

TEST(SettingsDialog, GeneralResetRestoresTheChoicesAndWritesTheAutostartEntry) {
    ConfigFixture f;
    ClockSettings& s = f.app.settings();
    s.hourMode = HourMode::TwentyFourHour;
    s.alwaysOnTop = true;
    s.opacityStep = 5;
    s.startAtLogin = false;
    ASSERT_TRUE(QFile::remove(f.autorun->entryFilePath()));
    s.radius = 70;
    SettingsDialog& d = f.open();
    ASSERT_EQ(d.generalPage()->autorunBox()->currentText(), QStringLiteral("No"));
    d.generalPage()->resetButton()->click();

    EXPECT_EQ(s.hourMode, HourMode::TwelveHour);
    EXPECT_FALSE(s.alwaysOnTop);
    EXPECT_EQ(s.opacityStep, 0);
    EXPECT_TRUE(s.startAtLogin);
    EXPECT_EQ(s.radius, 70);
    EXPECT_TRUE(QFile::exists(f.autorun->entryFilePath()));
    EXPECT_EQ(f.stored("Default", u"Autorun"), 0);
    EXPECT_EQ(d.generalPage()->timeFormatBox()->currentText(), QStringLiteral("12 Hour"));
    // The list follows the entry just written, so the next apply keeps it.
    EXPECT_EQ(d.generalPage()->autorunBox()->currentText(), QStringLiteral("Yes"));
    d.dialogCommand(SettingsDialog::Apply);
    EXPECT_TRUE(QFile::exists(f.autorun->entryFilePath()));
}

TEST(SettingsDialog, SizeFieldsCheckTheirTextWhenTheyLoseTheFocus) {
    const struct {
        int field; // 0..2 widths, 3 radius
        const char* typed;
        const char* after;
    } cases[] = {
        {0, "5", "18"},    {0, "50", "50"},   {1, "51", "18"},   {2, "", "18"},   {3, "47", "48"},
        {3, "200", "48"},  {3, "128", "128"}, {3, "64.", "64."}, {0, "-5", "18"}, {1, "1e1", "11"},
        {0, "ab12", "12"}, {3, "9x9", "99"},  {3, "1/2", "48"},
    };
    ConfigFixture f;
    SettingsDialog& d = f.open();
    showActive(d);
    d.pageTabs()->setActiveTab(SettingsDialog::Appearance);
    QLineEdit* elsewhere = d.appearancePage()->colourRow(0)->textBox();
    for (const auto& c : cases) {
        SizeField* field = d.appearancePage()->sizeFields()[size_t(c.field)];
        field->setFocus();
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Backspace);
        QTest::keyClicks(field, QString::fromLatin1(c.typed));
        elsewhere->setFocus();
        EXPECT_EQ(field->text(), QString::fromLatin1(c.after)) << c.field << " " << c.typed;
    }
}

TEST(SettingsDialog, TheNameBoxDropsBracesAndSelectsItsTextOnFocus) {
    ConfigFixture f;
    SettingsDialog& d = f.open();
    showActive(d);
    d.pageTabs()->setActiveTab(SettingsDialog::Clocks);
    QLineEdit* name = d.clocksPage()->nameEdit();
    name->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(name->selectedText(), QStringLiteral("Add Clock"));
    QTest::keyClicks(name, QStringLiteral("{Tok}yo"));
    EXPECT_EQ(name->text(), QStringLiteral("Tokyo"));
    EXPECT_EQ(name->maxLength(), 64);
}

TEST(SettingsDialog, TabsBringTheirPagesForwardAndTheKeyboardReachesTheRadius) {
    ConfigFixture f;
    SettingsDialog& d = f.open();
    showActive(d);
    ASSERT_EQ(QApplication::focusWidget(), d.pageTabs());
    QTest::keyClick(d.pageTabs(), Qt::Key_Right);
    EXPECT_EQ(d.pageTabs()->activeTab(), int(SettingsDialog::Appearance));
    EXPECT_TRUE(d.pageAt(SettingsDialog::General)->isHidden());
    EXPECT_FALSE(d.pageAt(SettingsDialog::Appearance)->isHidden());
    // The order a desktop user (and the desktop test) relies on: the strip, then the
    // page's fields top to bottom; backwards from the strip come OK and Apply.
    for (int i = 0; i < 4; ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), d.appearancePage()->radiusField());
    for (int i = 0; i < 6; ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), d.dialogButton(SettingsDialog::Apply));

    d.pageTabs()->setActiveTab(SettingsDialog::Alarms);
    EXPECT_FALSE(d.pageAt(SettingsDialog::Alarms)->isHidden());
    EXPECT_TRUE(d.pageAt(SettingsDialog::Appearance)->isHidden());
}

// What a screen reader finds walking down from the dialog: every control with a
// role, its name and its value, as long as it is showing.
struct ReadControl {
    QAccessible::Role role;
    QString name;
    QString value;
};
void readTree(QAccessibleInterface* node, QList<ReadControl>& out, int depth = 0) {
    ASSERT_LT(depth, 30);
    for (int i = 0; i < node->childCount(); ++i) {
        QAccessibleInterface* child = node->child(i);
        ASSERT_TRUE(child);
        // Every child names its parent, and its parent lists it where it says.
        EXPECT_EQ(child->parent()->object(), node->object());
        EXPECT_EQ(node->indexOfChild(child), i);
        if (child->state().invisible)
            continue;
        out << ReadControl{child->role(), child->text(QAccessible::Name),
                           child->text(QAccessible::Value)};
        if (child->role() != QAccessible::ComboBox)
            readTree(child, out, depth + 1);
    }
}

// Each page, chosen in turn, is read whole from the dialog: its choice lists by
// their labels with their entries as values, and nothing of the other pages.
TEST(SettingsDialog, AScreenReaderReadsEveryFieldOfThePageInFrontByItsLabel) {
    ConfigFixture f;
    SettingsDialog& d = f.open();
    showActive(d);
    const struct {
        SettingsDialog::Page page;
        QList<std::pair<const char*, const char*>> lists; // name, value
        const char* absent;
    } pages[] = {
        {SettingsDialog::General,
         {{"Clock Always On Top", "No"},
          {"Display Clock Scale", "Yes"},
          {"Time Format", "12 Hour"}},
         "Display Name"},
        {SettingsDialog::Clocks,
         {{"Select Time Zone", "(UTC) Coordinated Universal Time"}},
         "Clock Always On Top"},
        {SettingsDialog::Alarms,
         {{"Alarm Time (H)", "AM12 (00)"}, {"Alarm Time (M)", "00"}},
         "Select Time Zone"},
    };
    for (const auto& p : pages) {
        d.pageTabs()->setActiveTab(p.page);
        QList<ReadControl> read;
        readTree(QAccessible::queryAccessibleInterface(&d), read);
        const auto named = [&](const QString& name) {
            return std::find_if(read.begin(), read.end(),
                                [&](const ReadControl& c) { return c.name == name; });
        };
        for (const auto& [name, value] : p.lists) {
            const auto it = named(QString::fromUtf8(name));
            ASSERT_NE(it, read.end()) << "page " << p.page << " has no " << name;
            EXPECT_EQ(it->role, QAccessible::ComboBox) << name;
            EXPECT_EQ(it->value, QString::fromUtf8(value)) << name;
        }
        EXPECT_EQ(named(QString::fromUtf8(p.absent)), read.end())
            << "page " << p.page << " shows " << p.absent;
    }
}

// Ctrl+Page Down and Ctrl+Tab turn the page from a field, Ctrl+Page Up and
// Ctrl+Shift+Tab turn it back, wrapping at the ends; each leads into the new page.
// A tab's access key does the same from anywhere.
TEST(SettingsDialog, TheKeyboardTurnsPagesFromAnyFieldAndGoesIntoThem) {
    ConfigFixture f;
    SettingsDialog& d = f.open();
    showActive(d);
    d.generalPage()->onTopBox()->setFocus();
    const struct {
        QKeyCombination key;
        SettingsDialog::Page page;
    } steps[] = {
        {Qt::CTRL | Qt::Key_PageDown, SettingsDialog::Appearance},
        {Qt::CTRL | Qt::Key_Tab, SettingsDialog::Clocks},
        {Qt::CTRL | Qt::Key_PageDown, SettingsDialog::Alarms},
        {Qt::CTRL | Qt::Key_PageDown, SettingsDialog::General},
        {Qt::CTRL | Qt::Key_PageUp, SettingsDialog::Alarms},
        {Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab, SettingsDialog::Clocks},
        {Qt::ALT | Qt::Key_G, SettingsDialog::General},
    };
    for (const auto& step : steps) {
        QTest::keyClick(QApplication::focusWidget(), step.key.key(), step.key.keyboardModifiers());
        EXPECT_EQ(d.pageTabs()->activeTab(), int(step.page));
        QWidget* focus = QApplication::focusWidget();
        EXPECT_TRUE(focus && d.pageAt(step.page)->isAncestorOf(focus))
            << "page " << step.page << ": the keyboard is on "
            << (focus ? qPrintable(focus->objectName()) : "nothing");
    }
    EXPECT_EQ(QApplication::focusWidget(), d.generalPage()->onTopBox());
}

// A change the clock's record takes elsewhere while the dialog is open (its menu's
// "Always on Top", Page Down's scale) shows in the dialog, and Apply stores only
// what the user changed here, so it undoes none of it.
TEST(SettingsDialog, ChangesMadeElsewhereShowAndApplyDoesNotUndoThem) {
    ConfigFixture f;
    f.app.settings().alwaysOnTop = false;
    f.app.settings().showScale = true;
    SettingsDialog& d = f.open();
    GeneralPage& g = *d.generalPage();
    ASSERT_EQ(g.onTopBox()->currentIndex(), 0);

    // Straight before Apply, before the dialog could look.
    f.app.settings().alwaysOnTop = true;
    d.appearancePage()->radiusField()->setText(QStringLiteral("60"));
    d.dialogCommand(SettingsDialog::Apply);
    EXPECT_EQ(f.stored("Default", u"AlwaysOnTop"), 1);
    EXPECT_EQ(f.stored("Default", u"ClockRadius"), 60);
    EXPECT_EQ(g.onTopBox()->currentIndex(), 1);

    // Shown once the dialog looks; a field the user changed keeps the user's choice.
    g.timeFormatBox()->setCurrentIndex(1);
    f.app.settings().showScale = false;
    f.app.settings().hourMode = HourMode::TwelveHour;
    f.app.settings().alwaysOnTop = false;
    EXPECT_TRUE(QTest::qWaitFor([&] { return g.scaleBox()->currentIndex() == 1; }, 3000));
    EXPECT_EQ(g.onTopBox()->currentIndex(), 0);
    EXPECT_EQ(g.timeFormatBox()->currentIndex(), 1);
    d.dialogCommand(SettingsDialog::Apply);
    EXPECT_EQ(f.stored("Default", u"DisplayScale"), 1);
    EXPECT_EQ(f.stored("Default", u"AlwaysOnTop"), 0);
    EXPECT_EQ(f.stored("Default", u"12/24Hour"), 1);

    // Another process writes the clock's radius into the store.
    f.store.writeInteger(clockKeyPath(QStringLiteral("Default")), QStringLiteral("ClockRadius"),
                         90);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return d.appearancePage()->radiusField()->text() == QStringLiteral("90"); }, 3000));
    g.onTopBox()->setCurrentIndex(1);
    d.dialogCommand(SettingsDialog::Apply);
    EXPECT_EQ(f.stored("Default", u"ClockRadius"), 90);
    EXPECT_EQ(f.stored("Default", u"AlwaysOnTop"), 1);

    // The clock's menu says it changed the record: shown at once, not at the next look.
    f.app.settings().alwaysOnTop = false;
    emit f.app.model().settingsChanged();
    EXPECT_EQ(g.onTopBox()->currentIndex(), 0);
}

// Nothing a user reads in the dialog names another system's parts: it starts "at
// login", not "at Windows startup".
TEST(SettingsDialog, NoTextNamesAnotherPlatform) {
    ConfigFixture f;
    SettingsDialog& d = f.open();
    QStringList texts{d.windowTitle()};
    for (const QLabel* label : d.findChildren<QLabel*>())
        texts << label->text();
    for (const QAbstractButton* button : d.findChildren<QAbstractButton*>())
        texts << button->text();
    for (const QGroupBox* group : d.findChildren<QGroupBox*>())
        texts << group->title();
    for (const QComboBox* list : d.findChildren<QComboBox*>())
        texts << entriesOf(list);
    for (int i = 0; i < d.pageTabs()->tabCount(); ++i)
        texts << d.pageTabs()->tabCaption(i);
    ASSERT_GT(texts.size(), 50);
    const QRegularExpression otherPlatform(QStringLiteral(R"(\bWindows\b|GDI|\bregistry\b)"),
                                           QRegularExpression::CaseInsensitiveOption);
    for (const QString& text : texts)
        EXPECT_FALSE(otherPlatform.match(text).hasMatch()) << qPrintable(text);
}

} // namespace
} // namespace ovra
