#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <array>
#include <cstdint>
#include <optional>

namespace ovra {

// Size of one record in the alarm file and of each of its two text fields.
inline constexpr int kAlarmRecordSize = 566;
inline constexpr int kAlarmTextBytes = 255;

// What an alarm does when it falls due; the value is the index of the choice in the
// alarm editor's action list and is stored as such in the file.
namespace alarmaction {
inline constexpr int32_t showTip = 0;
inline constexpr int32_t ShutDown = 1;
inline constexpr int32_t Restart = 2;
inline constexpr int32_t Lock = 3;
inline constexpr int32_t PowerOffNow = 4;
inline constexpr int32_t RebootNow = 5;
inline constexpr int32_t Execute = 6;
} // namespace alarmaction

// How long the alarm sound plays; again the editor's list index.
namespace playtime {
inline constexpr int32_t OneMinute = 0;
inline constexpr int32_t TwoMinutes = 1;
inline constexpr int32_t ThreeMinutes = 2;
inline constexpr int32_t FiveMinutes = 3;
inline constexpr int32_t Loop = 4;
} // namespace playtime

// One alarm, field for field as the file stores it. The text fields hold exactly
// what the file's field held once decoded, padding and NULs included, so every
// reader cleans them (cleanString, or trailing spaces only for the tip text).
struct AlarmRecord {
    double AlarmTime = 0.0;  // OLE Automation date; here always a pure time of day
    int32_t status = 0;      // 1 enabled, 0 disabled
    int32_t NoticeShown = 0; // 1 while the notice window shows this alarm
    int32_t Action = 0;
    int32_t PlayTime = 0;
    std::array<uint8_t, 32> Reserved{}; // never interpreted, always carried through
    QString Note;                       // tip text, or the file, document or address to open
    QString SoundFile;                  // a .wav path or "Default Alarm Sound"

    // The raw 566 bytes; numbers little-endian, texts as encodeAlarmText writes them.
    QByteArray toBytes() const;
    // Reads one record from exactly kAlarmRecordSize bytes.
    static AlarmRecord fromBytes(QByteArrayView bytes);
};

// The days an alarm falls due live in the first Reserved byte: bit 0 Monday to
// bit 6 Sunday, no day bit set meaning every day. The reserved block was never
// read before weekdays existed, so files may hold anything there: the byte counts
// only while the second Reserved byte holds kWeekdayMark, which is written with
// every mask but "every day". Bit 7 belongs to nobody yet and is kept as found.
inline constexpr uint8_t kEveryDay = 0;
inline constexpr uint8_t kAllDayBits = 0x7F;
inline constexpr uint8_t kWeekdayMark = 0xA5;

// The day bits of an alarm (bit 7 masked off); 0 for every day, and for a record
// without the mark whatever its first Reserved byte holds.
uint8_t alarmWeekdays(const AlarmRecord& alarm);
// Sets the day bits and the mark. Every day (no bit, or all seven) takes back a
// mask of ours and leaves an unmarked record's bytes as they were; bit 7 stays.
void setAlarmWeekdays(AlarmRecord& alarm, uint8_t days);
// Whether two day masks share a day (every day shares each).
bool weekdaysOverlap(uint8_t a, uint8_t b);
// Whether the alarm falls due on a day of week (1 Monday to 7 Sunday, as QDate).
bool alarmFallsOn(const AlarmRecord& alarm, int dayOfWeek);

// The AlarmTime of hour:minute:00 with no date.
double alarmTimeOf(int hour, int minute);

// Seconds since midnight of an OLE date's time part, rounded to the whole second;
// nullopt for a value that is no date at all (NaN, infinite, beyond year 9999),
// which a damaged file can hold.
std::optional<int> alarmSecondOfDay(double alarmTime);

// "HH:mm" of an alarm time, the form the alarm check compares; empty when the value
// is no date, so such a record never matches a minute.
QString alarmMinuteText(double alarmTime);

// A text field as stored, padded with spaces to 255 bytes: Windows-1252 when every
// character has a byte there (one byte each, so readers that know only that code
// page see the text), otherwise UTF-8 cut at a character boundary. A text whose
// Windows-1252 bytes would read back as other UTF-8 text goes out as UTF-8.
QByteArray encodeAlarmText(QStringView text);

// A stored text field: UTF-8 when the bytes are valid UTF-8, otherwise
// Windows-1252, the code page such files are written in.
QString decodeAlarmText(QByteArrayView bytes);

// A text as the record keeps it once assigned: at most 255 characters.
QString fitAlarmText(const QString& text);

} // namespace ovra
