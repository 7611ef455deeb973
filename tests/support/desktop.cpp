#include "support/desktop.h"

#include "support/x11probe.h"

#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QThread>

#include <algorithm>
#include <csignal>
#include <functional>

#include <sys/prctl.h>
#include <unistd.h>

namespace ovra::test {

namespace {

bool waitUntil(const std::function<bool()>& done, int timeoutMs) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > timeoutMs)
            return false;
        QThread::msleep(50);
    }
    return true;
}

QString size(int w, int h) {
    return QStringLiteral("%1x%2").arg(w).arg(h);
}

} // namespace

QString sessionName(Session session) {
    switch (session) {
    case Session::Bare:
        return QStringLiteral("Xvfb_xcompmgr");
    case Session::Openbox:
        return QStringLiteral("openbox_xcompmgr");
    case Session::Xfwm4:
        return QStringLiteral("xfwm4_compositor");
    case Session::Xfwm4Xcompmgr:
        return QStringLiteral("xfwm4_xcompmgr");
    case Session::Mutter:
        return QStringLiteral("mutter_x11");
    case Session::Weston:
        return QStringLiteral("weston_xwayland");
    }
    return {};
}

PrivateDesktop::PrivateDesktop(int width, int height, bool compositor)
    : PrivateDesktop(DesktopOptions{
          .session = Session::Bare, .width = width, .height = height, .compositor = compositor}) {}

PrivateDesktop::PrivateDesktop(const DesktopOptions& options) : m_options(options) {
    m_savedDisplay = qgetenv("DISPLAY");
    if (options.session == Session::Weston) {
        m_ok = startWeston();
        return;
    }
    // Two monitors are RandR monitors of one screen; TigerVNC's server keeps them,
    // where Xvfb ignores them and lays Xinerama heads over each other.
    const bool twoMonitors = options.secondWidth > 0;
    const int screenWidth = options.width + options.secondWidth;
    const int screenHeight = std::max(options.height, options.secondHeight);
    const bool started =
        twoMonitors ? startServer(QStringLiteral("Xvnc"),
                                  {QStringLiteral("-geometry"), size(screenWidth, screenHeight),
                                   QStringLiteral("-depth"), QStringLiteral("24"),
                                   QStringLiteral("-SecurityTypes"), QStringLiteral("None"),
                                   QStringLiteral("-rfbport"), QStringLiteral("-1")})
                    : startServer(QStringLiteral("Xvfb"),
                                  {QStringLiteral("-screen"), QStringLiteral("0"),
                                   size(screenWidth, screenHeight) + QStringLiteral("x24"),
                                   QStringLiteral("+extension"), QStringLiteral("Composite")});
    if (!started)
        return;
    m_screenDisplay = m_display;
    if (twoMonitors) {
        const auto monitor = [](int w, int h, int x) {
            // Physical sizes for 96 dpi, as a common monitor reports them.
            return QStringLiteral("%1/%2x%3/%4+%5+0")
                .arg(w)
                .arg(w * 254 / 960)
                .arg(h)
                .arg(h * 254 / 960)
                .arg(x);
        };
        const int a =
            runProgram(QStringLiteral("xrandr"),
                       {QStringLiteral("--setmonitor"), QStringLiteral("FIRST"),
                        monitor(options.width, options.height, 0), QStringLiteral("VNC-0")});
        const int b = runProgram(QStringLiteral("xrandr"),
                                 {QStringLiteral("--setmonitor"), QStringLiteral("SECOND"),
                                  monitor(options.secondWidth, options.secondHeight, options.width),
                                  QStringLiteral("none")});
        if (a != 0 || b != 0) {
            m_error = QStringLiteral("xrandr could not set up two monitors");
            return;
        }
    }

    const bool separateCompositor = (options.session == Session::Bare && options.compositor) ||
                                    options.session == Session::Openbox ||
                                    options.session == Session::Xfwm4Xcompmgr;
    const bool ownCompositor =
        options.session == Session::Xfwm4 || options.session == Session::Mutter;
    switch (options.session) {
    case Session::Bare:
    case Session::Weston:
        break;
    case Session::Openbox:
        m_windowManager = &spawn(QStringLiteral("openbox"), {QStringLiteral("--sm-disable")});
        break;
    case Session::Xfwm4:
    case Session::Xfwm4Xcompmgr:
        m_windowManager =
            &spawn(QStringLiteral("xfwm4"),
                   {options.session == Session::Xfwm4 ? QStringLiteral("--compositor=on")
                                                      : QStringLiteral("--compositor=off")});
        break;
    case Session::Mutter: {
        // Mutter wants a session bus; a private one, ended with the desktop.
        QProcess& bus = spawn(QStringLiteral("dbus-daemon"),
                              {QStringLiteral("--session"), QStringLiteral("--nofork"),
                               QStringLiteral("--print-address")});
        bus.setReadChannel(QProcess::StandardOutput);
        if (!bus.waitForReadyRead(5000)) {
            m_error = QStringLiteral("no session bus for mutter");
            return;
        }
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"),
                   QString::fromUtf8(bus.readLine()).trimmed());
        m_windowManager = &spawn(
            QStringLiteral("mutter"),
            {QStringLiteral("--x11"), QStringLiteral("--replace"), QStringLiteral("--sm-disable")},
            env);
        break;
    }
    }
    if (m_windowManager && !waitForSelection("WM_S0", sessionName(options.session)))
        return;
    if (separateCompositor) {
        spawn(QStringLiteral("xcompmgr"), {});
        // xcompmgr claims no selection; give it a moment to redirect the windows.
        QThread::msleep(200);
    } else if (ownCompositor &&
               !waitForSelection("_NET_WM_CM_S0", QStringLiteral("the compositor"))) {
        return;
    }
    m_ok = true;
}

PrivateDesktop::~PrivateDesktop() {
    for (auto it = m_processes.rbegin(); it != m_processes.rend(); ++it)
        stop(**it);
    if (m_savedDisplay.isNull())
        qunsetenv("DISPLAY");
    else
        qputenv("DISPLAY", m_savedDisplay);
}

QProcess& PrivateDesktop::spawn(const QString& program, const QStringList& args,
                                const QProcessEnvironment& env) {
    auto p = std::make_unique<QProcess>();
    p->setProcessEnvironment(env);
    p->setProcessChannelMode(program == u"dbus-daemon" ? QProcess::SeparateChannels
                                                       : QProcess::ForwardedErrorChannel);
    if (program != u"dbus-daemon")
        p->setStandardOutputFile(QProcess::nullDevice());
    // Each goes with the test even when the test dies without cleaning up.
    p->setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    p->start(program, args);
    if (!p->waitForStarted(5000) && m_error.isEmpty())
        m_error = program + QStringLiteral(" did not start (is its package installed?)");
    m_processes.push_back(std::move(p));
    return *m_processes.back();
}

bool PrivateDesktop::startServer(const QString& program, QStringList args) {
    int pipeFds[2];
    if (pipe(pipeFds) != 0) {
        m_error = QStringLiteral("pipe failed");
        return false;
    }
    // The server picks a free display number and writes it to the descriptor given.
    args << QStringLiteral("-displayfd") << QString::number(pipeFds[1])
         << QStringLiteral("-nolisten") << QStringLiteral("tcp") << QStringLiteral("-ac")
         << QStringLiteral("-noreset");
    auto p = std::make_unique<QProcess>();
    p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p->setStandardOutputFile(QProcess::nullDevice());
    p->setChildProcessModifier([pipeFds] {
        ::close(pipeFds[0]);
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
    });
    p->start(program, args);
    ::close(pipeFds[1]);
    const bool started = p->waitForStarted(5000);
    m_server = p.get();
    m_processes.push_back(std::move(p));
    if (!started) {
        ::close(pipeFds[0]);
        m_error = program + QStringLiteral(" did not start (is its package installed?)");
        return false;
    }
    QByteArray number;
    char c;
    while (::read(pipeFds[0], &c, 1) == 1 && c != '\n')
        number += c;
    ::close(pipeFds[0]);
    if (number.isEmpty()) {
        m_error = program + QStringLiteral(" reported no display");
        return false;
    }
    m_display = QStringLiteral(":") + QString::fromLatin1(number);
    qputenv("DISPLAY", m_display.toLatin1());
    return true;
}

bool PrivateDesktop::startWeston() {
    // Weston's own X11 back end inside Xvfb: a real Wayland compositor with a seat
    // whose pointer the tests can drive and whose output they can photograph. The
    // headless back end has no seat, and Xwayland 22 ends on a pointer warp there.
    // A margin around the compositor's window lets the pointer enter it, which is
    // when Weston starts to follow it.
    if (!startServer(QStringLiteral("Xvfb"),
                     {QStringLiteral("-screen"), QStringLiteral("0"),
                      size(m_options.width + 40, m_options.height + 40) + QStringLiteral("x24")}))
        return false;
    m_screenDisplay = m_display;
    if (!m_runtime.isValid()) {
        m_error = QStringLiteral("no folder for the compositor's socket");
        return false;
    }
    QFile::setPermissions(m_runtime.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtime.path());
    auto p = std::make_unique<QProcess>();
    p->setProcessEnvironment(env);
    p->setProcessChannelMode(QProcess::MergedChannels);
    p->setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    p->start(QStringLiteral("weston"),
             {QStringLiteral("--backend=x11-backend.so"), QStringLiteral("--use-pixman"),
              QStringLiteral("--xwayland"), QStringLiteral("--idle-time=0"),
              QStringLiteral("--socket=ovra-test"),
              QStringLiteral("--width=%1").arg(m_options.width),
              QStringLiteral("--height=%1").arg(m_options.height)});
    QProcess* weston = p.get();
    m_windowManager = weston;
    m_processes.push_back(std::move(p));
    if (!weston->waitForStarted(5000)) {
        m_error = QStringLiteral("weston did not start (is its package installed?)");
        return false;
    }
    // "xserver listening on display :N" names the display of its Xwayland.
    QByteArray log;
    const QRegularExpression listening(QStringLiteral("xserver listening on display (:\\d+)"));
    QString xwayland;
    waitUntil(
        [&] {
            weston->waitForReadyRead(100);
            log += weston->readAll();
            const auto m = listening.match(QString::fromLocal8Bit(log));
            if (m.hasMatch())
                xwayland = m.captured(1);
            return !xwayland.isEmpty() || weston->state() == QProcess::NotRunning;
        },
        15000);
    if (xwayland.isEmpty()) {
        m_error = QStringLiteral("weston started no Xwayland: ") + QString::fromLocal8Bit(log);
        return false;
    }
    m_display = xwayland;
    qputenv("DISPLAY", m_display.toLatin1());
    // Xwayland starts with its first client; the window manager is ready once it
    // holds its selection there.
    return waitForSelection("WM_S0", QStringLiteral("weston's X window manager"));
}

bool PrivateDesktop::waitForSelection(const char* selection, const QString& what) {
    if (waitUntil([&] { return x11::selectionOwned(selection, m_display); }, 15000))
        return true;
    m_error = what + QStringLiteral(" did not come up on ") + m_display;
    return false;
}

void PrivateDesktop::stop(QProcess& p) {
    if (p.state() == QProcess::NotRunning)
        return;
    p.terminate();
    if (!p.waitForFinished(3000)) {
        p.kill();
        p.waitForFinished(3000);
    }
}

void PrivateDesktop::stopWindowManager() {
    if (m_windowManager)
        stop(*m_windowManager);
}

void PrivateDesktop::stopServer() {
    // The window manager and the compositor lose their display with it.
    if (m_server)
        stop(*m_server);
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
