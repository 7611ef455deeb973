#include "clock/monitors.h"

#include <QGuiApplication>
#include <QScreen>

namespace ovra {

MonitorTable Monitors::enumerate() {
    MonitorTable table;
    const QScreen* primary = QGuiApplication::primaryScreen();
    for (const QScreen* screen : QGuiApplication::screens()) {
        MonitorRecord r;
        r.monitor = screen->geometry();
        r.work = screen->availableGeometry();
        r.flags = screen == primary ? kMonitorPrimary : 0;
        table.add(r);
    }
    return table;
}

QRect Monitors::primaryWorkArea() {
    const QScreen* primary = QGuiApplication::primaryScreen();
    return primary ? primary->availableGeometry() : QRect(0, 0, 0, 0);
}

ScreenDensity Monitors::density() {
    const QScreen* primary = QGuiApplication::primaryScreen();
    if (!primary)
        return {};
    return {primary->logicalDotsPerInchX(), primary->logicalDotsPerInchY()};
}

QScreen* Monitors::screenFor(int monitorId) {
    const QList<QScreen*> screens = QGuiApplication::screens();
    if (monitorId >= 0 && monitorId < screens.size())
        return screens.at(monitorId);
    return QGuiApplication::primaryScreen();
}

} // namespace ovra
