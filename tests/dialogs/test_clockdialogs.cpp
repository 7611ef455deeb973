#include "clock/clockwindowlist.h"
#include "configfixture.h"
#include "dialogs/aboutdialog.h"
#include "dialogs/clockdialogs.h"
#include "dialogs/linkopener.h"

#include <QApplication>
#include <QPushButton>
#include <gtest/gtest.h>

namespace ovra {
namespace {

struct DialogsFixture : test::ConfigFixture {
    explicit DialogsFixture(const QString& clockName = QStringLiteral("Default"))
        : ConfigFixture(clockName), dialogs(services(), links, windows, &clockWindow) {}
    QWidget clockWindow;
    test::RecordingOpener links;
    ClockWindowList windows;
    ClockDialogs dialogs;
};

TEST(ClockDialogs, KeepsOneSettingsDialogPerProcess) {
    DialogsFixture f;
    f.dialogs.openSettings(true);
    SettingsDialog* first = f.dialogs.settingsDialog();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->parentWidget(), &f.clockWindow) << "the settings button owns it";
    f.dialogs.openSettings(false);
    EXPECT_EQ(f.dialogs.settingsDialog(), first) << "Page Up brings the open one forward";
    EXPECT_EQ(f.windows.windows(ClockWindowList::Role::Settings), QList<QWidget*>{first});

    first->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(f.dialogs.settingsDialog(), nullptr);
    f.dialogs.openSettings(false);
    ASSERT_NE(f.dialogs.settingsDialog(), nullptr);
    EXPECT_EQ(f.dialogs.settingsDialog()->parentWidget(), nullptr) << "Page Up owns nothing";
    EXPECT_TRUE(f.dialogs.settingsDialog()->isVisible());
}

TEST(ClockDialogs, TheSettingsDialogsAboutButtonSharesTheOneAboutBox) {
    DialogsFixture f;
    f.dialogs.openAbout();
    AboutDialog* about = f.dialogs.aboutBox();
    ASSERT_NE(about, nullptr);
    f.dialogs.openSettings(true);
    f.dialogs.settingsDialog()->dialogButton(SettingsDialog::About)->click();
    EXPECT_EQ(f.dialogs.aboutBox(), about);
    EXPECT_EQ(f.windows.windows(ClockWindowList::Role::About), QList<QWidget*>{about});

    // The shutdown closes them in its order, the about box before the settings.
    QStringList closed;
    QObject::connect(about, &QObject::destroyed, [&] { closed << QStringLiteral("about"); });
    QObject::connect(f.dialogs.settingsDialog(), &QObject::destroyed,
                     [&] { closed << QStringLiteral("settings"); });
    f.windows.closeAll();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(closed, (QStringList{"about", "settings"}));
}

// With several clocks open, each one's windows say whose they are.
TEST(ClockDialogs, TheSettingsAndAboutTitlesNameTheClock) {
    for (const QString& name : {QStringLiteral("Default"), QStringLiteral("New York")}) {
        DialogsFixture f(name);
        f.dialogs.openSettings(true);
        f.dialogs.openAbout();
        ASSERT_NE(f.dialogs.settingsDialog(), nullptr);
        ASSERT_NE(f.dialogs.aboutBox(), nullptr);
        EXPECT_EQ(f.dialogs.settingsDialog()->windowTitle(),
                  QStringLiteral("Ovra Clock Configuration - ") + name);
        EXPECT_EQ(f.dialogs.aboutBox()->windowTitle(),
                  QStringLiteral("About Ovra Clock - ") + name);
    }
}

} // namespace
} // namespace ovra
