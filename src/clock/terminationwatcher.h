#pragma once

#include <QObject>

class QSocketNotifier;

namespace ovra {

// Turns SIGTERM, SIGINT and SIGHUP (a session ending, a terminal closing) into a
// signal on the event loop, so the clock shuts down normally and saves its
// settings. One watcher per process; the default handlers return when it goes.
class TerminationWatcher final : public QObject {
    Q_OBJECT
public:
    explicit TerminationWatcher(QObject* parent = nullptr);
    ~TerminationWatcher() override;

    bool isActive() const { return m_notifier != nullptr; }

signals:
    void terminationRequested(int signalNumber);

private:
    void onReadable();

    QSocketNotifier* m_notifier = nullptr;
    int m_readFd = -1;
};

} // namespace ovra
