// The real logind and session manager requests, sent to mocks on private buses.
#include "alarms/dbusrequest.h"
#include "alarms/desktopsessionend.h"
#include "alarms/logindpoweractions.h"
#include "alarms/logindresumewatch.h"
#include "alarms/powercontrol.h"
#include "privatelogind.h"
#include "privatesessionbus.h"
#include "support/testenv.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <functional>

#include <gtest/gtest.h>

using namespace ovra;

namespace {

test::PrivateLogind* g_logind = nullptr;
test::PrivateSessionBus* g_session = nullptr;

// Requests go out without waiting for an answer; give them a moment to arrive.
QStringList callsOnceThereAre(qsizetype n, const std::function<QStringList()>& read) {
    QElapsedTimer t;
    t.start();
    QStringList calls = read();
    while (calls.size() < n && t.elapsed() < 5000) {
        QCoreApplication::processEvents();
        QThread::msleep(20);
        calls = read();
    }
    return calls;
}

QStringList callsOnceThereAre(qsizetype n) {
    return callsOnceThereAre(n, [] { return g_logind->calls(); });
}

class LogindPower : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(g_logind, nullptr);
        ASSERT_TRUE(g_logind->ok()) << qPrintable(g_logind->error());
        ASSERT_NE(g_session, nullptr);
        ASSERT_TRUE(g_session->ok()) << qPrintable(g_session->error());
        g_logind->setAnswer(QStringLiteral("CanPowerOff"), QStringLiteral("yes"));
        g_logind->setAnswer(QStringLiteral("CanReboot"), QStringLiteral("yes"));
        g_logind->clearCalls();
        qputenv("XDG_SESSION_ID", "c42");
    }
    LogindPowerActions m_actions;
    DesktopSessionEnd m_session;
    test::RecordingMessageSink m_messages;
    PowerControl m_power{m_actions, m_messages, &m_session};
};

} // namespace

TEST_F(LogindPower, EachActionSendsItsRequest) {
    struct Case {
        const char* name;
        void (PowerControl::*action)(PowerControl::Failed);
        QStringList calls;
    } cases[] = {
        {"shut down", &PowerControl::shutdownPC, {"PowerOff:true"}},
        {"restart", &PowerControl::restartPC, {"Reboot:true"}},
        {"lock", &PowerControl::lockPC, {"LockSession:c42"}},
        {"power off without saving", &PowerControl::powerOffPC, {"CanPowerOff", "PowerOff:false"}},
        {"reboot without saving", &PowerControl::rebootPC, {"CanReboot", "Reboot:false"}},
    };
    for (const Case& c : cases) {
        g_logind->clearCalls();
        (m_power.*c.action)({});
        EXPECT_EQ(callsOnceThereAre(c.calls.size()), c.calls) << c.name;
    }
    EXPECT_TRUE(m_messages.messages.empty());
}

TEST_F(LogindPower, ShutDownAndRestartAskTheRunningSessionManager) {
    struct Case {
        const char* service;
        const char* path;
        const char* interface;
        const char* shutDown;
        const char* restart;
        const char* signature;
        QStringList calls;
    } cases[] = {
        // The Request forms end the session without GNOME's own dialog.
        {"org.gnome.SessionManager",
         "/org/gnome/SessionManager",
         "org.gnome.SessionManager",
         "RequestShutdown",
         "RequestReboot",
         "",
         {"RequestShutdown", "RequestReboot"}},
        {"org.kde.Shutdown",
         "/Shutdown",
         "org.kde.Shutdown",
         "logoutAndShutdown",
         "logoutAndReboot",
         "",
         {"logoutAndShutdown", "logoutAndReboot"}},
        {"org.xfce.SessionManager",
         "/org/xfce/SessionManager",
         "org.xfce.Session.Manager",
         "Shutdown",
         "Restart",
         "b",
         {"Shutdown:true", "Restart:true"}},
    };
    for (const Case& c : cases) {
        const QString service = QString::fromLatin1(c.service);
        const QString signature = QString::fromLatin1(c.signature);
        ASSERT_TRUE(g_session->startService(service, QString::fromLatin1(c.path),
                                            QString::fromLatin1(c.interface),
                                            {{QString::fromLatin1(c.shutDown), signature},
                                             {QString::fromLatin1(c.restart), signature}}))
            << qPrintable(g_session->error());
        g_logind->clearCalls();
        m_power.shutdownPC();
        m_power.restartPC();
        // Power off and reboot without saving skip the session on purpose.
        m_power.powerOffPC();
        m_power.rebootPC();
        EXPECT_EQ(callsOnceThereAre(2, [&] { return g_session->calls(service); }), c.calls)
            << c.service;
        EXPECT_EQ(callsOnceThereAre(4),
                  (QStringList{"CanPowerOff", "PowerOff:false", "CanReboot", "Reboot:false"}))
            << c.service;
        g_session->stopService(service);
    }
    // With none left, the session bus is passed over for logind.
    g_logind->clearCalls();
    m_power.shutdownPC();
    EXPECT_EQ(callsOnceThereAre(1), QStringList{QStringLiteral("PowerOff:true")});
    EXPECT_TRUE(m_messages.messages.empty());
}

TEST_F(LogindPower, ARefusedPrivilegeShowsItsMessageAndSendsNothing) {
    struct Case {
        const char* check;
        const char* answer;
        void (PowerControl::*action)(PowerControl::Failed);
        const char* message;
    } cases[] = {
        {"CanPowerOff", "challenge", &PowerControl::powerOffPC, "Power off PC error"},
        {"CanReboot", "no", &PowerControl::rebootPC, "Reboot PC error"},
    };
    for (const Case& c : cases) {
        g_logind->setAnswer(QString::fromLatin1(c.check), QString::fromLatin1(c.answer));
        g_logind->clearCalls();
        m_messages.messages.clear();
        (m_power.*c.action)({});
        ASSERT_EQ(m_messages.messages.size(), 1u) << c.check << " " << c.answer;
        EXPECT_EQ(m_messages.messages[0].text, QString::fromLatin1(c.message));
        EXPECT_EQ(m_messages.messages[0].title, QStringLiteral("Ovra Clock"));
        // The check was answered synchronously, so anything sent after it would be
        // in the log by the time the log itself answers.
        EXPECT_EQ(g_logind->calls(), QStringList{QString::fromLatin1(c.check)});
    }
}

TEST_F(LogindPower, ARefusedRequestComesBackWithTheSystemsReason) {
    struct Case {
        const char* method;
        const char* signature;
        void (PowerControl::*action)(PowerControl::Failed);
    } cases[] = {
        {"LockSession", "s", &PowerControl::lockPC},
        {"PowerOff", "b", &PowerControl::shutdownPC},
        {"Reboot", "b", &PowerControl::rebootPC},
    };
    for (const Case& c : cases) {
        const QString method = QString::fromLatin1(c.method);
        const QString signature = QString::fromLatin1(c.signature);
        ASSERT_TRUE(g_logind->refuse(method, signature, QStringLiteral("Access denied")));
        QStringList heard;
        (m_power.*c.action)([&](const QString& why) { heard << why; });
        callsOnceThereAre(1, [&] { return heard; });
        EXPECT_EQ(heard, QStringList{QStringLiteral("Access denied")}) << c.method;
        ASSERT_TRUE(g_logind->accept(method, signature));
    }
    // A service nobody provides (no logind, no session manager) does not answer.
    QObject context;
    QStringList unanswered;
    sendRequest(QDBusConnection::sessionBus(),
                QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.login1"),
                                               QStringLiteral("/org/freedesktop/login1"),
                                               QStringLiteral("org.freedesktop.login1.Manager"),
                                               QStringLiteral("PowerOff")),
                QStringLiteral("logind"), &context, [&](const QString& why) { unanswered << why; });
    callsOnceThereAre(1, [&] { return unanswered; });
    EXPECT_EQ(unanswered, QStringList{QStringLiteral("logind does not answer")});

    // Accepted, a request is not reported.
    QStringList heard;
    g_logind->clearCalls();
    m_power.lockPC([&](const QString& why) { heard << why; });
    callsOnceThereAre(1);
    QCoreApplication::processEvents();
    EXPECT_TRUE(heard.isEmpty()) << qPrintable(heard.join(u'|'));
    EXPECT_TRUE(m_messages.messages.empty());
}

TEST_F(LogindPower, LockWithoutASessionIdAsksForTheCallersSession) {
    qunsetenv("XDG_SESSION_ID");
    m_power.lockPC();
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
    // Both private buses are set up before the first connection to either.
    test::PrivateSessionBus session;
    test::PrivateLogind logind;
    session.confirm();
    g_session = &session;
    g_logind = &logind;
    const int result = RUN_ALL_TESTS();
    g_logind = nullptr;
    g_session = nullptr;
    return result;
}
