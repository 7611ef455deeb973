#pragma once

#include "settings/clocksettings.h"

#include <QPoint>
#include <QRect>

#include <cstdint>
#include <vector>

namespace ovra {

inline constexpr uint32_t kMonitorPrimary = 1;

struct MonitorRecord {
    QRect monitor;      // screen pixels
    QRect work;         // the part left free of panels
    uint32_t flags = 0; // kMonitorPrimary marks the primary monitor
};

// The monitors present at start-up, in the order the system lists them.
class MonitorTable {
public:
    static constexpr int kMaxMonitors = 128;

    void clear() { m_records.clear(); }
    // Records beyond the 128th are dropped.
    void add(const MonitorRecord& record);
    int monitorCount() const { return int(m_records.size()); }
    const MonitorRecord& at(int index) const { return m_records.at(size_t(index)); }
    bool contains(int index) const { return index >= 0 && index < monitorCount(); }

private:
    std::vector<MonitorRecord> m_records;
};

// Start-up: a stored monitor that is gone sends the clock to the top left corner
// of the first monitor's work area.
void checkMonitor(const MonitorTable& table, ClockSettings& s);

// After a move: the first monitor whose rectangle holds the pointer, edges
// included. The monitor stays when no monitor holds it.
void getMonitorID(const MonitorTable& table, QPoint pointerPx, ClockSettings& s);

// The work area that must hold the window: that of the clock's monitor when it is
// a listed secondary one, else the primary's as the system reports it.
QRect workAreaFor(const MonitorTable& table, const ClockSettings& s, const QRect& primaryWork);

// Clamps a window of size windowSizePx at windowPosPx into its work area, keeps
// the final position in the settings and returns it. On a work area whose top is 0
// the window may stand above the screen's top edge, as far as its move grip stays
// reachable.
QPoint keepOnWorkArea(const MonitorTable& table, const QRect& primaryWork, QPoint windowPosPx,
                      int windowSizePx, ClockSettings& s);

} // namespace ovra
