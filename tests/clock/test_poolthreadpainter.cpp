#include "clock/poolthreadpainter.h"

#include <QThread>
#include <QThreadPool>

#include <gtest/gtest.h>

using namespace ovra;

TEST(PoolThreadPainter, DrawsOnAPoolThreadAndReturnsWhenDone) {
    QThread* drawnOn = nullptr;
    bool finished = false;
    PoolThreadPainter::run([&] {
        drawnOn = QThread::currentThread();
        QThread::msleep(30); // the caller must wait for this
        finished = true;
    });
    EXPECT_TRUE(finished);
    ASSERT_NE(drawnOn, nullptr);
    EXPECT_NE(drawnOn, QThread::currentThread());
    EXPECT_TRUE(QThreadPool::globalInstance()->contains(drawnOn));
}

TEST(PoolThreadPainter, AlreadyOnAPoolThreadItDrawsInPlace) {
    QThread* outer = nullptr;
    QThread* inner = nullptr;
    PoolThreadPainter::run([&] {
        outer = QThread::currentThread();
        // Waiting for another pool thread from here could exhaust a small pool.
        PoolThreadPainter::run([&] { inner = QThread::currentThread(); });
    });
    EXPECT_EQ(inner, outer);
}
