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
inline constexpr int32_t ShowTip = 0;
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
// reader cleans them (CleanString, or trailing spaces only for the tip text).
struct AlarmRecord {
    double AlarmTime = 0.0;  // OLE Automation date; here always a pure time of day
    int32_t Status = 0;      // 1 enabled, 0 disabled
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

// The days an alarm falls due live in the first Reserved byte, which files written
// before weekdays existed hold as 0: bit 0 Monday to bit 6 Sunday, no day bit set
// meaning every day. Bit 7 belongs to nobody yet and is kept as found.
inline constexpr uint8_t kEveryDay = 0;
inline constexpr uint8_t kAllDayBits = 0x7F;

// The day bits of an alarm (bit 7 masked off); 0 for every day.
uint8_t alarmWeekdays(const AlarmRecord& alarm);
// Sets the day bits, storing 0 when all seven are given; bit 7 stays as it was.
void setAlarmWeekdays(AlarmRecord& alarm, uint8_t days);
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

// A text field as stored: UTF-8, cut at a character boundary so it fits 255 bytes,
// then padded with spaces.
QByteArray encodeAlarmText(QStringView text);

// A stored text field: UTF-8 when the bytes are valid UTF-8, otherwise Windows-1252,
// the code page the original Windows program wrote.
QString decodeAlarmText(QByteArrayView bytes);

// A text as the record keeps it once assigned: at most 255 characters.
QString fitAlarmText(const QString& text);

} // namespace ovra
