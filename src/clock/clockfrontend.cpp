#include "clock/clockfrontend.h"

#include "clock/windowsystem.h"
#include "shell/clockapp.h"

#include <QCoreApplication>

namespace ovra {

ClockFrontEnd::ClockFrontEnd(ClockApp& app, WindowSystem& windowSystem)
    : m_app(app), m_ws(windowSystem), m_window(app, windowSystem) {}

ClockFrontEnd::~ClockFrontEnd() = default;

void ClockFrontEnd::computeLayout() {
    m_app.screenMetrics() = m_ws.screenMetrics();
    m_app.layout() = CalcClockLayout(m_app.settings());
}

void ClockFrontEnd::checkMonitor() {
    m_app.monitors() = m_ws.monitors();
    CheckMonitor(m_app.monitors(), m_app.settings(), m_app.screenMetrics());
}

void ClockFrontEnd::loadClockWindow() {
    m_window.IniForm();
    m_window.FormLoad();
}

void ClockFrontEnd::processPendingEvents() {
    QCoreApplication::processEvents();
}

void ClockFrontEnd::showClockWindow() {
    m_window.show();
}

void ClockFrontEnd::closeWindows() {
    m_others.closeAll();
    m_window.close();
}

} // namespace ovra
