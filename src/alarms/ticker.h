#pragma once

#include <QTimer>

#include <functional>
#include <memory>

#include <time.h>

namespace ovra {

// A repeating one-second timer that can be switched on and off, the way the
// notice window's countdown and sound limit run. Tests drive a fake one by hand.
class Ticker {
public:
    virtual ~Ticker() = default;
    virtual void setEnabled(bool on) = 0;
    virtual bool isEnabled() const = 0;
    void onTick(std::function<void()> fn) { m_tick = std::move(fn); }

protected:
    void fire() {
        if (m_tick)
            m_tick();
    }

private:
    std::function<void()> m_tick;
};

using TickerFactory = std::function<std::unique_ptr<Ticker>()>;

// The real one, on a QTimer. Switching it on restarts the interval.
class QTimerTicker final : public Ticker {
public:
    explicit QTimerTicker(int intervalMs = 1000) {
        m_timer.setInterval(intervalMs);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { fire(); });
    }
    void setEnabled(bool on) override {
        if (on)
            m_timer.start();
        else
            m_timer.stop();
    }
    bool isEnabled() const override { return m_timer.isActive(); }

private:
    QTimer m_timer;
};

// Two readings of the time since boot: the boot-time clock goes on while the
// computer is suspended, the monotonic one does not, and neither follows a step of
// the wall clock. Their difference grows only by the time spent asleep.
struct Uptime {
    qint64 awakeMs = 0;     // CLOCK_MONOTONIC
    qint64 sinceBootMs = 0; // CLOCK_BOOTTIME
};
using UptimeSource = std::function<Uptime()>;

inline Uptime readUptime() {
    const auto ms = [](clockid_t id) {
        timespec ts{};
        ::clock_gettime(id, &ts);
        return qint64(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
    };
    return {ms(CLOCK_MONOTONIC), ms(CLOCK_BOOTTIME)};
}

} // namespace ovra
