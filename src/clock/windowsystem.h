#pragma once

#include "clock/monitortable.h"

#include <QPoint>
#include <QRegion>

class QWidget;

namespace ovra {

// What the clock window asks of the desktop beyond Qt's own window calls: the
// pointer, the input shape, the window manager's move, and the monitors. One real
// implementation for the platform; tests give their own.
class WindowSystem {
public:
    virtual ~WindowSystem() = default;

    virtual QPoint pointerPos() const = 0;       // screen pixels
    virtual bool pointerButtonsDown() const = 0; // any mouse button held
    // Only inside region (window pixels) does the window take the pointer; elsewhere
    // clicks reach what lies below.
    virtual void setInputShape(QWidget* window, const QRegion& region) = 0;
    // Keeps a window that is not mapped yet out of the taskbar and the pager: the
    // clock belongs to the desktop, not to the list of open windows.
    virtual void keepOffTaskbar(QWidget* window) = 0;
    // Hands the window to the window manager's interactive move; false when the
    // window manager does not offer one.
    virtual bool startSystemMove(QWidget* window) = 0;

    virtual MonitorTable monitors() const = 0;
    virtual WinRect primaryWorkArea() const = 0;
    virtual ScreenMetrics screenMetrics() const = 0;
};

// The running desktop: X11 where the application runs on xcb, Qt's portable calls
// elsewhere.
class DesktopWindowSystem final : public WindowSystem {
public:
    QPoint pointerPos() const override;
    bool pointerButtonsDown() const override;
    void setInputShape(QWidget* window, const QRegion& region) override;
    void keepOffTaskbar(QWidget* window) override;
    bool startSystemMove(QWidget* window) override;
    MonitorTable monitors() const override;
    WinRect primaryWorkArea() const override;
    ScreenMetrics screenMetrics() const override;
};

} // namespace ovra
