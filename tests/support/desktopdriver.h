#pragma once

#include <QPoint>
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
// The window the pointer is over after moving it to p, as the X server decides it
// (input shapes count).
QString windowUnderPointer(QPoint p);

} // namespace ovra::test
