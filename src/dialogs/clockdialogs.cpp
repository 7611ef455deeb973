#include "dialogs/clockdialogs.h"
#include "clock/frameextents.h"

#include "base/windowplacement.h"
#include "clock/clockwindowlist.h"
#include "dialogs/aboutdialog.h"
#include "dialogs/settingsdialog.h"

#include <QScreen>

#include <QThread>

namespace ovra {

ClockDialogs::ClockDialogs(ConfigServices services, LinkOpener& links, ClockWindowList& windows,
                           QWidget* clockWindow)
    : m_services(std::move(services)), m_links(links), m_windows(windows),
      m_clockWindow(clockWindow) {
    m_services.showAbout = [this] {
        openAbout();
    };
    if (!m_services.wait)
        m_services.wait = [](int ms) {
            QThread::msleep(ulong(ms));
        };
}

ClockDialogs::~ClockDialogs() {
    // Windows still open when the process ends would outlive what they work on.
    delete m_config.data();
    delete m_about.data();
}

SettingsDialog* ClockDialogs::settingsDialog() const {
    return m_config.data();
}

AboutDialog* ClockDialogs::aboutBox() const {
    return m_about.data();
}

void ClockDialogs::openSettings(bool owned) {
    if (m_config) {
        bringForward(m_config);
        return;
    }
    auto* dialog = new SettingsDialog(m_services, owned ? m_clockWindow.data() : nullptr);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    m_config = dialog;
    m_windows.add(dialog, ClockWindowList::Role::Settings);
    placeBesideClock(dialog);
    dialog->show();
}

void ClockDialogs::openAbout() {
    if (m_about) {
        bringForward(m_about);
        return;
    }
    auto* about = new AboutDialog(m_links);
    about->setWindowTitle(
        captionForClock(about->windowTitle(), m_services.clock.state().clockName));
    about->setAttribute(Qt::WA_DeleteOnClose);
    m_about = about;
    m_windows.add(about, ClockWindowList::Role::About);
    placeBesideClock(about);
    about->show();
}

void ClockDialogs::placeBesideClock(QWidget* window) {
    const QPointer<QWidget> clock = m_clockWindow;
    if (!clock)
        return;
    // Beside the clock rather than over it or in a corner of the screen, on the
    // clock's own monitor.
    const QPointer<QWidget> self = window;
    placeByFrame(
        window,
        [clock, self](const QSize& frame) {
            if (!clock || !self)
                return self ? self->pos() : QPoint();
            const QScreen* screen = clock->screen();
            const QRect work = screen ? screen->availableGeometry() : QRect();
            return besideAnchor(clock->frameGeometry(), frame, work);
        },
        [self] { return self ? frameExtents(self) : QMargins(); });
}

void ClockDialogs::bringForward(QWidget* window) {
    window->showNormal();
    window->raise();
    window->activateWindow();
}

} // namespace ovra
