#include "base/exitguard.h"

#include <cstdlib>
#include <memory>

namespace ovra {

namespace {

// The exit handler can reach no object: the live guard's action is the one piece
// of process-wide state, set and cleared by that guard alone.
std::function<void()>* g_onExit = nullptr;
bool g_handlerInstalled = false;

void runOnExit() {
    std::unique_ptr<std::function<void()>> action(g_onExit);
    g_onExit = nullptr; // once, even if the action itself ends the process
    if (action && *action)
        (*action)();
}

} // namespace

ExitGuard::ExitGuard(std::function<void()> onExit) {
    if (g_onExit)
        return;
    if (!g_handlerInstalled) {
        if (std::atexit(runOnExit) != 0)
            return;
        g_handlerInstalled = true;
    }
    g_onExit = new std::function<void()>(std::move(onExit));
    m_armed = true;
}

ExitGuard::~ExitGuard() {
    if (!m_armed)
        return;
    delete g_onExit;
    g_onExit = nullptr;
}

} // namespace ovra
