#pragma once

#include <QByteArray>

#include <thread>

namespace ovra::test {

// A Unix socket that stands in for a server the clock talks to (a bus, a sound
// server) and misbehaves in one way. A path beginning with "@" is an abstract one.
class FakeSocketServer {
public:
    enum class Manner {
        Silent,   // takes connections into its queue and never reads or answers
        Refusing, // takes each connection and closes it at once
        Greeting, // answers the first thing a caller says with `greeting`, then hangs up
    };

    FakeSocketServer(const QByteArray& path, Manner manner, QByteArray greeting = {});
    ~FakeSocketServer();
    FakeSocketServer(const FakeSocketServer&) = delete;
    FakeSocketServer& operator=(const FakeSocketServer&) = delete;

    bool ok() const { return m_fd >= 0; }

private:
    int m_fd = -1;
    std::thread m_server;
};

} // namespace ovra::test
