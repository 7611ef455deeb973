#include "clock/poolthreadpainter.h"

#include "base/ossupport.h"

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

bool PoolThreadPainter::keepOnePoolThread() {
    QThreadPool* pool = QThreadPool::globalInstance();
    if (!pool || !threadsCanStart())
        return false;
    pool->setExpiryTimeout(-1);
    pool->setMaxThreadCount(1);
    pool->start([] {});
    return true;
}

} // namespace ovra
