#include "alarms/alarmtable.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace ovra;

namespace {

AlarmRecord named(const QString& note) {
    AlarmRecord r;
    r.Status = 1;
    r.Note = note;
    return r;
}

// Five alarms "a".."e" with the notice showing the one named noticeOn.
void fill(AlarmTable& t, QChar noticeOn) {
    for (QChar c : QStringLiteral("abcde"))
        t.add(named(c));
    for (int i = 0; i < t.AlarmCount(); ++i)
        if (t.at(i).Note == noticeOn) {
            t.setNoticeAlarm(i);
            t.setNoticeShown(1);
        }
}

QString order(const AlarmTable& t) {
    QString s;
    for (int i = 0; i < t.AlarmCount(); ++i)
        s += t.at(i).Note;
    return s;
}

QString noticeNote(const AlarmTable& t) {
    return t.NoticeAlarm() < 0 ? QStringLiteral("-") : t.at(t.NoticeAlarm()).Note;
}

} // namespace

TEST(AlarmTable, A129thAlarmIsRefused) {
    AlarmTable t;
    for (int i = 0; i < 128; ++i)
        ASSERT_TRUE(t.add(named(QString::number(i))));
    EXPECT_TRUE(t.isFull());
    EXPECT_FALSE(t.add(named(QStringLiteral("one too many"))));
    EXPECT_FALSE(t.appendLoaded(named(QStringLiteral("one too many"))));
    EXPECT_EQ(t.AlarmCount(), 128);
    EXPECT_EQ(t.at(127).Note, QStringLiteral("127"));
}

TEST(AlarmTable, AnAddedAlarmStartsWithoutANotice) {
    AlarmTable t;
    AlarmRecord r = named(QStringLiteral("x"));
    r.NoticeShown = 1;
    r.Reserved[3] = 9;
    t.add(r);
    EXPECT_EQ(t.at(0).NoticeShown, 0);
    EXPECT_EQ(t.at(0).Reserved[3], 9); // the rest is taken as given
    t.appendLoaded(r);                 // loading keeps what the file holds
    EXPECT_EQ(t.at(1).NoticeShown, 1);
}

TEST(AlarmTable, TheNoticeFollowsItsAlarmThroughDeletesAndMoves) {
    struct Case {
        const char* name;
        QChar notice;
        std::function<void(AlarmTable&)> edit;
        QString order;
        QString noticeAfter; // "-" when the notice lost its alarm
        bool removedSignal;
    } cases[] = {
        {"delete before", u'c', [](AlarmTable& t) { t.removeAt(0); }, "bcde", "c", false},
        {"delete after", u'c', [](AlarmTable& t) { t.removeAt(4); }, "abcd", "c", false},
        {"delete three marked", u'e',
         [](AlarmTable& t) {
             t.removeMarked({0, 2, 3});
         },
         "be", "e", false},
        {"delete the notice's alarm", u'c',
         [](AlarmTable& t) {
             t.removeMarked({1, 2});
         },
         "ade", "-", true},
        {"marks out of range and twice", u'b',
         [](AlarmTable& t) {
             t.removeMarked({-1, 9, 3, 3});
         },
         "abce", "b", false},
        {"move the notice's alarm down", u'b', [](AlarmTable& t) { t.move(1, 3); }, "acdbe", "b",
         false},
        {"move another across it upward", u'c', [](AlarmTable& t) { t.move(4, 0); }, "eabcd", "c",
         false},
        {"move another across it downward", u'c', [](AlarmTable& t) { t.move(0, 4); }, "bcdea", "c",
         false},
        {"move that does not cross it", u'a', [](AlarmTable& t) { t.move(2, 4); }, "abdec", "a",
         false},
        {"no notice open", u'-', [](AlarmTable& t) { t.removeAt(1); }, "acde", "-", false},
    };
    for (const Case& c : cases) {
        AlarmTable t;
        fill(t, c.notice);
        QSignalSpy removed(&t, &AlarmTable::noticeAlarmRemoved);
        c.edit(t);
        EXPECT_EQ(order(t), c.order) << c.name;
        EXPECT_EQ(noticeNote(t), c.noticeAfter) << c.name;
        EXPECT_EQ(removed.count(), c.removedSignal ? 1 : 0) << c.name;
        // The closing steps clear the flag of the notice's own alarm, and no other.
        t.setNoticeShown(0);
        for (int i = 0; i < t.AlarmCount(); ++i)
            EXPECT_EQ(t.at(i).NoticeShown, 0) << c.name << " record " << i;
    }
}

TEST(AlarmTable, BadIndexesChangeNothing) {
    AlarmTable t;
    fill(t, u'a');
    EXPECT_FALSE(t.removeAt(5));
    EXPECT_FALSE(t.removeAt(-1));
    EXPECT_FALSE(t.move(0, 5));
    EXPECT_FALSE(t.move(-1, 2));
    t.setStatus({7, -2}, 0);
    EXPECT_EQ(order(t), QStringLiteral("abcde"));
    t.setStatus({1, 3}, 0);
    EXPECT_EQ(t.at(1).Status, 0);
    EXPECT_EQ(t.at(2).Status, 1);
    EXPECT_EQ(t.at(3).Status, 0);
}
