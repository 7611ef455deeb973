#include "alarms/alarmcontroller.h"
#include "alarms/desktopsessionend.h"
#include "alarms/desktopshellopen.h"
#include "alarms/loadedalarmsound.h"
#include "alarms/logindpoweractions.h"
#include "alarms/logindresumewatch.h"
#include "app/busguard.h"
#include "app/clockapp.h"
#include "app/clockcommandline.h"
#include "app/commandline.h"
#include "app/guimessagesink.h"
#include "base/apppaths.h"
#include "base/clockname.h"
#include "base/display.h"
#include "base/exitguard.h"
#include "base/memorytrim.h"
#include "base/ossupport.h"
#include "base/platformtexts.h"
#include "base/translations.h"
#include "clock/appicon.h"
#include "clock/clockfrontend.h"
#include "clock/poolthreadpainter.h"
#include "clock/rendercommand.h"
#include "clock/terminationwatcher.h"
#include "clock/windowsystem.h"
#include "dialogs/clockdialogs.h"
#include "dialogs/colourpicker.h"
#include "dialogs/filechooser.h"
#include "dialogs/linkopener.h"
#include "dialogs/modaldialogs.h"
#include "dialogs/ownclockchannel.h"
#include "dialogs/settingsdialog.h"
#include "settings/autorun.h"
#include "settings/clockcommands.h"
#include "settings/clocklauncher.h"
#include "settings/clocklist.h"
#include "settings/instancepaths.h"
#include "settings/instanceserver.h"
#include "settings/localinstancechannel.h"
#include "settings/sqlitestorebackend.h"
#include "time/zonesearch.h"

#include <QApplication>
#include <QCoreApplication>
#include <QTextStream>
#include <QTimer>

#include <cstdio>
#include <functional>
#include <optional>

using namespace ovra;

namespace {

void printErr(const QString& text) {
    std::fprintf(stderr, "ovra-clock: %s\n", qUtf8Printable(text));
}

int runClock(int argc, char** argv, const QString& name) {
    tuneAllocatorForLongRun();
    // Qt paints over a frame sent through shared memory only after a round trip
    // that makes sure the X server has read it: a wake of two threads every
    // second. The few kilobytes of a partial frame cost less sent over the
    // connection. Only this process's connection is meant; the programs it starts
    // get the environment as it was.
    const bool shmChosenByUser = qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM");
    if (!shmChosenByUser)
        qputenv("QT_XCB_NO_MITSHM", "1");
    QApplication qapp(argc, argv);
    if (!shmChosenByUser)
        qunsetenv("QT_XCB_NO_MITSHM");
    const Translations translations(QCoreApplication::applicationDirPath());
    if (!PoolThreadPainter::keepOnePoolThread()) {
        printErr(QCoreApplication::translate(
            "CommandLine", "No thread can be started (a process or memory limit), so the clock "
                           "cannot draw and does not start."));
        return 1;
    }
    QApplication::setApplicationName(QStringLiteral("Ovra Clock"));
    QApplication::setApplicationVersion(QStringLiteral(OVRA_VERSION));
    // Every window takes it: the clock, the dialogs and the notice.
    QApplication::setWindowIcon(applicationIcon());
    // Before anything reaches a bus: the resume watch below, the first show.
    guardBuses(printErr);

    const PathRoots roots = PathRoots::fromSystem();
    SqliteStoreBackend backend(AppPaths::storePathFor(roots), printErr);
    KeyStore store(backend);
    GuiMessageSink messages;
    SystemTimeSource time;
    ClockApp clock({store, messages, time}, roots);

    // One process per clock: the name is claimed before anything is shown, and a
    // second start of a running clock only brings that clock forward.
    const InstancePlaces places = instancePlaces(roots, SocketFolderFor::Listening);
    InstanceServer channel(places, name);
    QString channelProblem;
    switch (channel.claim(&channelProblem)) {
    case InstanceServer::Claim::AlreadyRunning:
        // A clock that is stopped, hung or unable to listen keeps its name all the
        // same; this process steps back, and says why nothing came to the front.
        if (LocalInstanceChannel(places).find(name, true) == kNotAnswering)
            printErr(QCoreApplication::translate("CommandLine",
                                                 "The clock %1 is running but does not answer.")
                         .arg(u'"' + name + u'"'));
        return 0;
    case InstanceServer::Claim::Failed:
        printErr(channelProblem +
                 QCoreApplication::translate("CommandLine", " The clock cannot be started."));
        return 1;
    case InstanceServer::Claim::Unreachable:
        printErr(channelProblem + QCoreApplication::translate(
                                      "CommandLine", " Other clocks cannot reach this one."));
        break;
    case InstanceServer::Claim::Listening:
        break;
    }
    Autorun autorun(clock.state(), clock.paths(), QCoreApplication::applicationFilePath(),
                    printErr);
    autorun.setClockListStore(&store);
    clock.setAutorunHost(&autorun);

    DesktopWindowSystem windowSystem;
    ClockFrontEnd frontEnd(clock, windowSystem);
    ClockWindow& window = frontEnd.window();
    clock.setWindowHost(&frontEnd);
    LoadedAlarmSound alarmSound(
        LoadedAlarmSound::moduleFolders(QCoreApplication::applicationDirPath()), printErr);
    LogindPowerActions powerActions;
    DesktopSessionEnd sessionEnd;
    DesktopShellOpen shellOpen;
    LogindResumeWatch resume;
    // The notice opens on the monitor MonitorID names, where the clock was dropped.
    AlarmController alarms(clock, {.sound = alarmSound,
                                   .power = powerActions,
                                   .shell = shellOpen,
                                   .resume = &resume,
                                   .session = &sessionEnd});
    clock.setAlarmHost(&alarms);
    // The alarm check runs on the clock's second; the notice closes first at shutdown.
    QObject::connect(&window, &ClockWindow::secondTick, &alarms, &AlarmController::checkAlarms);
    QObject::connect(&alarms, &AlarmController::noticeOpened, [&](QWidget* notice) {
        frontEnd.otherWindows().add(notice, ClockWindowList::Role::Notice);
    });
    // The process ends when the clock window has unloaded, not when some other
    // window happens to be the last one closed.
    QApplication::setQuitOnLastWindowClosed(false);
    QObject::connect(&window, &ClockWindow::unloaded, &qapp, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    // A session that ends or a terminal that closes unloads the clock like its
    // close button does, so the settings are saved. Modal dialogs and message boxes
    // are cancelled first, so no nested event loop runs on into a dialog that the
    // unload deletes. Before the clock is up (a start-up message box is open) the
    // process just ends: there are no settings of its own to save yet.
    bool endedDuringStart = false;
    const std::function<void()> unloadOwnClock = [&] {
        closeModalDialogs();
        if (!clock.isUp()) {
            endedDuringStart = true;
            clock.abandonStart();
            return;
        }
        window.unloadClock();
    };
    TerminationWatcher termination;
    QObject::connect(&termination, &TerminationWatcher::terminationRequested, &window,
                     [&] { unloadOwnClock(); });
    // The settings dialog reaches this clock directly and the others over the
    // channel; the about box is shared with it, one of each per process.
    const std::function<void()> raiseOwnClock = [&] {
        window.raise();
    };
    // Set once the dialogs exist; the channel that reaches them is made first.
    std::function<void()> showOwnSettings;
    LocalInstanceChannel otherClocks(places);
    OwnClockChannel dialogChannel(otherClocks, {name, raiseOwnClock, unloadOwnClock, [&] {
                                                    if (showOwnSettings)
                                                        showOwnSettings();
                                                }});
    DetachedClockLauncher launcher(QCoreApplication::applicationFilePath());
    ClockList clockList({store, dialogChannel, launcher, messages},
                        AppPaths::build(name, roots).autostartFolder);
    // A clock added from the dialog is spread over the primary work area, in the
    // twips this clock converts its own position with.
    clockList.setPlacementArea([&] {
        const WinRect work = windowSystem.primaryWorkArea();
        return PlacementArea{
            QRect(work.left, work.top, work.right - work.left, work.bottom - work.top),
            clock.screenMetrics().tx, clock.screenMetrics().ty};
    });
    DialogColourPicker colourPicker([&] { return clock.settings().AlwaysOnTop == 1; });
    DialogFileChooser fileChooser;
    DesktopLinkOpener linkOpener;
    ConfigServices config{clock, clockList, autorun, colourPicker, fileChooser};
    config.closeOwnClock = unloadOwnClock;
    ClockDialogs dialogs(config, linkOpener, frontEnd.otherWindows(), &window);
    QObject::connect(&window, &ClockWindow::settingsRequested, &dialogs,
                     &ClockDialogs::openSettings);
    QObject::connect(&window, &ClockWindow::aboutRequested, &dialogs, &ClockDialogs::openAbout);
    // Asked for from a terminal or a launcher: the dialog stands on its own, as with
    // Page Up, and takes the keyboard, which is the whole point of the request.
    showOwnSettings = [&] {
        dialogs.openSettings(false);
        windowSystem.activateForUser(dialogs.settingsDialog());
    };
    // Where the grip drops the clock is kept at once, not only at the shutdown.
    QObject::connect(&window, &ClockWindow::moveFinished, [&] { clock.saveClockPosition(); });
    // Answered from the start: a start-up message box runs the event loop, and a
    // --stop meanwhile closes it and ends the process as SIGTERM does. Until the
    // clock is up there is no window to raise.
    // close must return only once shutdownClock(true) has finished.
    channel.serve({.raise =
                       [&] {
                           if (!clock.isUp())
                               return;
                           window.showNormal();
                           window.raise();
                           windowSystem.activateForUser(&window);
                       },
                   .settings =
                       [&] {
                           if (!clock.isUp() || clock.shutdownStarted())
                               return false;
                           showOwnSettings();
                           return true;
                       },
                   .close = unloadOwnClock});
    if (!clock.startClock(name))
        return endedDuringStart ? 0 : 1;
    // Start-up reads the store, the fonts and the settings once and frees much of
    // what it used; once the first frames are out, those pages go back.
    QTimer::singleShot(2000, &window, [] { releaseFreedMemory(); });
    // A display that goes away (a logout that ends the X server, a crashed server)
    // takes the process with it; what the user set is saved on the way out.
    const ExitGuard displayLoss([&] {
        clock.saveWithoutDisplay();
        printErr(QCoreApplication::translate(
                     "CommandLine", "The connection to the display was lost; the settings of the "
                                    "clock \"%1\" are saved.")
                     .arg(name));
    });
    return qapp.exec();
}

int runClockCommand(const CommandLine& cl) {
    const PathRoots roots = PathRoots::fromSystem();
    SqliteStoreBackend backend(AppPaths::storePathFor(roots), printErr);
    KeyStore store(backend);
    StderrMessageSink errors;
    LocalInstanceChannel channel(instancePlaces(roots, SocketFolderFor::Looking));
    DetachedClockLauncher launcher(QCoreApplication::applicationFilePath());
    ClockList clocks({store, channel, launcher, errors},
                     AppPaths::build(kDefaultClockName, roots).autostartFolder);
    QTextStream out(stdout);
    const QDateTime now = QDateTime::currentDateTimeUtc();
    return runClockCommand(cl, clocks, out, errors, zoneForNewClock(computerZone(now), now),
                           kAddStartWaitMs, displayAvailable);
}

// Everything up to the start of a clock or a drawing: the words, --help, the clock
// commands and the refusals, in the user's language. The clock and the renderer
// start an application of their own and load the catalogues again.
std::optional<int> runWithoutDisplay(int argc, char** argv, CommandLine& cl) {
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    QCoreApplication app(argc, argv);
    const Translations translations(QCoreApplication::applicationDirPath());
    cl = parseCommandLine(args);
    if (!cl.error.isEmpty()) {
        printErr(cl.error);
        return 2;
    }
    switch (cl.action) {
    case CommandLine::Action::Help:
        std::fputs(qUtf8Printable(usageText()), stdout);
        return 0;
    case CommandLine::Action::Version:
        std::printf("Ovra Clock %s\n", OVRA_VERSION);
        return 0;
    case CommandLine::Action::ListZones:
        for (const QString& line : zoneListLines(QDateTime::currentDateTimeUtc()))
            std::printf("%s\n", qUtf8Printable(line));
        return 0;
    case CommandLine::Action::ListPlaces:
        for (const QString& line : ZoneFinder(QDateTime::currentDateTimeUtc()).placeLines())
            std::printf("%s\n", qUtf8Printable(line));
        return 0;
    case CommandLine::Action::RunClock:
    case CommandLine::Action::Render:
        break;
    case CommandLine::Action::List:
    case CommandLine::Action::Add:
    case CommandLine::Action::Start:
    case CommandLine::Action::Stop:
    case CommandLine::Action::Delete:
    case CommandLine::Action::Settings:
        return runClockCommand(cl);
    default:
        printErr(QCoreApplication::translate("CommandLine",
                                             "This option is not available in this build."));
        return 2;
    }
    if (const QString problem = clockNameProblem(cl.clockName); !problem.isEmpty()) {
        printErr(problem);
        return 1;
    }
    if (cl.action == CommandLine::Action::Render)
        return checkRenderRequest({cl.renderFile, cl.at, cl.clockName});
    {
        // Read only: a name that is refused leaves not even an empty store behind.
        SqliteStoreBackend backend(AppPaths::storePathFor(PathRoots::fromSystem()), {}, 3000,
                                   SqliteStoreBackend::Access::ReadOnly);
        KeyStore store(backend);
        StderrMessageSink errors;
        if (!clockMayStart(store, cl.clockName, errors))
            return 1;
    }
    choosePlatform();
    if (!displayAvailable()) {
        StderrMessageSink().showMessage(QString::fromLatin1(platformtext::NoDisplay), kErrorTitle,
                                        MessageIcon::Stop);
        return 1;
    }
    return std::nullopt;
}

} // namespace

int main(int argc, char** argv) {
    // Settled before Qt or any library reads the environment, and passed on to the
    // clocks this process starts.
    dropRelativeFolderVariables();
    preventSessionBusAutolaunch();
    CommandLine cl;
    if (const std::optional<int> done = runWithoutDisplay(argc, argv, cl))
        return *done;
    if (cl.action == CommandLine::Action::Render)
        return runRenderCommand(argc, argv, {cl.renderFile, cl.at, cl.clockName});
    return runClock(argc, argv, cl.clockName);
}
