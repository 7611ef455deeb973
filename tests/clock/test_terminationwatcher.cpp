#include "clock/terminationwatcher.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <csignal>

using namespace ovra;

namespace {
QList<int> deliver(TerminationWatcher& watcher, std::initializer_list<int> toRaise) {
    QList<int> seen;
    QObject::connect(&watcher, &TerminationWatcher::terminationRequested,
                     [&](int s) { seen.append(s); });
    for (const int s : toRaise)
        std::raise(s);
    QElapsedTimer t;
    t.start();
    while (seen.isEmpty() && t.elapsed() < 2000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QCoreApplication::processEvents();
    return seen;
}
} // namespace

TEST(TerminationWatcher, EndingSignalsArriveOnTheEventLoop) {
    for (const int sig : {SIGTERM, SIGINT, SIGHUP}) {
        TerminationWatcher watcher;
        ASSERT_TRUE(watcher.isActive());
        const QList<int> seen = deliver(watcher, {sig});
        ASSERT_EQ(seen.size(), 1) << sig;
        EXPECT_EQ(seen.first(), sig);
    }
}

TEST(TerminationWatcher, OneWatcherPerProcessAndBurstsComeAsOne) {
    TerminationWatcher first;
    TerminationWatcher second;
    EXPECT_TRUE(first.isActive());
    EXPECT_FALSE(second.isActive());
    // Several signals before the loop runs ask for one shutdown.
    const QList<int> seen = deliver(first, {SIGTERM, SIGTERM, SIGINT});
    EXPECT_EQ(seen, QList<int>{SIGINT});
}
