#include "time/timesource.h"

#include "time/zonetable.h"

#include <QFile>
#include <QFileInfo>

#include <ctime>

namespace ovra {

namespace {
// Zone files are a few kilobytes; anything far larger is no zone file.
constexpr qint64 kMaxZoneFileBytes = 1024 * 1024;

// Where Qt reads the zones it names, in the order it tries them.
const char* const kSystemZoneFolders[] = {"/usr/share/zoneinfo/", "/usr/lib/zoneinfo/"};

QByteArray readZoneFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.read(kMaxZoneFileBytes + 1);
    return bytes.size() <= kMaxZoneFileBytes && bytes.startsWith("TZif") ? bytes : QByteArray();
}

// The zone a file of the system's zone folder stands for, when the file given is
// that very file's twin: relative is the file's place below a "zoneinfo" folder,
// such as "Asia/Tokyo" or "right/Asia/Tokyo".
QTimeZone systemZoneWithBytes(const QString& relative, const QByteArray& bytes) {
    for (const char* folder : kSystemZoneFolders) {
        const QByteArray system = readZoneFile(QString::fromLatin1(folder) + relative);
        if (system.isEmpty())
            continue;
        if (system != bytes)
            return {};
        // posix/ and right/ hold the same zones, the latter counting leap seconds.
        QString id = relative;
        for (int tries = 0; tries < 2; ++tries) {
            if (QTimeZone zone(id.toUtf8()); zone.isValid())
                return zone;
            id = id.section(u'/', 1);
        }
        return {};
    }
    return {};
}

// The rule for the times after the file's last transition, which files of version
// 2 and later keep in their last line ("EST5EDT,M3.2.0,M11.1.0"): what the file
// says about now and the years to come.
QTimeZone zoneOfRule(const QByteArray& bytes) {
    if (bytes.size() < 2 || !bytes.endsWith('\n') || bytes.at(4) < '2')
        return {};
    const qsizetype start = bytes.lastIndexOf('\n', bytes.size() - 2);
    if (start < 0)
        return {};
    const QByteArray rule = bytes.mid(start + 1, bytes.size() - start - 2);
    if (rule.isEmpty() || rule.contains('/') || rule.contains('\0'))
        return {};
    return QTimeZone(rule);
}

// TZ as a file, ":/usr/share/zoneinfo/Asia/Kolkata" or a link to one such as
// /etc/localtime. The file's content decides, as it does for the C library: a name
// taken from its path would let a file that lies about its place (New York's rules
// under ".../zoneinfo/Asia/Tokyo") show another zone than the computer does. The
// path names the zone only for the system's own file of that name, byte for byte.
QTimeZone zoneOfFile(const QString& path) {
    const QByteArray bytes = readZoneFile(path);
    if (bytes.isEmpty())
        return {};
    const QString canonical = QFileInfo(path).canonicalFilePath();
    const qsizetype folder = canonical.lastIndexOf(u"/zoneinfo/");
    if (folder >= 0) {
        const QString relative = canonical.mid(folder + int(sizeof("/zoneinfo/")) - 1);
        if (QTimeZone zone = systemZoneWithBytes(relative, bytes); zone.isValid())
            return zone;
    }
    return zoneOfRule(bytes);
}

// The file TZ names, or empty when it names a zone of the system's folder or gives
// a rule. The C library takes a value with a leading ":" or "/" as a file, and a
// zone name as a file of TZDIR when that variable names another folder.
QString fileOfTZ() {
    QByteArray tz = qgetenv("TZ");
    if (tz.startsWith(':'))
        tz.remove(0, 1);
    if (tz.startsWith('/'))
        return QFile::decodeName(tz);
    const QByteArray folder = qgetenv("TZDIR");
    if (tz.isEmpty() || !folder.startsWith('/') || tz.contains(".."))
        return {};
    const QString file = QFile::decodeName(folder + '/' + tz);
    return QFileInfo(file).isFile() ? file : QString();
}

// The C library's own offset now, for a zone Qt cannot name. It is asked again each
// minute, so a change of season shows within one.
QTimeZone offsetOfCLibrary(const QDateTime& nowUtc) {
    tzset();
    const time_t t = time_t(nowUtc.toSecsSinceEpoch());
    std::tm local{};
    if (!localtime_r(&t, &local))
        return QTimeZone(0);
    return QTimeZone(int(local.tm_gmtoff));
}
} // namespace

QTimeZone computerZone(const QDateTime& nowUtc) {
    if (const QString file = fileOfTZ(); !file.isEmpty()) {
        if (QTimeZone zone = zoneOfFile(file); zone.isValid())
            return zone;
        return offsetOfCLibrary(nowUtc);
    }
    if (QTimeZone zone = QTimeZone::systemTimeZone(); zone.isValid())
        return zone;
    return offsetOfCLibrary(nowUtc);
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

int computerZoneRow(const TimeSource& time) {
    return computerZoneIndex(time.systemZone(), time.nowUtc());
}

int32_t getLocalBias(const TimeSource& time) {
    const QTimeZone zone = time.systemZone();
    if (!zone.isValid())
        return 0;
    return -zone.standardTimeOffset(time.nowUtc()) / 60;
}

} // namespace ovra
