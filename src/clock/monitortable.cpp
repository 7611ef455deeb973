#include "clock/monitortable.h"

#include <cmath>

namespace ovra {

namespace {
// The grip cell spans window rows 63 to 84: with the window's top this far above
// the screen its lowest rows are still on screen.
constexpr int kHighestGripOffset = 63;
} // namespace

ScreenMetrics ScreenMetrics::fromDpi(double dpiX, double dpiY, int widthPx, int heightPx) {
    ScreenMetrics m;
    if (dpiX > 0)
        m.tx = 1440.0 / dpiX;
    if (dpiY > 0)
        m.ty = 1440.0 / dpiY;
    m.width = widthPx;
    m.height = heightPx;
    return m;
}

void MonitorTable::add(const MonitorRecord& record) {
    if (monitorCount() < kMaxMonitors)
        m_records.push_back(record);
}

void checkMonitor(const MonitorTable& table, ClockSettings& s, const ScreenMetrics& m) {
    // No monitor at all (a display being reconfigured) leaves the position alone:
    // there is no first monitor to fall back to.
    if (table.monitorCount() == 0)
        return;
    // A negative index names no monitor either; it can only come from a damaged store.
    if (s.MonitorID >= 0 && s.MonitorID < table.monitorCount())
        return;
    const WinRect& work = table.at(0).work;
    s.Left = int32_t(std::lround(work.left * m.tx));
    s.Top = int32_t(std::lround(work.top * m.ty));
    s.MonitorID = 0;
}

void getMonitorID(const MonitorTable& table, QPoint p, ClockSettings& s) {
    for (int i = 0; i < table.monitorCount(); ++i) {
        const WinRect& r = table.at(i).monitor;
        if (r.left <= p.x() && p.x() <= r.right && r.top <= p.y() && p.y() <= r.bottom) {
            s.MonitorID = i;
            return;
        }
    }
}

WinRect workAreaFor(const MonitorTable& table, const ClockSettings& s, const WinRect& primaryWork) {
    if (table.contains(s.MonitorID) && table.at(s.MonitorID).flags != kMonitorPrimary)
        return table.at(s.MonitorID).work;
    return primaryWork;
}

QPoint keepOnWorkArea(const MonitorTable& table, const WinRect& primaryWork, QPoint posPx,
                      int windowSizePx, const ScreenMetrics& m, ClockSettings& s) {
    const WinRect wa = workAreaFor(table, s, primaryWork);
    const int T = windowSizePx;
    double left = posPx.x() * m.tx;
    double top = posPx.y() * m.ty;
    if (left < wa.left * m.tx)
        left = wa.left * m.tx;
    if (left > (wa.right - T) * m.tx)
        left = (wa.right - T) * m.tx;
    if (top > (wa.bottom - T) * m.ty)
        top = (wa.bottom - T) * m.ty;
    if (wa.top != 0 && top < wa.top * m.ty)
        top = wa.top * m.ty;
    // Above a work area that starts at the screen's top the window may rise past
    // the edge, but not so far that its move grip leaves the screen: a clock
    // stored higher up could never be dragged back.
    if (wa.top == 0 && top < (wa.top - kHighestGripOffset) * m.ty)
        top = (wa.top - kHighestGripOffset) * m.ty;
    const QPoint result(int(std::lround(left / m.tx)), int(std::lround(top / m.ty)));
    s.Left = int32_t(std::lround(result.x() * m.tx));
    s.Top = int32_t(std::lround(result.y() * m.ty));
    return result;
}

QPoint windowPosFromSettings(const ClockSettings& s, const ScreenMetrics& m) {
    return QPoint(int(std::lround(s.Left / m.tx)), int(std::lround(s.Top / m.ty)));
}

} // namespace ovra
