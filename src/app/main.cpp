#include "app/busguard.h"
#include "app/clockcommandline.h"
#include "app/clockprocess.h"
#include "app/commandline.h"
#include "app/testtime.h"
#include "base/apppaths.h"
#include "base/clockname.h"
#include "base/display.h"
#include "base/memorytrim.h"
#include "base/ossupport.h"
#include "base/platformtexts.h"
#include "base/translations.h"
#include "clock/appicon.h"
#include "clock/poolthreadpainter.h"
#include "clock/rendercommand.h"
#include "settings/clockcommands.h"
#include "settings/clocklist.h"
#include "settings/instancepaths.h"
#include "settings/localinstancechannel.h"
#include "settings/sqlitestorebackend.h"
#include "time/zonesearch.h"

#include <QApplication>
#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>
#include <optional>

using namespace ovra;

namespace {

void printErr(const QString& text) {
    std::fprintf(stderr, "ovra-clock: %s\n", qUtf8Printable(text));
}

int runClock(int argc, char** argv, const QString& name) {
    // First of all, so a test that sets the clock's time knows it from the start.
    const SystemTimeSource computerTime;
    const ProcessTime processTime(computerTime, printErr);
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
    // Before anything reaches a bus: the clock's resume watch, the first show.
    guardBuses(printErr);

    const InstancePlaces places =
        instancePlaces(PathRoots::fromSystem(), SocketFolderFor::Listening);
    InstanceServer channel(places, name);
    if (const std::optional<int> stepBack =
            ClockProcess::claimName(channel, places, name, printErr))
        return *stepBack;
    ClockProcess process(qapp, channel, places, processTime, name, printErr);
    return process.run();
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
