#include "clock/monitors.h"

#include <QGuiApplication>
#include <QScreen>

namespace ovra {

MonitorTable Monitors::enumerate() {
    MonitorTable table;
    const QScreen* primary = QGuiApplication::primaryScreen();
    for (const QScreen* screen : QGuiApplication::screens()) {
        MonitorRecord r;
        r.monitor = WinRect::fromQRect(screen->geometry());
        r.work = WinRect::fromQRect(screen->availableGeometry());
        r.flags = screen == primary ? kMonitorPrimary : 0;
        table.add(r);
    }
    return table;
}

WinRect Monitors::primaryWorkArea() {
    const QScreen* primary = QGuiApplication::primaryScreen();
    return primary ? WinRect::fromQRect(primary->availableGeometry()) : WinRect{};
}

ScreenMetrics Monitors::metrics() {
    const QScreen* primary = QGuiApplication::primaryScreen();
    if (!primary)
        return {};
    const QSize size = primary->geometry().size();
    return ScreenMetrics::fromDpi(primary->logicalDotsPerInchX(), primary->logicalDotsPerInchY(),
                                  size.width(), size.height());
}

QScreen* Monitors::screenFor(int monitorId) {
    const QList<QScreen*> screens = QGuiApplication::screens();
    if (monitorId >= 0 && monitorId < screens.size())
        return screens.at(monitorId);
    return QGuiApplication::primaryScreen();
}

} // namespace ovra
