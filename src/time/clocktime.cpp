#include "time/clocktime.h"

#include "time/zonetable.h"

namespace ovra {

QDateTime ClockTime(const QDateTime& nowUtc, const QTimeZone& systemZone,
                    const ClockTimeInput& in) {
    const QDateTime utc = nowUtc.toUTC();
    const qint64 wholeSeconds = utc.toSecsSinceEpoch();
    qint64 offsetSeconds;
    if (in.isDefaultClock)
        offsetSeconds = systemZone.isValid() ? systemZone.offsetFromUtc(utc) : 0;
    else
        offsetSeconds = qint64(in.ZoneOffsetMinutes) * 60;
    if (in.TimeStandard == timestandard::Automatic) {
        if (!in.isDefaultClock)
            if (const QTimeZone place = ianaZoneAt(in.TimeZoneIndex); place.isValid())
                offsetSeconds = place.offsetFromUtc(utc);
    } else if (in.TimeStandard != timestandard::Standard) {
        offsetSeconds += 3600;
    }
    return QDateTime::fromSecsSinceEpoch(wholeSeconds + offsetSeconds, Qt::UTC);
}

} // namespace ovra
