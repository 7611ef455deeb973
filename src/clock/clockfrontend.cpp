#include "clock/clockfrontend.h"

#include "clock/windowsystem.h"

#include <QCoreApplication>

namespace ovra {

ClockFrontEnd::ClockFrontEnd(ClockWindowContext& app, WindowSystem& windowSystem)
    : m_app(app), m_ws(windowSystem), m_window(app, windowSystem) {}

ClockFrontEnd::~ClockFrontEnd() = default;

void ClockFrontEnd::computeLayout() {
    // Stored positions are twips converted with the start-up density: a re-apply
    // after a DPI change must not move the clock by reading a new one.
    if (!m_metricsRead) {
        m_app.screenMetrics() = m_ws.screenMetrics();
        m_metricsRead = true;
    }
    m_app.layout() = calcClockLayout(m_app.settings());
}

void ClockFrontEnd::checkMonitor() {
    m_app.monitors() = m_ws.monitors();
    checkMonitor(m_app.monitors(), m_app.settings(), m_app.screenMetrics());
}

void ClockFrontEnd::loadClockWindow() {
    m_window.fitToLayout();
    m_window.loadWindow();
}

void ClockFrontEnd::processPendingEvents() {
    QCoreApplication::processEvents();
}

void ClockFrontEnd::showClockWindow() {
    m_window.show();
    // After a re-apply the new surface is still empty: fill it before the window
    // is next painted rather than flash a blank window until the next tick.
    m_window.drawClock();
}

void ClockFrontEnd::closeWindows() {
    m_others.closeAll();
    m_window.close();
}

} // namespace ovra
