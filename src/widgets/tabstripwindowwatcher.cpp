#include "widgets/tabstripwindowwatcher.h"

#include <QEvent>

namespace ovra {

TabStripWindowWatcher::TabStripWindowWatcher(QObject* parent) : QObject(parent) {
    m_settle.setSingleShot(true);
    m_settle.setInterval(kSettleMs);
    connect(&m_settle, &QTimer::timeout, this, &TabStripWindowWatcher::finish);
}

void TabStripWindowWatcher::watch(QWidget* window) {
    if (window == m_window)
        return;
    if (m_window)
        m_window->removeEventFilter(this);
    m_settle.stop();
    m_active = false;
    m_window = window;
    if (m_window)
        m_window->installEventFilter(this);
}

bool TabStripWindowWatcher::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_window && m_window->isVisible() &&
        (event->type() == QEvent::Move || event->type() == QEvent::Resize)) {
        m_lastWasMove = event->type() == QEvent::Move;
        m_active = true;
        m_settle.start();
        emit status(m_lastWasMove ? QStringLiteral("Form is moving...")
                                  : QStringLiteral("Form is sizing..."));
    }
    return false;
}

void TabStripWindowWatcher::finish() {
    if (!m_active)
        return;
    m_active = false;
    emit status(QStringLiteral("Finished ") +
                (m_lastWasMove ? QStringLiteral("Moving.") : QStringLiteral("Sizing.")));
}

} // namespace ovra
