#include "alarms/alarmtable.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <functional>

using namespace ovra;

namespace {

// Five alarms "a".."e", the notice showing the one named noticeOn.
void fill(AlarmTable& t, QChar noticeOn) {
    for (QChar c : QStringLiteral("abcde")) {
        AlarmRecord r;
        r.Note = c;
        t.add(r);
        if (c == noticeOn) {
            t.setNoticeAlarm(t.alarmCount() - 1);
            t.setNoticeShown(1);
        }
    }
}

QString order(const AlarmTable& t) {
    QString s;
    for (int i = 0; i < t.alarmCount(); ++i)
        s += t.at(i).Note;
    return s;
}

} // namespace

TEST(AlarmTable, HoldsAtMost128AndNewAlarmsStartWithoutANotice) {
    AlarmTable t;
    AlarmRecord r;
    r.NoticeShown = 1; // a flag left in a reused slot would silence the new alarm
    for (int i = 0; i < 128; ++i)
        ASSERT_TRUE(t.add(r));
    EXPECT_FALSE(t.add(r));
    EXPECT_FALSE(t.appendLoaded(r));
    EXPECT_EQ(t.alarmCount(), 128);
    EXPECT_EQ(t.at(127).NoticeShown, 0);
    t.clear();
    t.appendLoaded(r); // loading keeps what the file holds
    EXPECT_EQ(t.at(0).NoticeShown, 1);
}

TEST(AlarmTable, TheNoticeFollowsItsAlarmThroughDeletesAndMoves) {
    struct Case {
        const char* name;
        QChar notice;
        std::function<void(AlarmTable&)> edit;
        QString order;
        QChar noticeAfter; // '-' when the notice lost its alarm
    } cases[] = {
        {"delete before", u'c', [](AlarmTable& t) { t.removeAt(0); }, "bcde", u'c'},
        {"delete three marked", u'e',
         [](AlarmTable& t) {
             t.removeMarked({0, 2, 3, 3, 9});
         },
         "be", u'e'},
        {"delete the notice's alarm", u'c',
         [](AlarmTable& t) {
             t.removeMarked({1, 2});
         },
         "ade", u'-'},
        {"move it down", u'b', [](AlarmTable& t) { t.move(1, 3); }, "acdbe", u'b'},
        {"move another up across it", u'c', [](AlarmTable& t) { t.move(4, 0); }, "eabcd", u'c'},
        {"move another down across it", u'c', [](AlarmTable& t) { t.move(0, 4); }, "bcdea", u'c'},
        {"no notice open", u'-', [](AlarmTable& t) { t.removeAt(1); }, "acde", u'-'},
    };
    for (const Case& c : cases) {
        AlarmTable t;
        fill(t, c.notice);
        QSignalSpy removed(&t, &AlarmTable::noticeAlarmRemoved);
        c.edit(t);
        EXPECT_EQ(order(t), c.order) << c.name;
        const QChar now = t.noticeAlarm() < 0 ? u'-' : t.at(t.noticeAlarm()).Note.at(0);
        EXPECT_EQ(now, c.noticeAfter) << c.name;
        EXPECT_EQ(removed.count(), c.noticeAfter == u'-' && c.notice != u'-') << c.name;
        // The closing steps clear the flag of the notice's own alarm, and no other.
        t.setNoticeShown(0);
        for (int i = 0; i < t.alarmCount(); ++i)
            EXPECT_EQ(t.at(i).NoticeShown, 0) << c.name << " record " << i;
    }
}
