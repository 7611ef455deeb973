#pragma once

#include "settings/clocksettings.h"

#include <QPoint>
#include <QRect>

#include <cstdint>
#include <vector>

namespace ovra {

// A rectangle as the monitor queries report it: right and bottom are exclusive.
struct WinRect {
    int left = 0, top = 0, right = 0, bottom = 0;

    static WinRect fromQRect(const QRect& r) {
        return {r.x(), r.y(), r.x() + r.width(), r.y() + r.height()};
    }
    friend bool operator==(const WinRect&, const WinRect&) = default;
};

inline constexpr uint32_t kMonitorPrimary = 1;

struct MonitorRecord {
    WinRect monitor;
    WinRect work;
    uint32_t flags = 0; // kMonitorPrimary marks the primary monitor
};

// Twips per pixel and the screen size, read once at start-up. A twip is 1/1440 inch;
// stored window positions stay in twips so existing stores keep their meaning.
struct ScreenMetrics {
    double tx = 15;
    double ty = 15;
    int width = 0;  // pixels
    int height = 0; // pixels

    static ScreenMetrics fromDpi(double dpiX, double dpiY, int widthPx, int heightPx);
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
void checkMonitor(const MonitorTable& table, ClockSettings& s, const ScreenMetrics& m);

// After a move: the first monitor whose rectangle holds the pointer, edges
// included. MonitorID stays when no monitor holds it.
void getMonitorID(const MonitorTable& table, QPoint pointerPx, ClockSettings& s);

// The work area that must hold the window: that of the clock's monitor when it is
// a listed secondary one, else the primary's as the system reports it.
WinRect workAreaFor(const MonitorTable& table, const ClockSettings& s, const WinRect& primaryWork);

// Clamps a window of size windowSizePx at windowPosPx into its work area, stores
// the final position in twips in Left and Top and returns it in pixels. On a work
// area whose top is 0 the window may stand above the screen's top edge, as far as
// its move grip stays reachable.
QPoint keepOnWorkArea(const MonitorTable& table, const WinRect& primaryWork, QPoint windowPosPx,
                      int windowSizePx, const ScreenMetrics& m, ClockSettings& s);

// Pixel position of a window from the stored twips.
QPoint windowPosFromSettings(const ClockSettings& s, const ScreenMetrics& m);

} // namespace ovra
