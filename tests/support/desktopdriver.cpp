#include "support/desktopdriver.h"

#include "support/desktop.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>

namespace ovra::test {

ProgramResult runCapturing(const QString& program, const QStringList& args, int timeoutMs,
                           const QProcessEnvironment& env) {
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(program, args);
    ProgramResult r;
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished();
        return r;
    }
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

bool waitFor(const std::function<bool()>& done, int timeoutMs, int stepMs) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > timeoutMs)
            return false;
        QThread::msleep(stepMs);
    }
    return true;
}

QString xdotool(const QStringList& args) {
    QByteArray out;
    runProgram(QStringLiteral("xdotool"), args, 10000, &out);
    return QString::fromLocal8Bit(out).trimmed();
}

QString windowNamed(const QString& title, bool onlyVisible) {
    QStringList args{QStringLiteral("search")};
    if (onlyVisible)
        args << QStringLiteral("--onlyvisible");
    args << QStringLiteral("--name") << u'^' + QRegularExpression::escape(title) + u'$';
    return xdotool(args);
}

QRect geometryOf(const QString& window) {
    const QString text = xdotool({QStringLiteral("getwindowgeometry"), window});
    const auto m =
        QRegularExpression(QStringLiteral("Position: (-?\\d+),(-?\\d+).*Geometry: (\\d+)x(\\d+)"),
                           QRegularExpression::DotMatchesEverythingOption)
            .match(text);
    if (!m.hasMatch())
        return {};
    return QRect(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt(),
                 m.captured(4).toInt());
}

void pressKeys(const QStringList& names, int pauseMs) {
    for (const QString& name : names) {
        xdotool({QStringLiteral("key"), name});
        QThread::msleep(pauseMs);
    }
}

void pointTo(QPoint p, int settleMs) {
    xdotool({QStringLiteral("mousemove"), QString::number(p.x()), QString::number(p.y())});
    QThread::msleep(settleMs);
}

QString windowUnderPointer(QPoint p) {
    xdotool({QStringLiteral("mousemove"), QString::number(p.x()), QString::number(p.y())});
    QThread::msleep(150);
    const QString text = xdotool({QStringLiteral("getmouselocation")});
    const auto m = QRegularExpression(QStringLiteral("window:(\\d+)")).match(text);
    return m.hasMatch() ? m.captured(1) : QString();
}

ClockProcess::ClockProcess(const QString& program, const QStringList& args)
    : ClockProcess(program, args, {}, {}) {}

ClockProcess::ClockProcess(const QString& program, const QStringList& args,
                           const QStringList& environment, const QString& errorFile) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    // The tests read the clock's English texts, whatever language the machine has.
    env.remove(QStringLiteral("LANGUAGE"));
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    for (const QString& entry : environment)
        env.insert(entry.section(u'=', 0, 0), entry.section(u'=', 1));
    process.setProcessEnvironment(env);
    if (errorFile.isEmpty()) {
        process.setProcessChannelMode(QProcess::ForwardedChannels);
    } else {
        process.setProcessChannelMode(QProcess::ForwardedOutputChannel);
        process.setStandardErrorFile(errorFile);
    }
    process.start(program, args);
}

ClockProcess::~ClockProcess() {
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished(3000);
    }
}

bool ClockProcess::endsWithin(int ms) {
    return process.waitForFinished(ms) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

} // namespace ovra::test
