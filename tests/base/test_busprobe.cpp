// A bus is tried with a bound before the clock lets a library wait on it.
#include "base/busprobe.h"
#include "support/fakesocket.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

#include <unistd.h>

using namespace ovra;

TEST(BusProbe, TellsABusThatAnswersFromOneThatKeepsSilent) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QByteArray folder = QFile::encodeName(dir.path());
    const QByteArray abstract = "ovra-probe-" + QByteArray::number(::getpid());
    const struct {
        const char* what;
        QByteArray listenAt; // empty: nothing listens
        QByteArray greeting; // empty: never a word
        QByteArray address;
        BusAnswer expected;
    } cases[] = {
        {"a bus that takes the handshake", folder + "/ok", "OK 0123456789abcdef\r\n",
         "unix:path=" + folder + "/ok", BusAnswer::Answers},
        {"a bus that refuses the mechanism", folder + "/rejected", "REJECTED DBUS_COOKIE_SHA1\r\n",
         "unix:path=" + folder + "/rejected,guid=0", BusAnswer::Answers},
        {"an abstract bus", "@" + abstract, "OK 1\r\n", "unix:abstract=" + abstract,
         BusAnswer::Answers},
        {"a bus that never answers", folder + "/silent", "", "unix:path=" + folder + "/silent",
         BusAnswer::Silent},
        {"the silent one after a missing one", folder + "/silent2", "",
         "unix:path=" + folder + "/none;unix:path=" + folder + "/silent2", BusAnswer::Silent},
        {"an escaped path", folder + "/with space", "OK 1\r\n",
         "unix:path=" + folder + "/with%20space", BusAnswer::Answers},
        {"nothing there", "", "", "unix:path=" + folder + "/none", BusAnswer::Absent},
        {"a bus turned off", "", "", "disabled:", BusAnswer::Absent},
        {"a kind that cannot be tried", "", "", "tcp:host=localhost,port=1", BusAnswer::Unknown},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::unique_ptr<test::FakeSocketServer> bus;
        if (!c.listenAt.isEmpty()) {
            bus = std::make_unique<test::FakeSocketServer>(
                c.listenAt,
                c.greeting.isEmpty() ? test::FakeSocketServer::Manner::Silent
                                     : test::FakeSocketServer::Manner::Greeting,
                c.greeting);
            ASSERT_TRUE(bus->ok());
        }
        EXPECT_EQ(probeBus(c.address, 300), c.expected);
    }
}
