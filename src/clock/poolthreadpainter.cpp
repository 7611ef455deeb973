#include "clock/poolthreadpainter.h"

#include <QSemaphore>
#include <QThread>
#include <QThreadPool>

namespace ovra {

void PoolThreadPainter::run(const std::function<void()>& draw) {
    QThreadPool* pool = QThreadPool::globalInstance();
    if (!pool || pool->contains(QThread::currentThread())) {
        draw();
        return;
    }
    QSemaphore done;
    pool->start([&] {
        draw();
        done.release();
    });
    done.acquire();
}

} // namespace ovra
