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
};

TEST(OwnClockChannel, AnswersForItsOwnClockAndPassesTheRestOn) {
    RecordingChannel others;
    QStringList own;
    OwnClockChannel channel(others,
                            {QStringLiteral("Office"), [&] { own << QStringLiteral("raise"); },
                             [&] {
                                 own << QStringLiteral("close");
                             }});

    EXPECT_EQ(channel.find(QStringLiteral("Office"), false), QCoreApplication::applicationPid());
    EXPECT_EQ(channel.find(QStringLiteral("Office"), true), QCoreApplication::applicationPid());
    EXPECT_EQ(channel.close(QStringLiteral("Office"), 5000), CloseOutcome::Closed);
    EXPECT_EQ(own, (QStringList{"raise", "close"}));
    EXPECT_TRUE(others.calls.isEmpty()) << "the own clock is never asked over the channel";

    // Names are compared exactly: another spelling is another clock.
    EXPECT_EQ(channel.find(QStringLiteral("office"), true), 77);
    EXPECT_EQ(channel.close(QStringLiteral("Office 2"), 300), CloseOutcome::Closed);
    EXPECT_EQ(others.calls, (QStringList{"find office 1", "close Office 2 300"}));

    // Without a way to close itself the own clock must not claim to have closed.
    OwnClockChannel bare(others, {QStringLiteral("Default"), {}, {}});
    EXPECT_EQ(bare.close(QStringLiteral("Default"), 100), CloseOutcome::TimedOut);
}

} // namespace
} // namespace ovra
