#pragma once

#include <functional>

namespace ovra {

// Runs `onExit` if the process ends through exit() while the guard lives. Qt's X11
// connection ends the process that way, from deep inside the event loop, when the
// display goes away: no event, no signal and no return from exec() comes first. The
// exit handlers run on the same thread while every object of the running clock is
// still alive, so `onExit` may use them, but no window: the display is gone.
// One guard at a time; a second one does nothing.
class ExitGuard {
public:
    explicit ExitGuard(std::function<void()> onExit);
    ~ExitGuard();
    ExitGuard(const ExitGuard&) = delete;
    ExitGuard& operator=(const ExitGuard&) = delete;

private:
    bool m_armed = false;
};

} // namespace ovra
