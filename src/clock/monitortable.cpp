#include "clock/monitortable.h"

namespace ovra {

namespace {
// The grip cell spans window rows 63 to 84: with the window's top this far above
// the screen its lowest rows are still on screen.
constexpr int kHighestGripOffset = 63;

// The first column and row past a rectangle; a monitor's edge there still counts
// as on it.
int endX(const QRect& r) {
    return r.x() + r.width();
}
int endY(const QRect& r) {
    return r.y() + r.height();
}
} // namespace

void MonitorTable::add(const MonitorRecord& record) {
    if (monitorCount() < kMaxMonitors)
        m_records.push_back(record);
}

void checkMonitor(const MonitorTable& table, ClockSettings& s) {
    // No monitor at all (a display being reconfigured) leaves the position alone:
    // there is no first monitor to fall back to.
    if (table.monitorCount() == 0)
        return;
    // A negative index names no monitor either; it can only come from a damaged store.
    if (table.contains(s.monitor))
        return;
    s.position = table.at(0).work.topLeft();
    s.monitor = 0;
}

void getMonitorID(const MonitorTable& table, QPoint p, ClockSettings& s) {
    for (int i = 0; i < table.monitorCount(); ++i) {
        const QRect& r = table.at(i).monitor;
        if (r.x() <= p.x() && p.x() <= endX(r) && r.y() <= p.y() && p.y() <= endY(r)) {
            s.monitor = i;
            return;
        }
    }
}

QRect workAreaFor(const MonitorTable& table, const ClockSettings& s, const QRect& primaryWork) {
    if (table.contains(s.monitor) && table.at(s.monitor).flags != kMonitorPrimary)
        return table.at(s.monitor).work;
    return primaryWork;
}

QPoint keepOnWorkArea(const MonitorTable& table, const QRect& primaryWork, QPoint posPx,
                      int windowSizePx, ClockSettings& s) {
    const QRect wa = workAreaFor(table, s, primaryWork);
    const int side = windowSizePx;
    int left = posPx.x();
    int top = posPx.y();
    if (left < wa.x())
        left = wa.x();
    if (left > endX(wa) - side)
        left = endX(wa) - side;
    if (top > endY(wa) - side)
        top = endY(wa) - side;
    if (wa.y() != 0 && top < wa.y())
        top = wa.y();
    // Above a work area that starts at the screen's top the window may rise past
    // the edge, but not so far that its move grip leaves the screen: a clock
    // stored higher up could never be dragged back.
    if (wa.y() == 0 && top < wa.y() - kHighestGripOffset)
        top = wa.y() - kHighestGripOffset;
    s.position = QPoint(left, top);
    return s.position;
}

} // namespace ovra
