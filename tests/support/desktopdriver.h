#pragma once

#include <QPoint>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRect>
#include <QString>
#include <QStringList>

#include <functional>

namespace ovra::test {

// What a finished program said; exitCode is -1 when it crashed, could not start or
// ran over its time and was killed.
struct ProgramResult {
    int exitCode = -1;
    QString out;
    QString err;
};

ProgramResult
runCapturing(const QString& program, const QStringList& args, int timeoutMs = 20000,
             const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment());

// Polls until done() holds or the time is up.
bool waitFor(const std::function<bool()>& done, int timeoutMs = 15000, int stepMs = 50);

// Real pointer and key events and window queries on the current DISPLAY.
QString xdotool(const QStringList& args);
QString windowNamed(const QString& title, bool onlyVisible = true);
QRect geometryOf(const QString& window);
void pressKeys(const QStringList& names, int pauseMs = 60);
// Moves the pointer to p and gives the program under it time to answer.
void pointTo(QPoint p, int settleMs = 250);
// The window the pointer is over after moving it to p, as the X server decides it
// (input shapes count).
QString windowUnderPointer(QPoint p);

// One run of a clock on the current DISPLAY (never offscreen); killed by PID if a
// test leaves it running.
struct ClockProcess {
    explicit ClockProcess(const QString& program, const QStringList& args = {});
    // With more environment ("NAME=value") and its error output kept in a file.
    ClockProcess(const QString& program, const QStringList& args, const QStringList& environment,
                 const QString& errorFile);
    ~ClockProcess();
    ClockProcess(const ClockProcess&) = delete;
    ClockProcess& operator=(const ClockProcess&) = delete;
    // True when the process ended by itself, successfully, within ms.
    bool endsWithin(int ms);
    QProcess process;
};

} // namespace ovra::test
