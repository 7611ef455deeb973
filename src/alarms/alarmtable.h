#pragma once

#include "alarms/alarmrecord.h"

#include <QDateTime>
#include <QList>
#include <QObject>

#include <array>

namespace ovra {

// The clock's alarms in list order (the order of the file and of the editor's
// list), with the index of the alarm the notice window shows. One table per
// process, owned by the clock process; the alarm check, the notice window and the alarm
// editor all work on it in place.
//
// The editing operations keep noticeAlarm pointing at the same alarm when records
// move, so the notice's closing steps clear the flag of its own alarm. Deleting
// the alarm that the notice shows detaches the notice (noticeAlarm becomes -1) and
// emits noticeAlarmRemoved, on which the notice closes.
class AlarmTable : public QObject {
    Q_OBJECT
public:
    static constexpr int kCapacity = 128;

    int alarmCount() const { return m_count; }
    bool isFull() const { return m_count >= kCapacity; }

    // Records 0 .. alarmCount-1. Out-of-range indexes are a programming error.
    const AlarmRecord& at(int index) const;
    AlarmRecord& at(int index);

    // -1 when no notice is open.
    int noticeAlarm() const { return m_noticeAlarm; }
    void setNoticeAlarm(int index) { m_noticeAlarm = index; }
    // Sets NoticeShown of the record at noticeAlarm, when there is one.
    void setNoticeShown(int value);

    // Loading: empties the table, then appends records exactly as stored.
    void clear();
    bool appendLoaded(const AlarmRecord& record); // false when the table is full

    // Editing. add() refuses a 129th alarm and starts the new record with
    // NoticeShown 0: a flag left over in a reused slot would keep it from ever
    // showing its notice.
    bool add(const AlarmRecord& record);
    bool removeAt(int index);
    // Removes every listed index (duplicates and indexes out of range are ignored),
    // keeping the others in order; returns how many went.
    int removeMarked(const QList<int>& indexes);
    // Moves the record at from to index to; the records between shift by one.
    bool move(int from, int to);
    // Any status but enabled drops the alarms' snoozes.
    void setStatus(const QList<int>& indexes, int32_t status);

    // Snoozes live in memory only and move with their alarm through the edits; a
    // deleted or disabled alarm loses its snooze.
    void snooze(int index, const QDateTime& untilUtc);
    void clearSnooze(int index);
    QDateTime snoozedUntil(int index) const; // invalid when not snoozed
    // The first enabled alarm whose snooze has run out by nowUtc, or -1.
    int dueSnooze(const QDateTime& nowUtc) const;

signals:
    // The alarm that the open notice showed was deleted.
    void noticeAlarmRemoved();

private:
    bool valid(int index) const { return index >= 0 && index < m_count; }

    std::array<AlarmRecord, kCapacity> m_alarms{};
    std::array<QDateTime, kCapacity> m_snoozes{}; // by slot, beside m_alarms
    int m_count = 0;
    int m_noticeAlarm = -1;
};

} // namespace ovra
