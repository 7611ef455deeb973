#include "settings/registrysqlite.h"
#include "shell/clockapp.h"
#include "shell/clockname.h"
#include "shell/commandline.h"
#include "shell/display.h"
#include "shell/guimessagesink.h"
#include "shell/placeholderfrontend.h"

#include <QApplication>

#include <cstdio>

using namespace ovra;

namespace {

void printErr(const QString& text) {
    std::fprintf(stderr, "ovra-clock: %s\n", qUtf8Printable(text));
}

int runClock(int argc, char** argv, const QString& name) {
    if (!displayAvailable()) {
        StderrMessageSink().showMessage(QStringLiteral("Load GDI+ Error!"), kErrorTitle,
                                        MessageIcon::Stop);
        return 1;
    }
    QApplication qapp(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Ovra Clock"));
    QApplication::setApplicationVersion(QStringLiteral(OVRA_VERSION));

    const PathRoots roots = PathRoots::fromSystem();
    SqliteRegistryBackend backend(AppPaths::storePathFor(roots), printErr);
    Registry registry(backend);
    GuiMessageSink messages;
    SystemTimeSource time;
    ClockApp clock({registry, messages, time}, roots);

    PlaceholderFrontEnd window(clock);
    clock.setWindowHost(&window);
    if (!clock.StartClock(name))
        return 1;
    return qapp.exec();
}

} // namespace

int main(int argc, char** argv) {
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    const CommandLine cl = parseCommandLine(args);
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
    case CommandLine::Action::RunClock:
        break;
    default:
        printErr(QStringLiteral("This option is not available in this build."));
        return 2;
    }
    if (const QString problem = clockNameProblem(cl.clockName); !problem.isEmpty()) {
        printErr(problem);
        return 2;
    }
    return runClock(argc, argv, cl.clockName);
}
