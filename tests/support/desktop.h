#pragma once

#include <QProcess>
#include <QString>

namespace ovra::test {

// A private X server (Xvfb) with a compositor (xcompmgr), so whole-process tests
// see real ARGB windows, pointer events and screenshots. DISPLAY points at it
// while the object lives; both processes are ended by PID when it goes.
class PrivateDesktop {
public:
    explicit PrivateDesktop(int width = 1280, int height = 800, bool compositor = true);
    ~PrivateDesktop();
    PrivateDesktop(const PrivateDesktop&) = delete;
    PrivateDesktop& operator=(const PrivateDesktop&) = delete;

    bool ok() const { return m_ok; }
    QString display() const { return m_display; }
    QString error() const { return m_error; }

private:
    QProcess m_xvfb;
    QProcess m_compositor;
    QString m_display;
    QByteArray m_savedDisplay;
    QString m_error;
    bool m_ok = false;
};

// Runs a program to completion with a time limit; returns its exit code, or -1
// when it could not start or ran over (then it is killed).
int runProgram(const QString& program, const QStringList& args, int timeoutMs = 10000,
               QByteArray* output = nullptr);

} // namespace ovra::test
