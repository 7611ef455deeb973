#include "time/timesource.h"

namespace ovra {

QTimeZone SystemTimeSource::systemZone() const {
    constexpr qint64 kRefreshMs = 60 * 1000;
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    if (!m_zone.isValid() || now - m_zoneCheckedMs >= kRefreshMs || now < m_zoneCheckedMs) {
        m_zone = QTimeZone::systemTimeZone();
        m_zoneCheckedMs = now;
    }
    return m_zone;
}

int32_t GetLocalBias(const TimeSource& time) {
    const QTimeZone zone = time.systemZone();
    if (!zone.isValid())
        return 0;
    return -zone.standardTimeOffset(time.nowUtc()) / 60;
}

} // namespace ovra
