#include "time/clocktime.h"

#include "time/zonetable.h"

namespace ovra {

QDateTime clockTime(const QDateTime& nowUtc, const QTimeZone& systemZone,
                    const ClockTimeInput& in) {
    const QDateTime utc = nowUtc.toUTC();
    const qint64 wholeSeconds = utc.toSecsSinceEpoch();
    qint64 offsetSeconds;
    const bool named = !in.isDefaultClock && in.namedZone.isValid();
    if (in.isDefaultClock)
        offsetSeconds = systemZone.isValid() ? systemZone.offsetFromUtc(utc) : 0;
    else if (named)
        offsetSeconds = in.namedZone.standardTimeOffset(utc);
    else
        offsetSeconds = qint64(in.zoneOffsetMinutes) * 60;
    if (in.TimeStandard == timestandard::Automatic) {
        if (named)
            offsetSeconds = in.namedZone.offsetFromUtc(utc);
        else if (!in.isDefaultClock)
            if (const QTimeZone place = ianaZoneAt(in.TimeZoneIndex); place.isValid())
                offsetSeconds = place.offsetFromUtc(utc);
    } else if (in.TimeStandard != timestandard::Standard) {
        offsetSeconds += 3600;
    }
    return QDateTime::fromSecsSinceEpoch(wholeSeconds + offsetSeconds, Qt::UTC);
}

} // namespace ovra
