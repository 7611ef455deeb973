#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <list>
#include <memory>

namespace ovra::test {

// The desktops the clock is tried on. Each is a real X server with the window
// manager and compositor users run, from the distribution's packages.
enum class Session {
    Bare,          // Xvfb and xcompmgr, no window manager
    Openbox,       // a reparenting window manager that does not composite, with xcompmgr
    Xfwm4,         // Xfce's window manager with its own compositor
    Xfwm4Xcompmgr, // Xfce's window manager, its compositor off, xcompmgr instead
    Mutter,        // GNOME's window manager and compositor in X11 mode
    Weston,        // a Wayland compositor; the clock runs through its Xwayland
};

QString sessionName(Session session);

struct DesktopOptions {
    Session session = Session::Bare;
    int width = 1280;
    int height = 800;
    // A second monitor of this size to the right of the first (0: none). The two are
    // RandR monitors of one X screen, as a desktop with two monitors has them.
    int secondWidth = 0;
    int secondHeight = 0;
    bool compositor = true; // for Bare: xcompmgr, or a plain X server
};

// A private desktop for whole-process tests: DISPLAY points at it while the object
// lives; every process it started is ended by PID when it goes.
class PrivateDesktop {
public:
    explicit PrivateDesktop(int width = 1280, int height = 800, bool compositor = true);
    explicit PrivateDesktop(const DesktopOptions& options);
    ~PrivateDesktop();
    PrivateDesktop(const PrivateDesktop&) = delete;
    PrivateDesktop& operator=(const PrivateDesktop&) = delete;

    bool ok() const { return m_ok; }
    QString display() const { return m_display; }
    // Where pointer events and screenshots go: the display itself, or for Weston the
    // X server that shows the compositor's output.
    QString screenDisplay() const { return m_screenDisplay; }
    QString error() const { return m_error; }
    Session session() const { return m_options.session; }
    bool hasWindowManager() const { return m_options.session != Session::Bare; }

    // Ends the window manager alone, as when it crashes; the X server stays.
    void stopWindowManager();
    // Ends the X server, as a logout or a crash of the server does.
    void stopServer();

private:
    QProcess& spawn(const QString& program, const QStringList& args,
                    const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment());
    bool startServer(const QString& program, QStringList args);
    bool startWeston();
    bool waitForSelection(const char* selection, const QString& what);
    void stop(QProcess& p);

    DesktopOptions m_options;
    std::list<std::unique_ptr<QProcess>> m_processes; // started in this order
    QProcess* m_server = nullptr;
    QProcess* m_windowManager = nullptr;
    QTemporaryDir m_runtime; // Weston's socket folder
    QString m_display;
    QString m_screenDisplay;
    QByteArray m_savedDisplay;
    QString m_error;
    bool m_ok = false;
};

// Runs a program to completion with a time limit; returns its exit code, or -1
// when it could not start or ran over (then it is killed).
int runProgram(const QString& program, const QStringList& args, int timeoutMs = 10000,
               QByteArray* output = nullptr);

} // namespace ovra::test
