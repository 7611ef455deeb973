#include "time/timesource.h"

#include "time/zonetable.h"

#include <QFileInfo>

#include <ctime>

namespace ovra {

namespace {
// TZ as a file, ":/usr/share/zoneinfo/Asia/Kolkata" or a link to one such as
// /etc/localtime: the zone named by its place in the zone folder.
QTimeZone zoneOfFile(QByteArray tz) {
    if (tz.startsWith(':'))
        tz.remove(0, 1);
    if (tz.isEmpty())
        return {};
    const QString path = QFileInfo(QString::fromLocal8Bit(tz)).canonicalFilePath();
    const qsizetype folder = path.lastIndexOf(u"/zoneinfo/");
    if (folder < 0)
        return {};
    QString id = path.mid(folder + int(sizeof("/zoneinfo/")) - 1);
    // posix/ and right/ hold the same zones, the latter counting leap seconds.
    for (int tries = 0; tries < 2; ++tries) {
        if (QTimeZone zone(id.toUtf8()); zone.isValid())
            return zone;
        id = id.section(u'/', 1);
    }
    return {};
}
} // namespace

QTimeZone computerZone(const QDateTime& nowUtc) {
    if (QTimeZone zone = QTimeZone::systemTimeZone(); zone.isValid())
        return zone;
    if (QTimeZone zone = zoneOfFile(qgetenv("TZ")); zone.isValid())
        return zone;
    // A zone Qt cannot name: the C library's own offset now. It is asked again
    // each minute, so a change of season shows within one.
    tzset();
    const time_t t = time_t(nowUtc.toSecsSinceEpoch());
    std::tm local{};
    if (!localtime_r(&t, &local))
        return QTimeZone(0);
    return QTimeZone(int(local.tm_gmtoff));
}

QTimeZone SystemTimeSource::systemZone() const {
    constexpr qint64 kRefreshMs = 60 * 1000;
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    if (!m_zone.isValid() || now - m_zoneCheckedMs >= kRefreshMs || now < m_zoneCheckedMs) {
        m_zone = computerZone(QDateTime::currentDateTimeUtc());
        m_zoneCheckedMs = now;
    }
    return m_zone;
}

int ComputerZoneRow(const TimeSource& time) {
    return computerZoneIndex(time.systemZone(), time.nowUtc());
}

int32_t GetLocalBias(const TimeSource& time) {
    const QTimeZone zone = time.systemZone();
    if (!zone.isValid())
        return 0;
    return -zone.standardTimeOffset(time.nowUtc()) / 60;
}

} // namespace ovra
