#pragma once

#include <QList>
#include <QPointer>
#include <QWidget>

namespace ovra {

// The process's other windows, closed before the clock window when the clock shuts
// down: the alarm notice first, then the about box, then the settings dialog.
// Windows register themselves when they open; a window already gone is skipped.
class ClockWindowList {
public:
    enum class Role { Notice = 0, About = 1, Settings = 2 };

    void add(QWidget* window, Role role);
    // Closes every registered window in role order (in opening order within a role).
    void closeAll();
    // The open windows of a role, oldest first.
    QList<QWidget*> windows(Role role) const;

private:
    struct Entry {
        QPointer<QWidget> window;
        Role role;
    };
    QList<Entry> m_entries;
};

} // namespace ovra
