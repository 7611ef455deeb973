#pragma once

#include <QByteArray>

namespace ovra::instanceprotocol {

// One request per line, one answer per line, plain ASCII. The kernel tells each
// side who the other is, so the requests carry nothing else.
inline const QByteArray Ping = QByteArrayLiteral("ping");
inline const QByteArray Raise = QByteArrayLiteral("raise");
inline const QByteArray Close = QByteArrayLiteral("close");
// Open the settings dialog and give it the keyboard. A clock of an earlier version
// does not know it and answers Error.
inline const QByteArray Settings = QByteArrayLiteral("settings");

inline const QByteArray Ok = QByteArrayLiteral("ok");
// Sent only after the clock's shutdown has finished, so its settings are stored.
inline const QByteArray Closed = QByteArrayLiteral("closed");
inline const QByteArray Error = QByteArrayLiteral("error");
// The clock knows the request but cannot carry it out yet (it is still starting).
inline const QByteArray Busy = QByteArrayLiteral("busy");

// A request is a short word: anything longer is not a clock talking.
inline constexpr int MaxLineBytes = 64;

// How many callers may wait for a clock that is busy before they are told it does
// not answer.
inline constexpr int ListenBacklog = 32;

// A caller that has said nothing for this long is cut off: connections that never
// speak would otherwise use up the clock's descriptors.
inline constexpr int IdleTimeoutMs = 5000;
// At most this many connections are held at once; a new caller takes the place of
// the one that has waited longest.
inline constexpr int MaxConnections = 64;

// How long a peer may take to connect and to answer a raise or ping.
inline constexpr int ConnectTimeoutMs = 1000;
inline constexpr int ReplyTimeoutMs = 1000;
// The settings dialog is built on its first opening, which takes longer than a raise
// on a busy computer.
inline constexpr int SettingsReplyTimeoutMs = 5000;

} // namespace ovra::instanceprotocol
