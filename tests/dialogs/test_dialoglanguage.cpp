// The settings dialog in the user's language, with the catalogues found and loaded
// as the program itself does. ctest runs this test with LANG=de_DE.UTF-8.
#include "alarms/alarmrecord.h"
#include "base/translations.h"
#include "configfixture.h"
#include "dialogs/alarmspage.h"
#include "dialogs/clockspage.h"
#include "dialogs/displaynameedit.h"
#include "widgets/tabstrip.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

#include <gtest/gtest.h>

using namespace ovra;

namespace {
struct Captions {
    QString title;
    QStringList tabs;
    QStringList buttons; // OK, About, Apply
    QString generalGroup;
};

Captions captionsOf(SettingsDialog& d) {
    d.iniData(false);
    Captions c;
    c.title = d.windowTitle();
    for (int i = 0; i < d.tabConfig()->TabCount(); ++i)
        c.tabs << d.tabConfig()->TabCaption(i);
    for (int i = 0; i < 3; ++i)
        c.buttons << d.findChild<QPushButton*>(QStringLiteral("CmdConfig%1").arg(i))->text();
    c.generalGroup =
        d.findChild<QWidget*>(QStringLiteral("PicConfig0"))->findChild<QGroupBox*>()->title();
    return c;
}
} // namespace

TEST(DialogLanguage, GermanLocaleGivesAGermanSettingsDialog) {
    ASSERT_EQ(QLocale().uiLanguages().value(0).left(2), QStringLiteral("de"))
        << "the test runs under LANG=de_DE.UTF-8";
    const Translations translations(QStringLiteral(OVRA_CLOCK_DIR));
    ASSERT_EQ(translations.language(), QStringLiteral("de"));
    test::ConfigFixture f;
    const Captions c = captionsOf(f.open());
    EXPECT_EQ(c.title, QStringLiteral("Ovra Clock – Einstellungen – Standard"));
    EXPECT_EQ(c.tabs, (QStringList{QStringLiteral("&Allgemein"), QStringLiteral("&Darstellung"),
                                   QStringLiteral("&Uhren"), QStringLiteral("Alar&me")}));
    EXPECT_EQ(c.buttons, (QStringList{QStringLiteral("&OK"), QStringLiteral("Ü&ber"),
                                      QStringLiteral("&Übernehmen")}));
    EXPECT_EQ(c.generalGroup, QStringLiteral(" Allgemein: "));
    // What a user reads is German; what the alarm file keeps is not.
    SettingsDialog& d = *f.dialog;
    EXPECT_EQ(d.clocksPage()->nameEdit()->text(), QStringLiteral("Uhr hinzufügen"));
    AlarmsPage& alarms = *d.alarmsPage();
    EXPECT_EQ(alarms.hourBox()->itemText(13), QStringLiteral("13 Uhr (nachm. 01)"));
    EXPECT_EQ(alarms.soundEdit()->text(), QStringLiteral("Standard-Alarmklang"));
    alarms.alarmCommand(AlarmsPage::Add);
    ASSERT_EQ(f.app.alarms().alarmCount(), 1);
    EXPECT_EQ(f.app.alarms().at(0).SoundFile.trimmed(), QStringLiteral("Default Alarm Sound"));
    // Qt's own catalogue comes along, so message boxes and the colour and file
    // dialogs have German buttons too.
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Abbrechen"));
}

TEST(DialogLanguage, FrenchLocaleGivesAFrenchSettingsDialog) {
    const Translations translations(QStringLiteral(OVRA_CLOCK_DIR),
                                    QLocale(QLocale::French, QLocale::France));
    ASSERT_EQ(translations.language(), QStringLiteral("fr"));
    test::ConfigFixture f;
    const Captions c = captionsOf(f.open());
    EXPECT_EQ(c.title, QStringLiteral("Ovra Clock – Paramètres – Par défaut"));
    EXPECT_EQ(c.tabs.value(2), QStringLiteral("&Horloges"));
    EXPECT_EQ(c.buttons.value(2), QStringLiteral("&Appliquer"));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Annuler"));
}

namespace {
// What one page offers a keyboard and screen-reader user: the access keys of the
// tabs, the dialog's buttons and the page's buttons and labelled fields, each with
// who holds it, and the controls the Tab key reaches that have no accessible name.
struct PageKeys {
    QMap<QKeySequence, QStringList> holders;
    QStringList withoutKey;
    QStringList unnamed;
};

QString accessibleName(QWidget* w) {
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(w);
    return iface ? iface->text(QAccessible::Name) : QString();
}

PageKeys keysOf(SettingsDialog& d, QWidget* page) {
    PageKeys k;
    const auto hold = [&](const QString& text, const QString& who) {
        const QKeySequence key = QKeySequence::mnemonic(text);
        if (key.isEmpty())
            k.withoutKey << who + u'=' + text;
        else
            k.holders[key] << text;
    };
    for (int i = 0; i < d.tabConfig()->TabCount(); ++i)
        hold(d.tabConfig()->TabCaption(i), QStringLiteral("tab"));
    QList<QWidget*> shown{d.tabConfig()};
    for (QAbstractButton* b : d.findChildren<QAbstractButton*>(Qt::FindDirectChildrenOnly))
        shown << b;
    for (QWidget* w : page->findChildren<QWidget*>())
        if (w->isVisibleTo(page))
            shown << w;
    // Day boxes carry the locale's day names, which have no room for keys; Tab
    // reaches them and their text names them. Buttons without a word ("...") are
    // named by what they choose.
    static const QRegularExpression word(QStringLiteral("\\w"));
    for (QWidget* w : shown) {
        if (auto* b = qobject_cast<QAbstractButton*>(w);
            b && b->text().contains(word) && !b->objectName().startsWith(u"CheckDay"))
            hold(b->text(), b->objectName());
        if (auto* l = qobject_cast<QLabel*>(w); l && l->buddy())
            hold(l->text(), l->buddy()->objectName());
        if ((w->focusPolicy() & Qt::TabFocus) && !w->focusProxy() &&
            accessibleName(w).trimmed().isEmpty())
            k.unnamed << w->metaObject()->className() + (u' ' + w->objectName());
    }
    return k;
}
} // namespace

TEST(DialogLanguage, EveryPageHasItsOwnAccessKeysAndNamesEveryControl) {
    const QList<QLocale> locales = {QLocale(QLocale::English, QLocale::UnitedStates),
                                    QLocale(QLocale::German, QLocale::Germany),
                                    QLocale(QLocale::French, QLocale::France)};
    for (const QLocale& locale : locales) {
        const Translations translations(QStringLiteral(OVRA_CLOCK_DIR), locale);
        test::ConfigFixture f;
        SettingsDialog& d = f.open();
        d.iniData(false);
        auto* action = d.findChild<QComboBox*>(QStringLiteral("CombAction"));
        ASSERT_TRUE(action);
        // The alarms page twice: with the tip box, and with the target row in its place.
        const QList<std::pair<int, int>> pages = {
            {0, 0}, {1, 0}, {2, 0}, {3, 0}, {3, alarmaction::Execute}};
        for (const auto& [tab, actionIndex] : pages) {
            d.tabConfig()->setActiveTab(tab);
            action->setCurrentIndex(actionIndex);
            QWidget* page = d.findChild<QWidget*>(QStringLiteral("PicConfig%1").arg(tab));
            ASSERT_TRUE(page && page->isVisibleTo(&d));
            const PageKeys k = keysOf(d, page);
            const QString where = locale.name() + QStringLiteral(" page ") + QString::number(tab);
            EXPECT_TRUE(k.withoutKey.isEmpty())
                << where.toStdString() << ": " << k.withoutKey.join(u", ").toStdString();
            EXPECT_TRUE(k.unnamed.isEmpty())
                << where.toStdString() << ": " << k.unnamed.join(u", ").toStdString();
            EXPECT_GT(k.holders.size(), 8) << where.toStdString();
            for (auto it = k.holders.cbegin(); it != k.holders.cend(); ++it)
                EXPECT_EQ(it.value().size(), 1)
                    << where.toStdString() << ": " << it.key().toString().toStdString()
                    << " held by " << it.value().join(u" | ").toStdString();
        }
    }
}

// With the keyboard alone: from the tab strip, Tab reaches every control of the page
// in front and the dialog's buttons, and comes round to the strip again.
TEST(DialogLanguage, TabReachesEveryControlOfEveryPage) {
    test::ConfigFixture f;
    SettingsDialog& d = f.open();
    d.show();
    d.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&d));
    for (int tab = 0; tab < d.tabConfig()->TabCount(); ++tab) {
        d.tabConfig()->setActiveTab(tab);
        d.tabConfig()->setFocus(Qt::TabFocusReason);
        QWidget* page = d.findChild<QWidget*>(QStringLiteral("PicConfig%1").arg(tab));
        QSet<QWidget*> expected;
        for (QWidget* w : page->findChildren<QWidget*>())
            if (w->isVisibleTo(page) && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus))
                expected << w;
        for (QAbstractButton* b : d.findChildren<QAbstractButton*>(Qt::FindDirectChildrenOnly))
            expected << b;
        QSet<QWidget*> reached;
        for (int step = 0; step < 100 && QApplication::focusWidget() != nullptr; ++step) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            if (QApplication::focusWidget() == d.tabConfig())
                break;
            reached << QApplication::focusWidget();
        }
        EXPECT_EQ(QApplication::focusWidget(), d.tabConfig()) << "page " << tab;
        QStringList missed;
        for (QWidget* w : expected - reached)
            missed << w->metaObject()->className() + (u' ' + w->objectName());
        EXPECT_TRUE(missed.isEmpty()) << "page " << tab << ": " << missed.join(u", ").toStdString();
    }
}
