#pragma once

#include "clock/clockwindow.h"
#include "clock/clockwindowhost.h"
#include "clock/clockwindowlist.h"

namespace ovra {

class WindowSystem;

// The clock window as the start-up, re-apply and shutdown sequences drive it: it
// owns ClockWindow and the list of the process's other windows that close with it.
class ClockFrontEnd final : public ClockWindowHost {
public:
    ClockFrontEnd(ClockWindowContext& app, WindowSystem& windowSystem);
    ~ClockFrontEnd() override;

    ClockWindow& window() { return m_window; }
    // The notice, about box and settings dialog register here when they open.
    ClockWindowList& otherWindows() { return m_others; }

    void computeLayout() override;
    void checkMonitor() override;
    void loadClockWindow() override;
    void createDrawTools() override { m_window.createDrawTools(); }
    void deleteDrawTools() override { m_window.deleteDrawTools(); }
    void loadButtonImage() override { m_window.loadButtonImage(); }
    void releaseImages() override { m_window.releaseImages(); }
    void deleteSurface() override { m_window.deleteSurface(); }
    void fitToLayout() override { m_window.fitToLayout(); }
    void processPendingEvents() override;
    void showClockWindow() override;
    void applyZOrder() override { m_window.applyZOrder(); }
    void closeWindows() override;

private:
    ClockWindowContext& m_app;
    WindowSystem& m_ws;
    ClockWindow m_window;
    ClockWindowList m_others;
    bool m_metricsRead = false;
};

} // namespace ovra
