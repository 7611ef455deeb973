#pragma once

#include "clock/monitortable.h"
#include "settings/settingsstore.h"

#include <QByteArray>
#include <QPoint>
#include <QRegion>

class QWidget;

namespace ovra {

// What the clock window asks of the desktop beyond Qt's own window calls: the
// pointer, the input shape, the window manager's moves, activation on the user's
// behalf, and the monitors. One real implementation for the platform; tests give
// their own.
class WindowSystem {
public:
    virtual ~WindowSystem() = default;

    virtual QPoint pointerPos() const = 0;       // screen pixels
    virtual bool pointerButtonsDown() const = 0; // any mouse button held
    // The window exists only inside region (window pixels): it is drawn and takes
    // the pointer there, and clicks elsewhere reach what lies below. The region
    // must hold every pixel that is not fully transparent.
    virtual void setWindowShape(QWidget* window, const QRegion& region) = 0;
    // Keeps the window out of the taskbar and the pager, mapped or not: the clock
    // belongs to the desktop, not to the list of open windows.
    virtual void keepOffTaskbar(QWidget* window) = 0;
    // Hands the window to the window manager's interactive move; false when the
    // window manager does not offer one.
    virtual bool startSystemMove(QWidget* window) = 0;
    // Hands the window to the window manager's move by the arrow keys, which Return
    // or Escape ends; false when the window manager does not offer one.
    virtual bool startKeyboardMove(QWidget* window) = 0;
    // Whether the running window manager offers a move by the keyboard.
    virtual bool offersKeyboardMove() const = 0;
    // Whether another program holds the keyboard: a window manager does for as long
    // as its move by the keyboard runs.
    virtual bool keyboardHeldElsewhere() const = 0;
    // Brings the window to the front with the keyboard on the user's behalf. The
    // user asked elsewhere (a terminal, a launcher), so the window manager must not
    // take it for a program pushing itself forward and keep it back.
    virtual void activateForUser(QWidget* window) = 0;
    // Where the window's top-left corner stands now, as the display server has it:
    // right after a window manager's move the toolkit may not have heard yet.
    virtual QPoint windowPosition(QWidget* window) const = 0;

    virtual MonitorTable monitors() const = 0;
    virtual QRect primaryWorkArea() const = 0;
    virtual ScreenDensity screenDensity() const = 0;
};

// The running desktop: X11 where the application runs on xcb, Qt's portable calls
// elsewhere.
class DesktopWindowSystem final : public WindowSystem {
public:
    DesktopWindowSystem();
    QPoint pointerPos() const override;
    bool pointerButtonsDown() const override;
    void setWindowShape(QWidget* window, const QRegion& region) override;
    void keepOffTaskbar(QWidget* window) override;
    bool startSystemMove(QWidget* window) override;
    bool startKeyboardMove(QWidget* window) override;
    bool offersKeyboardMove() const override;
    bool keyboardHeldElsewhere() const override;
    void activateForUser(QWidget* window) override;
    QPoint windowPosition(QWidget* window) const override;
    MonitorTable monitors() const override;
    QRect primaryWorkArea() const override;
    ScreenDensity screenDensity() const override;
};

// The accessibility bus the desktop names on the X root window (AT_SPI_BUS), which
// Qt connects to at the first window shown whether or not a screen reader runs;
// empty when there is none or the display is not an X server.
QByteArray desktopAccessibilityBus();

} // namespace ovra
