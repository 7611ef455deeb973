#pragma once

#include <QDateTime>
#include <QTimeZone>

#include <cstdint>

namespace ovra {

// Where "now" and the computer's zone come from; tests and --at fix both.
class TimeSource {
public:
    virtual ~TimeSource() = default;
    virtual QDateTime nowUtc() const = 0;
    virtual QTimeZone systemZone() const = 0;
};

// The computer's clock and zone. The zone is looked up again at most once a minute:
// the clock asks ten times a second, and a laptop that changes its zone should see
// the Default clock follow within a minute.
class SystemTimeSource final : public TimeSource {
public:
    QDateTime nowUtc() const override { return QDateTime::currentDateTimeUtc(); }
    QTimeZone systemZone() const override;

private:
    mutable QTimeZone m_zone;
    mutable qint64 m_zoneCheckedMs = 0;
};

class FixedTimeSource final : public TimeSource {
public:
    FixedTimeSource(QDateTime utc, QTimeZone zone)
        : m_utc(std::move(utc)), m_zone(std::move(zone)) {}
    QDateTime nowUtc() const override { return m_utc; }
    QTimeZone systemZone() const override { return m_zone; }
    void setNowUtc(const QDateTime& utc) { m_utc = utc; }
    void advanceSeconds(qint64 s) { m_utc = m_utc.addSecs(s); }

private:
    QDateTime m_utc;
    QTimeZone m_zone;
};

// The computer's zone as the C library has it. Where TZ names a file rather than a
// zone or a rule, the zone that file holds (the system's zone of the file's name only
// when the file is that zone's own, byte for byte); where Qt cannot name the zone at
// all, the C library's offset at nowUtc.
QTimeZone computerZone(const QDateTime& nowUtc);

// The computer's standard-time bias in minutes: UTC = local standard time + bias,
// so UTC+1 gives -60. Daylight saving is not part of it; 0 when the zone is unknown.
int32_t getLocalBias(const TimeSource& time);

// The zone row that stands for the computer's zone (see computerZoneIndex), or -1.
int computerZoneRow(const TimeSource& time);

} // namespace ovra
