#include "support/desktop.h"

#include <QElapsedTimer>
#include <QThread>

#include <csignal>

#include <sys/prctl.h>
#include <unistd.h>

namespace ovra::test {

PrivateDesktop::PrivateDesktop(int width, int height, bool compositor) {
    m_savedDisplay = qgetenv("DISPLAY");
    int pipeFds[2];
    if (pipe(pipeFds) != 0) {
        m_error = QStringLiteral("pipe failed");
        return;
    }
    // Xvfb picks a free display number and writes it to the descriptor we pass.
    m_xvfb.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    // The server goes with the test even when the test dies without cleaning up.
    m_xvfb.setChildProcessModifier([pipeFds] {
        ::close(pipeFds[0]);
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
    });
    m_xvfb.start(QStringLiteral("Xvfb"),
                 {QStringLiteral("-displayfd"), QString::number(pipeFds[1]),
                  QStringLiteral("-screen"), QStringLiteral("0"),
                  QStringLiteral("%1x%2x24").arg(width).arg(height), QStringLiteral("-nolisten"),
                  QStringLiteral("tcp"), QStringLiteral("+extension"), QStringLiteral("Composite"),
                  QStringLiteral("-ac")});
    ::close(pipeFds[1]);
    if (!m_xvfb.waitForStarted(5000)) {
        ::close(pipeFds[0]);
        m_error = QStringLiteral("Xvfb did not start (is the xvfb package installed?)");
        return;
    }
    QByteArray number;
    char c;
    while (::read(pipeFds[0], &c, 1) == 1 && c != '\n')
        number += c;
    ::close(pipeFds[0]);
    if (number.isEmpty()) {
        m_error = QStringLiteral("Xvfb reported no display");
        return;
    }
    m_display = QStringLiteral(":") + QString::fromLatin1(number);
    qputenv("DISPLAY", m_display.toLatin1());
    if (compositor) {
        m_compositor.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
        m_compositor.start(QStringLiteral("xcompmgr"), {});
        if (!m_compositor.waitForStarted(5000)) {
            m_error = QStringLiteral("xcompmgr did not start");
            return;
        }
        QThread::msleep(200);
    }
    m_ok = true;
}

PrivateDesktop::~PrivateDesktop() {
    for (QProcess* p : {&m_compositor, &m_xvfb}) {
        if (p->state() != QProcess::NotRunning) {
            p->terminate();
            if (!p->waitForFinished(3000)) {
                p->kill();
                p->waitForFinished(3000);
            }
        }
    }
    if (m_savedDisplay.isNull())
        qunsetenv("DISPLAY");
    else
        qputenv("DISPLAY", m_savedDisplay);
}

int runProgram(const QString& program, const QStringList& args, int timeoutMs, QByteArray* output) {
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    if (!p.waitForStarted(5000))
        return -1;
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished(3000);
        return -1;
    }
    if (output)
        *output = p.readAll();
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

} // namespace ovra::test
