#include "alarms/alarmtable.h"

#include <algorithm>

namespace ovra {

const AlarmRecord& AlarmTable::at(int index) const {
    Q_ASSERT(valid(index));
    return m_alarms[index];
}

AlarmRecord& AlarmTable::at(int index) {
    Q_ASSERT(valid(index));
    return m_alarms[index];
}

void AlarmTable::setNoticeShown(int value) {
    if (valid(m_noticeAlarm))
        m_alarms[m_noticeAlarm].NoticeShown = value;
}

void AlarmTable::clear() {
    m_count = 0;
    m_snoozes.fill(QDateTime());
}

bool AlarmTable::appendLoaded(const AlarmRecord& record) {
    if (isFull())
        return false;
    m_snoozes[m_count] = QDateTime();
    m_alarms[m_count++] = record;
    return true;
}

bool AlarmTable::add(const AlarmRecord& record) {
    if (isFull())
        return false;
    m_snoozes[m_count] = QDateTime();
    AlarmRecord& slot = m_alarms[m_count++];
    slot = record;
    slot.NoticeShown = 0;
    return true;
}

bool AlarmTable::removeAt(int index) {
    return removeMarked({index}) == 1;
}

int AlarmTable::removeMarked(const QList<int>& indexes) {
    std::array<bool, kCapacity> marked{};
    for (int i : indexes)
        if (valid(i))
            marked[i] = true;

    const int notice = m_noticeAlarm;
    bool noticeRemoved = false;
    int kept = 0;
    for (int i = 0; i < m_count; ++i) {
        if (marked[i]) {
            if (i == notice)
                noticeRemoved = true;
            continue;
        }
        if (i == notice)
            m_noticeAlarm = kept;
        if (kept != i) {
            m_alarms[kept] = m_alarms[i];
            m_snoozes[kept] = m_snoozes[i];
        }
        ++kept;
    }
    for (int i = kept; i < m_count; ++i)
        m_snoozes[i] = QDateTime();
    const int removed = m_count - kept;
    m_count = kept;
    if (noticeRemoved) {
        m_noticeAlarm = -1;
        emit noticeAlarmRemoved();
    }
    return removed;
}

bool AlarmTable::move(int from, int to) {
    if (!valid(from) || !valid(to))
        return false;
    const auto shift = [from, to](auto& cells) {
        if (from < to)
            std::rotate(cells.begin() + from, cells.begin() + from + 1, cells.begin() + to + 1);
        else if (from > to)
            std::rotate(cells.begin() + to, cells.begin() + from, cells.begin() + from + 1);
    };
    shift(m_alarms);
    shift(m_snoozes);

    if (m_noticeAlarm == from)
        m_noticeAlarm = to;
    else if (from < to && m_noticeAlarm > from && m_noticeAlarm <= to)
        --m_noticeAlarm;
    else if (from > to && m_noticeAlarm >= to && m_noticeAlarm < from)
        ++m_noticeAlarm;
    return true;
}

void AlarmTable::setStatus(const QList<int>& indexes, int32_t status) {
    for (int i : indexes)
        if (valid(i)) {
            m_alarms[i].status = status;
            if (status != 1)
                m_snoozes[i] = QDateTime();
        }
}

void AlarmTable::snooze(int index, const QDateTime& untilUtc) {
    if (valid(index))
        m_snoozes[index] = untilUtc;
}

void AlarmTable::clearSnooze(int index) {
    if (valid(index))
        m_snoozes[index] = QDateTime();
}

QDateTime AlarmTable::snoozedUntil(int index) const {
    return valid(index) ? m_snoozes[index] : QDateTime();
}

int AlarmTable::dueSnooze(const QDateTime& nowUtc) const {
    for (int i = 0; i < m_count; ++i) {
        if (m_snoozes[i].isValid() && m_alarms[i].status == 1 && m_snoozes[i] <= nowUtc)
            return i;
    }
    return -1;
}

} // namespace ovra
