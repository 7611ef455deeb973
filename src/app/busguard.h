#pragma once

#include <QString>

#include <functional>

namespace ovra {

// How long a bus may take to answer the first words of a connection, and a call
// that the clock needs at start-up. A working bus answers in a millisecond.
inline constexpr int kBusAnswerTimeoutMs = 1000;

// Qt and libdbus connect to a bus on the window's thread and wait for it without a
// bound worth the name: a bus that takes connections and never answers would hang
// the clock at start-up (the system bus, for the resume watch) or at its first show
// (the session bus and the accessibility bus, which Qt's screen-reader bridge
// reaches whether or not a screen reader runs). Each bus is tried first with a
// short bound, and one that does not answer is kept from this process: its
// feature (resume detection, power actions, screen readers) is lost with a line
// through report, and the clock runs. Runs once the display is open, before any
// window shows.
void guardBuses(const std::function<void(const QString&)>& report);

} // namespace ovra
