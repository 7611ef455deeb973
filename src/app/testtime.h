#pragma once

#include "time/timesource.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

namespace ovra {

// For tests only. OVRA_TEST_TIME="2026-01-14T09:59:00 x20" starts the time this
// clock process shows and rings its alarms by at that instant (local time unless
// the value gives an offset or Z) and lets it run 20 times as fast; " xN" may be
// left out for real speed. The alarm notice's one-second countdown and sound limit
// run as much faster. It lets the desktop tests of the alarms reach a minute in
// seconds. Nothing outside the process moves: the computer's clock, the other
// clocks and what is stored keep the real time.
inline constexpr char kTestTimeVariable[] = "OVRA_TEST_TIME";
inline constexpr int kMaxTestTimeRate = 100;

struct TestTime {
    QDateTime start;
    int rate = 1;
};

// The value read, or nullopt with *problem saying what is wrong with it.
std::optional<TestTime> parseTestTime(const QByteArray& value, QString* problem);

// The process's time: the test's when the variable holds a sound value, otherwise
// `real` itself (also when it is empty). A malformed value is reported through
// `warn` and ignored.
class ProcessTime {
public:
    ProcessTime(const TimeSource& real, const std::function<void(const QString&)>& warn);
    const TimeSource& source() const { return m_shifted ? *m_shifted : m_real; }
    // The interval of the notice's one-second ticks.
    int secondMs() const { return 1000 / m_rate; }

private:
    const TimeSource& m_real;
    std::unique_ptr<TimeSource> m_shifted;
    int m_rate = 1;
};

} // namespace ovra
