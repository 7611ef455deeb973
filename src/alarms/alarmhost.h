#pragma once

namespace ovra {

// The alarm side of start-up: the alarm file and the notice.
class AlarmHost {
public:
    virtual ~AlarmHost() = default;
    virtual void loadAlarmFile() = 0;
    virtual void resetNotice() = 0; // no alarm is being notified
    // Closes the notice window; the shutdown runs it right before closeWindows(),
    // so the notice goes first.
    virtual void closeNotice() {}
};

} // namespace ovra
