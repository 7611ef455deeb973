#include "alarmfakes.h"
#include "alarms/powercontrol.h"
#include "support/testenv.h"

#include <gtest/gtest.h>

using namespace ovra;

TEST(PowerControl, EachActionSendsItsRequest) {
    struct Case {
        int32_t action;
        QString answer;
        QStringList calls;
        const char* message;
    } cases[] = {
        {1, "no", {"PowerOff:1"}, nullptr}, // ordinary actions leave refusals to the system
        {2, "no", {"Reboot:1"}, nullptr},
        {3, "no", {"LockSession"}, nullptr},
        {4, "yes", {"CanPowerOff", "PowerOff:0"}, nullptr},
        {5, "yes", {"CanReboot", "Reboot:0"}, nullptr},
        {4, "challenge", {"CanPowerOff"}, "Power off PC error"},
        {5, "no", {"CanReboot"}, "Reboot PC error"},
        {4, "", {"CanPowerOff"}, "Power off PC error"}, // no answer from the system
        {5, "na", {"CanReboot"}, "Reboot PC error"},
        {0, "yes", {}, nullptr},
        {6, "yes", {}, nullptr},
        {99, "yes", {}, nullptr},
    };
    for (const Case& c : cases) {
        test::RecordingPowerActions actions;
        actions.answer = c.answer;
        test::RecordingMessageSink messages;
        PowerControl(actions, messages).runCountdownAction(c.action);
        EXPECT_EQ(actions.calls, c.calls) << c.action << " " << qPrintable(c.answer);
        if (!c.message) {
            EXPECT_TRUE(messages.messages.empty()) << c.action;
            continue;
        }
        ASSERT_EQ(messages.messages.size(), 1u) << c.action;
        EXPECT_EQ(messages.messages[0].text, QString::fromUtf8(c.message));
        EXPECT_EQ(messages.messages[0].title, QStringLiteral("Ovra Clock"));
        EXPECT_EQ(messages.messages[0].icon, MessageIcon::Warning);
    }
}

TEST(PowerControl, AdjustPrivilegeKnowsOnlyTheShutdownPrivilege) {
    test::RecordingPowerActions actions;
    test::RecordingMessageSink messages;
    PowerControl power(actions, messages);
    EXPECT_TRUE(power.AdjustPrivilege(19, true));
    EXPECT_TRUE(power.AdjustPrivilege(19, false));
    EXPECT_FALSE(power.AdjustPrivilege(20, true));
    EXPECT_EQ(actions.calls, QStringList{QStringLiteral("CanPowerOff")});
    actions.answer = QStringLiteral("challenge");
    EXPECT_FALSE(power.AdjustPrivilege(19, true, PowerControl::Request::Reboot));
    EXPECT_EQ(actions.calls.last(), QStringLiteral("CanReboot"));
    EXPECT_TRUE(actions.requests().isEmpty());
}
