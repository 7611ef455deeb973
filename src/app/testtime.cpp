#include "app/testtime.h"

namespace ovra {

namespace {

// Starts at the instant given and runs `rate` times as fast as `real`, in its zone.
class ShiftedTimeSource final : public TimeSource {
public:
    ShiftedTimeSource(const TimeSource& real, const QDateTime& start, int rate)
        : m_real(real), m_start(start.toUTC()), m_realStart(real.nowUtc()), m_rate(rate) {}
    QDateTime nowUtc() const override {
        return m_start.addMSecs(m_realStart.msecsTo(m_real.nowUtc()) * m_rate);
    }
    QTimeZone systemZone() const override { return m_real.systemZone(); }

private:
    const TimeSource& m_real;
    QDateTime m_start;
    QDateTime m_realStart;
    int m_rate;
};

} // namespace

std::optional<TestTime> parseTestTime(const QByteArray& value, QString* problem) {
    const QString text = QString::fromUtf8(value).trimmed();
    const QStringList parts = text.split(u' ', Qt::SkipEmptyParts);
    const auto refuse = [&](const QString& why) {
        *problem = why;
        return std::nullopt;
    };
    if (parts.isEmpty() || parts.size() > 2)
        return refuse(QStringLiteral("expected an ISO 8601 time, optionally followed by \" xN\""));
    TestTime t;
    t.start = QDateTime::fromString(parts[0], Qt::ISODateWithMs);
    if (!t.start.isValid())
        return refuse(QStringLiteral("\"%1\" is no ISO 8601 time").arg(parts[0]));
    if (parts.size() == 2) {
        bool ok = false;
        t.rate = parts[1].startsWith(u'x') ? parts[1].mid(1).toInt(&ok) : 0;
        if (!ok || t.rate < 1 || t.rate > kMaxTestTimeRate)
            return refuse(QStringLiteral("\"%1\" is no rate from x1 to x%2")
                              .arg(parts[1])
                              .arg(kMaxTestTimeRate));
    }
    return t;
}

ProcessTime::ProcessTime(const TimeSource& real, const std::function<void(const QString&)>& warn)
    : m_real(real) {
    if (qEnvironmentVariableIsEmpty(kTestTimeVariable))
        return;
    QString problem;
    const std::optional<TestTime> t = parseTestTime(qgetenv(kTestTimeVariable), &problem);
    if (!t) {
        warn(QStringLiteral("%1 is ignored, the clock runs on the computer's time: %2.")
                 .arg(QLatin1String(kTestTimeVariable), problem));
        return;
    }
    m_shifted = std::make_unique<ShiftedTimeSource>(real, t->start, t->rate);
    m_rate = t->rate;
}

} // namespace ovra
