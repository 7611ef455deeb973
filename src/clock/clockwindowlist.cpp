#include "clock/clockwindowlist.h"

namespace ovra {

void ClockWindowList::add(QWidget* window, Role role) {
    if (!window)
        return;
    m_entries.removeIf([](const Entry& e) { return e.window.isNull(); });
    for (const Entry& e : m_entries)
        if (e.window == window)
            return;
    m_entries.append({window, role});
}

QList<QWidget*> ClockWindowList::windows(Role role) const {
    QList<QWidget*> out;
    for (const Entry& e : m_entries)
        if (e.role == role && e.window)
            out.append(e.window);
    return out;
}

void ClockWindowList::closeAll() {
    for (const Role role : {Role::Notice, Role::About, Role::Settings}) {
        // Closing may delete a window or open another; work from a snapshot and
        // re-check each pointer.
        const QList<Entry> snapshot = m_entries;
        for (const Entry& e : snapshot)
            if (e.role == role && e.window)
                e.window->close();
    }
    m_entries.removeIf([](const Entry& e) { return e.window.isNull() || !e.window->isVisible(); });
}

} // namespace ovra
