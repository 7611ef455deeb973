#include "clock/terminationwatcher.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace ovra {

namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

// A signal handler can reach no object: the write end of the self-pipe is the one
// piece of process-wide state, owned by the single live watcher.
volatile sig_atomic_t g_writeFd = -1;

void onSignal(int signalNumber) {
    const int fd = g_writeFd;
    if (fd < 0)
        return;
    const int saved = errno;
    const unsigned char byte = static_cast<unsigned char>(signalNumber);
    [[maybe_unused]] const ssize_t n = ::write(fd, &byte, 1);
    errno = saved;
}

} // namespace

TerminationWatcher::TerminationWatcher(QObject* parent) : QObject(parent) {
    if (g_writeFd >= 0)
        return; // another watcher already listens
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    m_readFd = fds[0];
    g_writeFd = fds[1];
    m_notifier = new QSocketNotifier(m_readFd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &TerminationWatcher::onReadable);

    struct sigaction sa = {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (const int sig : kSignals)
        ::sigaction(sig, &sa, nullptr);
}

TerminationWatcher::~TerminationWatcher() {
    if (!m_notifier)
        return;
    struct sigaction sa = {};
    sa.sa_handler = SIG_DFL;
    sigemptyset(&sa.sa_mask);
    for (const int sig : kSignals)
        ::sigaction(sig, &sa, nullptr);
    const int writeFd = g_writeFd;
    g_writeFd = -1;
    delete m_notifier;
    m_notifier = nullptr;
    ::close(writeFd);
    ::close(m_readFd);
    m_readFd = -1;
}

void TerminationWatcher::onReadable() {
    unsigned char byte = 0;
    int last = 0;
    while (::read(m_readFd, &byte, 1) == 1)
        last = byte;
    if (last != 0)
        emit terminationRequested(last);
}

} // namespace ovra
