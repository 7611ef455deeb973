#pragma once

#include <QByteArray>

namespace ovra {

// What a D-Bus bus at an address did when a connection was tried.
enum class BusAnswer {
    Answers, // it took the connection and answered the first words of the handshake
    Silent,  // it took the connection, or kept it waiting, and said nothing in time
    Absent,  // nothing listens there (or "disabled:"): a connection fails at once
    Unknown, // an address of a kind this cannot try (tcp:, launchd:, autolaunch:)
};

// Tries each address of a D-Bus address list ("unix:path=/run/user/1000/bus",
// "unix:abstract=...", several separated by ";") the way libdbus would, and says
// whether the bus answers within timeoutMs in all. Only the handshake's first line
// is exchanged: a bus that hangs there hangs every connection to it, which libdbus
// would wait on for 25 seconds or more with the caller's thread.
BusAnswer probeBus(const QByteArray& address, int timeoutMs);

// The addresses libdbus takes for the session and the system bus.
QByteArray sessionBusAddress();
QByteArray systemBusAddress();

} // namespace ovra
