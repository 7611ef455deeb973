#include "dialogs/ownclockchannel.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

namespace ovra {
namespace {

class RecordingChannel final : public InstanceChannel {
public:
    QStringList calls;
    qint64 find(const QString& name, bool bringForward) override {
        calls << QStringLiteral("find %1 %2").arg(name).arg(bringForward);
        return 77;
    }
    CloseOutcome close(const QString& name, int timeoutMs) override {
        calls << QStringLiteral("close %1 %2").arg(name).arg(timeoutMs);
        return CloseOutcome::Closed;
    }
    SettingsOutcome showSettings(const QString& name) override {
        calls << QStringLiteral("settings %1").arg(name);
        return SettingsOutcome::NotUnderstood;
    }
};

TEST(OwnClockChannel, AnswersForItsOwnClockAndPassesTheRestOn) {
    RecordingChannel others;
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
    EXPECT_TRUE(others.calls.isEmpty()) << "the own clock is never asked over the channel";

    // Names are compared exactly: another spelling is another clock.
    EXPECT_EQ(channel.find(QStringLiteral("office"), true), 77);
    EXPECT_EQ(channel.close(QStringLiteral("Office 2"), 300), CloseOutcome::Closed);
    EXPECT_EQ(channel.showSettings(QStringLiteral("Office 2")), SettingsOutcome::NotUnderstood);
    EXPECT_EQ(others.calls,
              (QStringList{"find office 1", "close Office 2 300", "settings Office 2"}));

    // Without a way to close itself the own clock must not claim to have closed.
    OwnClockChannel bare(others, {QStringLiteral("Default"), {}, {}, {}});
    EXPECT_EQ(bare.close(QStringLiteral("Default"), 100), CloseOutcome::TimedOut);
    EXPECT_EQ(bare.showSettings(QStringLiteral("Default")), SettingsOutcome::NotAnswering);
}

} // namespace
} // namespace ovra
