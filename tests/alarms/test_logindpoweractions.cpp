// The real logind requests, sent to a mock logind on a private bus.
#include "alarms/logindpoweractions.h"
#include "alarms/logindresumewatch.h"
#include "alarms/powercontrol.h"
#include "privatelogind.h"
#include "support/testenv.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <functional>

#include <gtest/gtest.h>

using namespace ovra;

namespace {

test::PrivateLogind* g_logind = nullptr;

// Requests go out without waiting for an answer; give them a moment to arrive.
QStringList callsOnceThereAre(qsizetype n) {
    QElapsedTimer t;
    t.start();
    QStringList calls = g_logind->calls();
    while (calls.size() < n && t.elapsed() < 5000) {
        QCoreApplication::processEvents();
        QThread::msleep(20);
        calls = g_logind->calls();
    }
    return calls;
}

class LogindPower : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(g_logind, nullptr);
        ASSERT_TRUE(g_logind->ok()) << qPrintable(g_logind->error());
        g_logind->setAnswer(QStringLiteral("CanPowerOff"), QStringLiteral("yes"));
        g_logind->setAnswer(QStringLiteral("CanReboot"), QStringLiteral("yes"));
        g_logind->clearCalls();
        qputenv("XDG_SESSION_ID", "c42");
    }
    LogindPowerActions m_actions;
    test::RecordingMessageSink m_messages;
    PowerControl m_power{m_actions, m_messages};
};

} // namespace

TEST_F(LogindPower, EachActionSendsItsRequest) {
    struct Case {
        const char* name;
        void (PowerControl::*action)();
        QStringList calls;
    } cases[] = {
        {"shut down", &PowerControl::ShutdownPC, {"PowerOff:true"}},
        {"restart", &PowerControl::RestartPC, {"Reboot:true"}},
        {"lock", &PowerControl::LockPC, {"LockSession:c42"}},
        {"power off without saving", &PowerControl::PowerOffPC, {"CanPowerOff", "PowerOff:false"}},
        {"reboot without saving", &PowerControl::RebootPC, {"CanReboot", "Reboot:false"}},
    };
    for (const Case& c : cases) {
        g_logind->clearCalls();
        (m_power.*c.action)();
        EXPECT_EQ(callsOnceThereAre(c.calls.size()), c.calls) << c.name;
    }
    EXPECT_TRUE(m_messages.messages.empty());
}

TEST_F(LogindPower, ARefusedPrivilegeShowsItsMessageAndSendsNothing) {
    struct Case {
        const char* check;
        const char* answer;
        void (PowerControl::*action)();
        const char* message;
    } cases[] = {
        {"CanPowerOff", "challenge", &PowerControl::PowerOffPC, "Power off PC error"},
        {"CanReboot", "no", &PowerControl::RebootPC, "Reboot PC error"},
    };
    for (const Case& c : cases) {
        g_logind->setAnswer(QString::fromLatin1(c.check), QString::fromLatin1(c.answer));
        g_logind->clearCalls();
        m_messages.messages.clear();
        (m_power.*c.action)();
        ASSERT_EQ(m_messages.messages.size(), 1u) << c.check << " " << c.answer;
        EXPECT_EQ(m_messages.messages[0].text, QString::fromLatin1(c.message));
        EXPECT_EQ(m_messages.messages[0].title, QStringLiteral("Ovra Clock"));
        // The check was answered synchronously, so anything sent after it would be
        // in the log by the time the log itself answers.
        EXPECT_EQ(g_logind->calls(), QStringList{QString::fromLatin1(c.check)});
    }
}

TEST_F(LogindPower, LockWithoutASessionIdAsksForTheCallersSession) {
    qunsetenv("XDG_SESSION_ID");
    m_power.LockPC();
    EXPECT_EQ(callsOnceThereAre(1), QStringList{QStringLiteral("LockSession:auto")});
}

TEST(LogindResume, OnlyTheWakingHalfOfPrepareForSleepReportsAResume) {
    ASSERT_NE(g_logind, nullptr);
    ASSERT_TRUE(g_logind->ok()) << qPrintable(g_logind->error());
    LogindResumeWatch watch;
    ASSERT_TRUE(watch.listening());
    int resumes = 0;
    watch.onResume([&] { ++resumes; });
    const auto settle = [](const std::function<bool()>& done) {
        QElapsedTimer t;
        t.start();
        while (!done() && t.elapsed() < 5000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    };

    // Going to sleep reports nothing; each resume reports once. Signals arrive in
    // the order sent, so once the second resume is in, the sleep one was seen.
    ASSERT_TRUE(g_logind->emitPrepareForSleep(true));
    ASSERT_TRUE(g_logind->emitPrepareForSleep(false));
    ASSERT_TRUE(g_logind->emitPrepareForSleep(false));
    settle([&] { return resumes >= 2; });
    EXPECT_EQ(resumes, 2);
    EXPECT_TRUE(g_logind->calls().filter(QStringLiteral("Power")).isEmpty());
}

int main(int argc, char** argv) {
    test::TestHome home;
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    test::PrivateLogind logind;
    g_logind = &logind;
    const int result = RUN_ALL_TESTS();
    g_logind = nullptr;
    return result;
}
