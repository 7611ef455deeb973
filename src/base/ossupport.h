#pragma once

namespace ovra {

// With no session bus named, the D-Bus libraries start one of their own
// ("autolaunch") the first time anything asks for it, and that bus outlives the
// clock. When no bus is named and the session has none at its usual place, the
// session bus is marked as disabled instead; asking for it then simply fails.
void preventSessionBusAutolaunch();

// Whether this process can start a thread now; under a process or memory limit it
// cannot. Qt waits without a bound for threads it has asked for (the thread pool,
// the D-Bus connection), so whoever needs one asks this first.
bool threadsCanStart();

} // namespace ovra
