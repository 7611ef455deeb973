// The settings dialog in the user's language, with the catalogues found and loaded
// as the program itself does. ctest runs this test with LANG=de_DE.UTF-8.
#include "base/translations.h"
#include "configfixture.h"
#include "widgets/uctabstrip.h"

#include <QCoreApplication>
#include <QGroupBox>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace ovra;

namespace {
struct Captions {
    QString title;
    QStringList tabs;
    QStringList buttons; // OK, About, Apply
    QString generalGroup;
};

Captions captionsOf(FrmConfig& d) {
    d.IniData(false);
    Captions c;
    c.title = d.windowTitle();
    for (int i = 0; i < d.TabConfig()->TabCount(); ++i)
        c.tabs << d.TabConfig()->TabCaption(i);
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
    EXPECT_EQ(c.title, QStringLiteral("Ovra Clock – Einstellungen - Default"));
    EXPECT_EQ(c.tabs, (QStringList{QStringLiteral("&Allgemein"), QStringLiteral("&Darstellung"),
                                   QStringLiteral("&Uhren"), QStringLiteral("Alar&me")}));
    EXPECT_EQ(c.buttons, (QStringList{QStringLiteral("&OK"), QStringLiteral("Ü&ber"),
                                      QStringLiteral("&Übernehmen")}));
    EXPECT_EQ(c.generalGroup, QStringLiteral(" Allgemein: "));
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
    EXPECT_EQ(c.title, QStringLiteral("Ovra Clock – Paramètres - Default"));
    EXPECT_EQ(c.tabs.value(2), QStringLiteral("&Horloges"));
    EXPECT_EQ(c.buttons.value(2), QStringLiteral("&Appliquer"));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Annuler"));
}
