// A clock reached from the keyboard under real window managers: the clock kept out
// of the taskbar and Alt+Tab comes to the front with the keyboard when a terminal
// asks for it, even though the user worked in another window just before.
#include "support/desktop.h"
#include "support/desktopdriver.h"
#include "support/testenv.h"

#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>

using namespace ovra;
using namespace ovra::test;

namespace {

const QString kClockCaption = QStringLiteral("Ovra Clock {Default}");
const QString kDialogCaption = QStringLiteral("Ovra Clock Configuration - Default");
const QRect kEditor(40, 40, 420, 300);

// The window the user works in: an editor the pointer clicks into, so the window
// manager sees a user's recent input there and guards its keyboard.
class Editor {
public:
    Editor() {
        m_process.start(QStringLiteral("xedit"),
                        {QStringLiteral("-geometry"), QStringLiteral("%1x%2+%3+%4")
                                                          .arg(kEditor.width())
                                                          .arg(kEditor.height())
                                                          .arg(kEditor.x())
                                                          .arg(kEditor.y())});
        m_ok = m_process.waitForStarted(5000) &&
               waitFor([&] { return !(m_window = windowNamed(QStringLiteral("xedit"))).isEmpty(); },
                       10000);
        QThread::msleep(300);
    }
    ~Editor() {
        m_process.kill();
        m_process.waitForFinished(3000);
    }
    bool ok() const { return m_ok && !m_window.contains(u'\n'); }
    QString window() const { return m_window; }
    // A click and a key in the editor: the user is working there now.
    void workIn() {
        pointTo(kEditor.center());
        xdotool({QStringLiteral("click"), QStringLiteral("1")});
        pressKeys({QStringLiteral("a")});
    }

private:
    QProcess m_process;
    QString m_window;
    bool m_ok = false;
};

QString activeWindow() {
    return xdotool({QStringLiteral("getactivewindow")}).trimmed();
}

struct Request {
    const char* what;
    QStringList args;   // what the terminal runs
    QString comesFirst; // the caption of the window that must get the keyboard
};

class KeyboardRoute : public ::testing::TestWithParam<Session> {};

} // namespace

TEST_P(KeyboardRoute, ATerminalsRequestBringsTheClockOrItsSettingsToTheKeyboard) {
    TestHome home;
    PrivateDesktop desktop(DesktopOptions{.session = GetParam()});
    ASSERT_TRUE(desktop.ok()) << qPrintable(desktop.error());
    ClockSettings s = defaultSettings();
    s.position = QPoint(700, 300);
    storeClockSettings(home, s);
    ClockProcess clock(QStringLiteral(OVRA_CLOCK_BIN));
    ASSERT_TRUE(waitFor([] { return !windowNamed(kClockCaption).isEmpty(); }, 10000));
    Editor editor;
    ASSERT_TRUE(editor.ok()) << "xedit did not come up";

    const Request requests[] = {
        {"--start of the running clock",
         {QStringLiteral("--start"), QStringLiteral("Default")},
         kClockCaption},
        {"a second start of the clock", {}, kClockCaption},
        {"--settings", {QStringLiteral("--settings")}, kDialogCaption},
        {"--settings of the open dialog",
         {QStringLiteral("--settings"), QStringLiteral("Default")},
         kDialogCaption},
    };
    for (const Request& r : requests) {
        SCOPED_TRACE(r.what);
        editor.workIn();
        ASSERT_TRUE(waitFor([&] { return activeWindow() == editor.window(); }, 5000))
            << "the editor did not take the keyboard";
        const ProgramResult run = runCapturing(QStringLiteral(OVRA_CLOCK_BIN), r.args);
        EXPECT_EQ(run.exitCode, 0) << qPrintable(run.err);
        QString expected;
        EXPECT_TRUE(waitFor(
            [&] {
                expected = windowNamed(r.comesFirst);
                return !expected.isEmpty() && activeWindow() == expected;
            },
            5000))
            << "active: " << qPrintable(activeWindow()) << ", wanted " << qPrintable(expected);
    }
    // Keys typed now reach the dialog, not the editor: Escape closes it.
    pressKeys({QStringLiteral("Escape")});
    EXPECT_TRUE(waitFor([] { return windowNamed(kDialogCaption).isEmpty(); }, 5000));

    clock.process.terminate();
    EXPECT_TRUE(clock.process.waitForFinished(5000));
}

INSTANTIATE_TEST_SUITE_P(Desktops, KeyboardRoute,
                         ::testing::Values(Session::Openbox, Session::Xfwm4, Session::Mutter),
                         [](const auto& info) { return sessionName(info.param).toStdString(); });
