#include "dialogs/ownclockchannel.h"
#include "support/clockfakes.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

namespace ovra {
namespace {

TEST(OwnClockChannel, AnswersForItsOwnClockAndPassesTheRestOn) {
    test::FakeInstanceChannel others;
    others.running = {{QStringLiteral("office"), 77}, {QStringLiteral("Office 2"), 78}};
    others.settingsOutcome = SettingsOutcome::NotUnderstood;
    QStringList calls;
    others.log = &calls;
    QStringList own;
    OwnClockChannel channel(others,
                            {QStringLiteral("Office"), [&] { own << QStringLiteral("raise"); },
                             [&] { own << QStringLiteral("close"); },
                             [&] {
                                 own << QStringLiteral("settings");
                             }});

    EXPECT_EQ(channel.find(QStringLiteral("Office"), false), QCoreApplication::applicationPid());
    EXPECT_EQ(channel.find(QStringLiteral("Office"), true), QCoreApplication::applicationPid());
    EXPECT_EQ(channel.close(QStringLiteral("Office"), 5000), CloseOutcome::Closed);
    EXPECT_EQ(channel.showSettings(QStringLiteral("Office")), SettingsOutcome::Shown);
    EXPECT_EQ(own, (QStringList{"raise", "close", "settings"}));
    EXPECT_TRUE(calls.isEmpty()) << "the own clock is never asked over the channel";

    // Names are compared exactly: another spelling is another clock.
    EXPECT_EQ(channel.find(QStringLiteral("office"), true), 77);
    EXPECT_EQ(channel.close(QStringLiteral("Office 2"), 300), CloseOutcome::Closed);
    EXPECT_EQ(channel.showSettings(QStringLiteral("Office 2")), SettingsOutcome::NotUnderstood);
    EXPECT_EQ(calls, (QStringList{"raise office", "close Office 2", "settings Office 2"}));
    EXPECT_EQ(others.closeTimeouts, QList<int>{300});

    // Without a way to close itself the own clock must not claim to have closed.
    OwnClockChannel bare(others, {QStringLiteral("Default"), {}, {}, {}});
    EXPECT_EQ(bare.close(QStringLiteral("Default"), 100), CloseOutcome::TimedOut);
    EXPECT_EQ(bare.showSettings(QStringLiteral("Default")), SettingsOutcome::NotAnswering);
}

} // namespace
} // namespace ovra
