#include "time/timesource.h"

namespace ovra {

int32_t GetLocalBias(const TimeSource& time) {
    const QTimeZone zone = time.systemZone();
    if (!zone.isValid())
        return 0;
    return -zone.standardTimeOffset(time.nowUtc()) / 60;
}

} // namespace ovra
