// The real executable, started the way a user or a script starts it.
#include "alarms/alarmfile.h"
#include "support/desktopdriver.h"
#include "support/fakesocket.h"
#include "support/testenv.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QProcess>
#include <QThread>
#include <QTime>

#include "settings/clocklist.h"
#include "settings/instancepaths.h"
#include "settings/keystore.h"
#include "settings/settingsstore.h"
#include "settings/sqlitestorebackend.h"

#include <csignal>
#include <functional>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

using namespace ovra;

namespace {
// Built with the sanitizers, whose runtime needs more than some limits below allow.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif

test::ProgramResult run(const QStringList& args, const QProcessEnvironment& env) {
    return test::runCapturing(QStringLiteral(OVRA_CLOCK_BIN), args, 15000, env);
}

// The program with something set in the child alone, such as a resource limit.
test::ProgramResult
runModified(const QStringList& args, const std::function<void()>& inChild,
            const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment()) {
    QProcess p;
    p.setProcessEnvironment(env);
    p.setChildProcessModifier(inChild);
    p.start(QStringLiteral(OVRA_CLOCK_BIN), args);
    test::ProgramResult r;
    if (p.waitForFinished(15000) && p.exitStatus() == QProcess::NormalExit)
        r.exitCode = p.exitCode();
    r.out = QString::fromLocal8Bit(p.readAllStandardOutput());
    r.err = QString::fromLocal8Bit(p.readAllStandardError());
    return r;
}

void listClocks(const test::TestHome& home, const QString& text) {
    SqliteStoreBackend backend(home.storePath());
    KeyStore reg(backend);
    ASSERT_EQ(reg.writeText(kClockListKey, kClockListValue, text), 0);
}

QString listedClocks(const test::TestHome& home) {
    SqliteStoreBackend backend(home.storePath());
    KeyStore reg(backend);
    return reg.readText(kClockListKey, kClockListValue);
}

QStringList filesUnder(const QString& dir) {
    QStringList files;
    QDirIterator it(dir, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next();
    return files;
}
} // namespace

TEST(Process, HelpAndVersion) {
    test::TestHome home;
    const auto env = QProcessEnvironment::systemEnvironment();
    const test::ProgramResult version = run({QStringLiteral("--version")}, env);
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out.trimmed(), QStringLiteral("Ovra Clock ") + QStringLiteral(OVRA_VERSION));
    const test::ProgramResult help = run({QStringLiteral("--help")}, env);
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.contains(QStringLiteral("--render"))) << qPrintable(help.out);
    const test::ProgramResult bad = run({QStringLiteral("--no-such-option")}, env);
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_TRUE(bad.err.contains(QStringLiteral("--no-such-option")));
}

// The status rule that --help states holds for each kind of outcome, and names of
// several words reach the clock list whatever the option.
TEST(Process, NamesOfSeveralWordsAndTheStatedExitStatuses) {
    test::TestHome home;
    auto env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    const QString help = run({QStringLiteral("--help")}, env).out;
    for (const char* stated : {"0 when done", "1 when refused", "2 when"})
        EXPECT_TRUE(help.contains(QString::fromUtf8(stated))) << stated;
    const auto words = [](const char* line) {
        return QString::fromUtf8(line).split(u' ', Qt::SkipEmptyParts);
    };
    const struct {
        const char* args;
        int exitCode;
        const char* err; // part of stderr; empty: nothing
    } cases[] = {
        {"--stop New York", 1, "There is no clock named \"New York\"."},
        {"--start New York", 1,
         "There is no clock named \"New York\". Add it with --add New York."},
        {"--delete New York", 1, "There is no clock named \"New York\"."},
        {"--zone 10 --start New York", 2, "--zone only goes with --add."},
        {"--stop", 2, "--stop needs a clock name."},
        {"--stop a/b", 1, "cannot contain"},
        {"--list", 0, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args);
        const test::ProgramResult r = run(words(c.args), env);
        EXPECT_EQ(r.exitCode, c.exitCode) << qPrintable(r.err);
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.err))) << qPrintable(r.err);
        EXPECT_FALSE(r.err.contains(QStringLiteral("Unexpected words"))) << qPrintable(r.err);
    }
}

// --settings reaches only a running clock; for a stopped one it says how to start it,
// and it starts nothing itself.
TEST(Process, SettingsOfAStoppedClockSayHowToStartIt) {
    test::TestHome home;
    listClocks(home, QStringLiteral("{Tokyo}"));
    auto env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    const struct {
        QStringList args;
        const char* err;
    } cases[] = {
        {{QStringLiteral("--settings")},
         "The clock \"Default\" is not running. Start it with --start."},
        {{QStringLiteral("--settings"), QStringLiteral("Tokyo")},
         "The clock \"Tokyo\" is not running. Start it with --start."},
        {{QStringLiteral("--settings=Tokyo")},
         "The clock \"Tokyo\" is not running. Start it with --start."},
        {{QStringLiteral("--settings"), QStringLiteral("New"), QStringLiteral("York")},
         "There is no clock named \"New York\". Add it with --add."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(qPrintable(c.args.join(u' ')));
        const test::ProgramResult r = run(c.args, env);
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.err))) << qPrintable(r.err);
        EXPECT_EQ(r.err.count(u'\n'), 1) << "one message: " << qPrintable(r.err);
        EXPECT_TRUE(r.out.isEmpty()) << qPrintable(r.out);
    }
    // Nothing was started: the clocks are as stopped as before.
    const test::ProgramResult list = run({QStringLiteral("--list")}, env);
    EXPECT_EQ(list.out, QStringLiteral("Default -- Stopped\nTokyo -- Stopped\n"));
}

TEST(Process, UnsafeNamesAreRefusedBeforeAnythingIsWritten) {
    const QStringList names[] = {
        {QStringLiteral("../../etc/passwd")},
        {QStringLiteral("{A}")},
        {QStringLiteral("System")},
        {QStringLiteral("a\\b")},
        {QStringLiteral("..")},
        {QStringLiteral("bell\a")},
        {QString(300, u'x')},
    };
    for (const QStringList& args : names) {
        test::TestHome home;
        auto env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        const test::ProgramResult r = run(args, env);
        EXPECT_EQ(r.exitCode, 1) << qPrintable(args.join(u' '));
        EXPECT_TRUE(r.err.startsWith(QStringLiteral("ovra-clock: "))) << qPrintable(r.err);
        EXPECT_EQ(filesUnder(home.path()), QStringList()) << qPrintable(args.join(u' '));
    }
}

TEST(Process, WithoutADisplayItSaysSoAndWritesNothing) {
    test::TestHome home;
    auto env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    const test::ProgramResult r = run({}, env);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err.trimmed(), QStringLiteral("Ovra Clock Error: Cannot open the display."));
    EXPECT_EQ(filesUnder(home.path()), QStringList());
}

TEST(Process, AStoreThatCannotBeReadIsReportedByListAndDelete) {
    test::TestHome home;
    {
        SqliteStoreBackend backend(home.storePath());
        KeyStore reg(backend);
        ASSERT_EQ(reg.writeText(kClockListKey, kClockListValue, QStringLiteral("{B}")), 0);
        ASSERT_EQ(reg.writeInteger(QStringLiteral("HKEY_CURRENT_USER\\Software\\Ovra Clock\\B"),
                                   QStringLiteral("TimeZoneIndex"), 3),
                  0);
    }
    // As on a full disk: the store's shared-memory file cannot be made.
    const auto run = [](const QStringList& args) {
        return runModified(args, [] {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit none{0, 0};
            ::setrlimit(RLIMIT_FSIZE, &none);
        });
    };
    const QStringList commands[] = {{QStringLiteral("--list")},
                                    {QStringLiteral("--delete"), QStringLiteral("B")}};
    for (const QStringList& args : commands) {
        SCOPED_TRACE(args.join(u' ').toStdString());
        const test::ProgramResult r = run(args);
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_TRUE(r.err.contains(QStringLiteral("could not be read"))) << qPrintable(r.err);
        EXPECT_TRUE(r.err.contains(QStringLiteral("I/O error"))) << qPrintable(r.err);
        EXPECT_FALSE(r.err.contains(QStringLiteral("There is no clock"))) << qPrintable(r.err);
        EXPECT_FALSE(r.out.contains(QStringLiteral("Default"))) << qPrintable(r.out);
    }
    SqliteStoreBackend backend(home.storePath());
    KeyStore reg(backend);
    EXPECT_EQ(reg.readText(kClockListKey, kClockListValue), QStringLiteral("{B}"));
}

TEST(Process, RelativeXdgFoldersAreIgnored) {
    test::TestHome home;
    const QString work = home.path() + QStringLiteral("/work");
    ASSERT_TRUE(QDir().mkpath(work));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* variable :
         {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_RUNTIME_DIR", "XDG_CACHE_HOME"})
        env.insert(QString::fromLatin1(variable), QStringLiteral("relative"));
    const QStringList commands[] = {{QStringLiteral("--list")},
                                    {QStringLiteral("--stop"), QStringLiteral("Tokyo")}};
    for (const QStringList& args : commands) {
        QProcess p;
        p.setProcessEnvironment(env);
        p.setWorkingDirectory(work);
        p.start(QStringLiteral(OVRA_CLOCK_BIN), args);
        ASSERT_TRUE(p.waitForFinished(15000));
    }
    // Nothing below the working folder; the store is where an unset variable puts it.
    EXPECT_EQ(QDir(work).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList());
    EXPECT_TRUE(
        QFileInfo::exists(home.path() + QStringLiteral("/.config/Tamrel/Ovra Clock/registry.db")));

    qputenv("XDG_CONFIG_HOME", "relative");
    qputenv("XDG_DATA_HOME", "relative");
    qputenv("XDG_RUNTIME_DIR", "relative");
    const PathRoots roots = PathRoots::fromSystem();
    EXPECT_EQ(roots.configRoot, home.path() + QStringLiteral("/.config"));
    EXPECT_EQ(roots.dataRoot, home.path() + QStringLiteral("/.local/share"));
    EXPECT_EQ(roots.runtimeRoot, QString());
    // A relative temporary folder would move the sockets with the working folder.
    qputenv("TMPDIR", "relative");
    dropRelativeFolderVariables();
    EXPECT_FALSE(qEnvironmentVariableIsSet("TMPDIR"));
    EXPECT_FALSE(qEnvironmentVariableIsSet("XDG_CONFIG_HOME"));
    EXPECT_TRUE(QDir::isAbsolutePath(QDir::tempPath()));
    EXPECT_EQ(qgetenv("HOME"), QFile::encodeName(home.path()));
}

// --help and the refusals follow the user's language; the lines of --list, which
// scripts read, stay English in any language.
TEST(Process, MessagesFollowTheLanguageButListStaysEnglish) {
    test::TestHome home;
    auto english = QProcessEnvironment::systemEnvironment();
    english.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    english.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    auto german = english;
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANGUAGE"})
        german.remove(QString::fromLatin1(variable));
    german.insert(QStringLiteral("LANG"), QStringLiteral("de_DE.UTF-8"));

    const QString help = run({QStringLiteral("--help")}, german).out;
    EXPECT_TRUE(help.contains(QStringLiteral("Optionen:"))) << qPrintable(help);
    EXPECT_TRUE(help.contains(QStringLiteral("  --render FILE.png  "))) << qPrintable(help);
    EXPECT_TRUE(run({QStringLiteral("--help")}, english).out.contains(QStringLiteral("Options:")));
    const test::ProgramResult refused =
        run({QStringLiteral("--stop"), QStringLiteral("Nowhere")}, german);
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains(QStringLiteral("Es gibt keine Uhr namens „Nowhere“.")))
        << qPrintable(refused.err);

    const test::ProgramResult list = run({QStringLiteral("--list")}, german);
    EXPECT_EQ(list.exitCode, 0) << qPrintable(list.err);
    EXPECT_EQ(list.out, QStringLiteral("Default -- Stopped\n"));
    EXPECT_EQ(list.out, run({QStringLiteral("--list")}, english).out);
}

// A zone is named as a user knows it, and a clock added without one takes the
// computer's own zone by its name, not the first row of its offset (Casablanca for
// London). A new clock follows its place's daylight saving.
TEST(Process, ZonesAreFoundByNameAndNewClocksFollowTheirPlace) {
    test::TestHome home;
    auto env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("TZ"), QStringLiteral("Europe/London"));

    const test::ProgramResult zones = run({QStringLiteral("--list-zones")}, env);
    EXPECT_EQ(zones.exitCode, 0);
    const QStringList lines = zones.out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 97);
    EXPECT_TRUE(lines[15].startsWith(
        QStringLiteral("15\t(UTC-05:00) Eastern Time (US & Canada)\tAmerica/New_York\t-0")))
        << qPrintable(lines[15]);
    EXPECT_TRUE(lines[65].endsWith(QStringLiteral("\tAsia/Kolkata\t+05:30")))
        << qPrintable(lines[65]);

    const struct {
        QStringList args;
        int exitCode;
        const char* err;   // part of stderr
        const char* clock; // the clock added, with its stored zone below
        int zone;
    } cases[] = {
        {{"--add", "New", "York", "--zone", "America/New_York"}, 0, "", "New York", 15},
        {{"--add", "Home"}, 0, "", "Home", 35},
        {{"--add", "Tokyo", "--zone", "tokyo"}, 0, "", "Tokyo", 81},
        {{"--add", "Paulo", "--zone", "São Paulo"}, 0, "", "Paulo", 24},
        {{"--add", "X", "--zone", "new"}, 2, "15\t(UTC-05:00) Eastern Time (US & Canada)", "", 0},
        {{"--add", "X", "--zone", "Atlantis"}, 2, "No zone matches \"Atlantis\"", "", 0},
        {{"--add", "X", "--zone", "97"}, 2, "No zone has the number 97", "", 0},
        {{"--add", "Zurich", "--zone", "Schweiz"}, 0, "", "Zurich", 37},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(u' ').toStdString());
        const test::ProgramResult r = run(c.args, env);
        EXPECT_EQ(r.exitCode, c.exitCode) << qPrintable(r.err);
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.err))) << qPrintable(r.err);
        if (!*c.clock)
            continue;
        const QString name = QString::fromUtf8(c.clock);
        run({QStringLiteral("--stop"), name}, env);
        const ClockSettings stored = test::storedClockSettings(home, name);
        EXPECT_EQ(stored.TimeZoneIndex, c.zone);
        EXPECT_EQ(stored.TimeStandard, 2);
    }
}

// Out of descriptors, a failed socket() is no proof that a clock is stopped: the
// commands say what went wrong and change nothing.
TEST(Process, OutOfDescriptorsTheCommandsReportAnErrorAndChangeNothing) {
    if (kSanitized)
        GTEST_SKIP() << "the sanitizers' own checks need descriptors this limit takes away";
    test::TestHome home;
    listClocks(home, QStringLiteral("{B}"));
    const QStringList commands[] = {{QStringLiteral("--list")},
                                    {QStringLiteral("--delete"), QStringLiteral("B")},
                                    {QStringLiteral("--stop"), QStringLiteral("B")}};
    for (const QStringList& args : commands) {
        SCOPED_TRACE(args.join(u' ').toStdString());
        const test::ProgramResult r = runModified(args, [] {
            // Room for the store and not one descriptor more, besides what the
            // program inherits from whoever runs the test.
            rlim_t few = 7;
            for (int fd = 3; rlim_t(fd) < few; ++fd) {
                const int flags = ::fcntl(fd, F_GETFD);
                if (flags >= 0 && (flags & FD_CLOEXEC) == 0)
                    ++few;
            }
            const rlimit limit{few, few};
            ::setrlimit(RLIMIT_NOFILE, &limit);
        });
        EXPECT_EQ(r.exitCode, 1) << qPrintable(r.out);
        EXPECT_TRUE(r.err.contains(QStringLiteral("is running cannot be checked")))
            << qPrintable(r.err);
        EXPECT_FALSE(r.out.contains(QStringLiteral("Stopped"))) << qPrintable(r.out);
    }
    EXPECT_EQ(listedClocks(home), QStringLiteral("{B}"));
}

namespace {
// The program's English texts on the offscreen platform.
QProcessEnvironment offscreen() {
    auto env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.remove(QStringLiteral("LANGUAGE"));
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    return env;
}

QString defaultSocket(const test::TestHome& home) {
    return instanceSocketPath(instanceSocketFolder(home.roots().runtimeRoot),
                              QStringLiteral("Default"));
}

// A clock of this test (Default unless args name another) on the offscreen
// platform, its error output in a file; limits are shell commands (ulimit) that
// apply to it alone.
// runAs, when given, is a command that the clock is run by, such as setpriv.
struct OffscreenClock {
    explicit OffscreenClock(const test::TestHome& home, const QString& limits = QStringLiteral(":"),
                            const QStringList& args = {}, const QString& runAs = {})
        : errors(home.path() + QStringLiteral("/clock.err")),
          clock(QStringLiteral("/bin/sh"),
                QStringList{QStringLiteral("-c"),
                            limits + QStringLiteral(" && exec ") + runAs +
                                QStringLiteral(" \"$0\" \"$@\""),
                            QStringLiteral(OVRA_CLOCK_BIN)} +
                    args,
                {QStringLiteral("QT_QPA_PLATFORM=offscreen")}, errors) {}
    QString err() const {
        QFile f(errors);
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }
    bool ends() {
        ::kill(pid_t(clock.process.processId()), SIGTERM);
        return clock.endsWithin(15000);
    }
    QString errors;
    test::ClockProcess clock;
};

QString listed() {
    return test::runCapturing(QStringLiteral(OVRA_CLOCK_BIN), {QStringLiteral("--list")}, 15000,
                              offscreen())
        .out;
}

// A connection that never says anything; -1 when the clock's queue is full.
int connectSilently(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::memcpy(addr.sun_path, name.constData(), size_t(name.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd >= 0 && ::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) == 0)
        return fd;
    ::close(fd);
    return -1;
}
} // namespace

// Callers that connect and never speak, more than the clock has descriptors for,
// do not cut it off: the ones that waited longest give way to new ones.
TEST(Process, SilentCallersDoNotMakeTheClockUnreachable) {
    test::TestHome home;
    OffscreenClock clock(home, QStringLiteral("ulimit -n 128"));
    ASSERT_TRUE(test::waitFor([] { return listed() == "Default -- Running\n"; }));
    // Held until the end; a clock that stops taking them leaves the rest waiting.
    std::vector<int> silent;
    for (int tries = 0; silent.size() < 300 && tries < 2000; ++tries) {
        if (const int fd = connectSilently(defaultSocket(home)); fd >= 0)
            silent.push_back(fd);
        else
            QThread::msleep(5);
    }
    EXPECT_TRUE(test::waitFor([] { return listed() == "Default -- Running\n"; }))
        << qPrintable(listed());
    for (const int fd : silent)
        ::close(fd);
    EXPECT_TRUE(clock.ends());
}

// A folder in the way of the socket leaves the clock unreachable, but it still
// holds its name: a second start does not run a second copy, the list does not
// call it stopped, and --stop ends it. A folder in the way of the name's lock stops the start
// with a message instead of a silent exit.
TEST(Process, AClockThatCannotListenRunsOnceAndSaysSo) {
    test::TestHome home;
    const QString socket = defaultSocket(home);
    ASSERT_TRUE(QDir().mkpath(socket));
    OffscreenClock first(home);
    EXPECT_TRUE(test::waitFor([&] { return listed() == "Default -- Not answering\n"; }))
        << qPrintable(listed());
    const test::ProgramResult second = run({}, offscreen());
    EXPECT_EQ(second.exitCode, 0);
    EXPECT_TRUE(second.err.contains(QStringLiteral("is running but does not answer")))
        << qPrintable(second.err);
    // --stop ends it all the same.
    EXPECT_EQ(run({QStringLiteral("--stop"), QStringLiteral("Default")}, offscreen()).exitCode, 0);
    EXPECT_TRUE(first.clock.endsWithin(15000));
    EXPECT_TRUE(first.err().contains(QStringLiteral("Other clocks cannot reach this one.")))
        << qPrintable(first.err());

    ASSERT_TRUE(QDir().rmdir(socket));
    ASSERT_TRUE(QDir().mkpath(
        instanceNameLockPath(instancePlaces(home.roots(), SocketFolderFor::Looking).nameFolder,
                             QStringLiteral("Default"))));
    const test::ProgramResult blocked = run({}, offscreen());
    EXPECT_EQ(blocked.exitCode, 1);
    EXPECT_TRUE(blocked.err.contains(QStringLiteral("cannot be locked")))
        << qPrintable(blocked.err);
}

namespace {
// The runtime and temporary folders of one shell of the test's user; the test's
// own are put back when it goes.
class Shell {
public:
    explicit Shell(const test::TestHome& home) : m_home(home) {}
    ~Shell() {
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_home.roots().runtimeRoot));
        qputenv("TMPDIR", QFile::encodeName(m_home.roots().tempFolder));
    }
    // runtime false: no XDG_RUNTIME_DIR; temp: a folder of the home ("tmp" is the
    // home's own).
    void enter(bool runtime, const QString& temp) {
        if (runtime)
            qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_home.roots().runtimeRoot));
        else
            qunsetenv("XDG_RUNTIME_DIR");
        const QString folder = m_home.path() + u'/' + temp;
        QDir().mkpath(folder);
        qputenv("TMPDIR", QFile::encodeName(folder));
    }

private:
    const test::TestHome& m_home;
};
} // namespace

// The same clock started and asked for from shells whose runtime or temporary
// folders differ is one process: a second start only brings it forward, and every
// shell lists it running and stops it.
TEST(Process, EveryShellOfTheUserMeetsTheSameClock) {
    const struct {
        const char* what;
        bool firstRuntime;
        const char* firstTemp;
        bool secondRuntime;
        const char* secondTemp;
    } cases[] = {
        {"then a shell without a runtime folder", true, "tmp", false, "tmp"},
        {"first a shell without a runtime folder", false, "tmp", true, "tmp"},
        {"two shells with other temporary folders", false, "tmp", false, "tmp2"},
        {"other runtime and temporary folders", true, "tmp", false, "tmp2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        test::TestHome home;
        Shell shell(home);
        shell.enter(c.firstRuntime, QString::fromLatin1(c.firstTemp));
        OffscreenClock first(home);
        ASSERT_TRUE(first.clock.process.waitForStarted());
        ASSERT_TRUE(test::waitFor([] { return listed() == "Default -- Running\n"; }))
            << qPrintable(listed());

        shell.enter(c.secondRuntime, QString::fromLatin1(c.secondTemp));
        EXPECT_EQ(listed().toStdString(), "Default -- Running\n");
        // A second process of the clock would run on and be killed at the limit.
        const test::ProgramResult second = run({}, offscreen());
        EXPECT_EQ(second.exitCode, 0) << qPrintable(second.err);
        EXPECT_FALSE(first.clock.process.waitForFinished(0)) << "the first clock ended";
        const test::ProgramResult stop =
            run({QStringLiteral("--stop"), QStringLiteral("Default")}, offscreen());
        EXPECT_EQ(stop.exitCode, 0) << qPrintable(stop.err);
        EXPECT_TRUE(first.clock.endsWithin(15000));
        EXPECT_EQ(listed().toStdString(), "Default -- Stopped\n");
    }
}

// A socket folder in the temporary folder that is open to others is not used,
// whatever waits in it: a lock held there at the clock's name neither keeps the
// clock from starting nor makes it "running but not answering".
TEST(Process, ASocketFolderOpenToOthersIsNotUsed) {
    test::TestHome home;
    Shell shell(home);
    shell.enter(false, QStringLiteral("tmp"));
    const QString planted = home.path() + QStringLiteral("/tmp/ovra-clock-%1").arg(::getuid());
    ASSERT_TRUE(QDir().mkpath(planted));
    ASSERT_EQ(::chmod(QFile::encodeName(planted).constData(), 0777), 0);
    const QString lock = instanceLockPath(instanceSocketPath(planted, QStringLiteral("Default")));
    test::ClockProcess holder(QStringLiteral("flock"),
                              {lock, QStringLiteral("sleep"), QStringLiteral("60")});
    ASSERT_TRUE(holder.process.waitForStarted());
    ASSERT_TRUE(test::waitFor([&] {
        return test::runCapturing(QStringLiteral("flock"),
                                  {QStringLiteral("-n"), lock, QStringLiteral("true")})
                   .exitCode == 1;
    }));

    const test::ProgramResult bystander = run({QStringLiteral("--list")}, offscreen());
    EXPECT_EQ(bystander.out.toStdString(), "Default -- Stopped\n");
    OffscreenClock clock(home);
    EXPECT_TRUE(test::waitFor([] { return listed() == "Default -- Running\n"; }))
        << qPrintable(listed()) << qPrintable(clock.err());
    EXPECT_FALSE(clock.err().contains(QStringLiteral("does not answer")))
        << qPrintable(clock.err());
    const test::ProgramResult stop =
        run({QStringLiteral("--stop"), QStringLiteral("Default")}, offscreen());
    EXPECT_EQ(stop.exitCode, 0) << qPrintable(stop.err);
    EXPECT_TRUE(clock.clock.endsWithin(15000));
    EXPECT_FALSE(holder.process.waitForFinished(0)) << "the lock's holder was ended";
}

// A start-up message box runs while the clock's name is already taken: --stop
// reaches the clock then, closes the box and ends the process.
TEST(Process, StopReachesAClockWhoseStartUpMessageWaits) {
    test::TestHome home;
    // An alarm file that is a folder cannot be read, and the clock says so.
    ASSERT_TRUE(QDir().mkpath(home.path() + QStringLiteral("/data/Tamrel/Ovra Clock/Default.cfg")));
    OffscreenClock clock(home);
    const QString socket = defaultSocket(home);
    ASSERT_TRUE(test::waitFor([&] { return QFileInfo(socket).exists(); }));
    const test::ProgramResult stop =
        run({QStringLiteral("--stop"), QStringLiteral("Default")}, offscreen());
    EXPECT_EQ(stop.exitCode, 0) << qPrintable(stop.err);
    EXPECT_TRUE(clock.clock.endsWithin(15000));
}

// Under a process or memory limit no thread can start, and Qt would wait for good
// on the threads it asks for to draw and to reach the bus: the clock says so and
// ends. Every thread's stack is as large as the stack limit, so a stack limit
// above the address-space limit lets the process run but no thread start.
TEST(Process, AClockThatCannotStartAThreadSaysSoInsteadOfHanging) {
    if (kSanitized)
        GTEST_SKIP() << "the sanitizers' shadow memory does not fit an address-space limit";
    test::TestHome home;
    const test::ProgramResult r =
        test::runCapturing(QStringLiteral("/bin/sh"),
                           {QStringLiteral("-c"),
                            QStringLiteral("ulimit -s 3000000 && ulimit -v 2000000 && exec \"$0\""),
                            QStringLiteral(OVRA_CLOCK_BIN)},
                           15000, offscreen());
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("No thread can be started"))) << qPrintable(r.err);
}

namespace {
// Root's processes start threads past any process limit, whatever their
// capabilities: under root the clock, and whatever speaks to it, runs as a user of
// its own, so that the limit is reached by the clock's threads alone. Anyone else
// runs it as themselves, and their other processes count as well.
constexpr int kLimitedUser = 61731;

QStringList asLimitedUser(const QStringList& command) {
    if (::geteuid() != 0)
        return command;
    const QString id = QString::number(kLimitedUser);
    return QStringList{QStringLiteral("setpriv"), QStringLiteral("--reuid=") + id,
                       QStringLiteral("--regid=") + id, QStringLiteral("--clear-groups")} +
           command;
}

test::ProgramResult runAsLimitedUser(const QStringList& command) {
    const QStringList full = asLimitedUser(command);
    return test::runCapturing(full.first(), full.mid(1), 15000, offscreen());
}

// The test's folders become the limited user's, as a user's own folders are.
void giveToLimitedUser(const QString& dir) {
    if (::geteuid() != 0)
        return;
    QStringList all{dir};
    QDirIterator it(dir, QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        all << it.next();
    for (const QString& path : all)
        ASSERT_EQ(::lchown(QFile::encodeName(path).constData(), kLimitedUser, kLimitedUser), 0)
            << qPrintable(path);
}

// The "Default" clock's alarm file with one tip that sounds the default sound.
void writeTipAlarm(const test::TestHome& home, const QTime& at) {
    ASSERT_TRUE(test::storeAlarm(
        home, test::alarmDueAt(at, alarmaction::showTip, playtime::Loop, QStringLiteral("Tea"))));
}
} // namespace

// A clock that reaches the process limit after it started rings without a sound,
// says why, and still closes: nothing it does later waits for a thread that never
// started.
TEST(Process, AClockPastItsProcessLimitRingsSilentlyAndStillCloses) {
    test::TestHome home;
    // The alarm falls due at the next minute, with time before it to start the clock
    // and set the limit.
    if (QTime::currentTime().second() > 40)
        QThread::msleep(ulong(61 - QTime::currentTime().second()) * 1000);
    const QDateTime due = QDateTime::currentDateTime().addSecs(60);
    ASSERT_NO_FATAL_FAILURE(writeTipAlarm(home, due.time()));
    // A sound server that takes each connection and closes it at once: the clock
    // plays to no machine's sound, and the audio libraries hear the refusal only on
    // a thread of their own. Where that thread did not start, they wait for the
    // server's answer for good, as they do for a real one.
    const QString soundPath = home.path() + QStringLiteral("/sound");
    const test::FakeSocketServer sound(QFile::encodeName(soundPath),
                                       test::FakeSocketServer::Manner::Refusing);
    ASSERT_TRUE(sound.ok());
    ASSERT_NO_FATAL_FAILURE(giveToLimitedUser(home.path()));
    QString setUp =
        QStringLiteral("export PULSE_SERVER='") + QStringLiteral("unix:") + soundPath + u'\'';
    // The leak check of a sanitized build needs a thread at the exit.
    if (kSanitized)
        setUp += QStringLiteral(" && export ASAN_OPTIONS=\"$ASAN_OPTIONS:detect_leaks=0\"");
    OffscreenClock clock(home, setUp, {}, asLimitedUser({}).join(u' '));
    ASSERT_TRUE(test::waitFor([] {
        return runAsLimitedUser({QStringLiteral(OVRA_CLOCK_BIN), QStringLiteral("--list")}).out ==
               "Default -- Running\n";
    })) << qPrintable(clock.err());
    const QString pid = QString::number(clock.clock.process.processId());
    const test::ProgramResult limited = runAsLimitedUser(
        {QStringLiteral("prlimit"), QStringLiteral("--pid"), pid, QStringLiteral("--nproc=1:1")});
    ASSERT_EQ(limited.exitCode, 0) << qPrintable(limited.err);
    QDateTime minuteOf = due;
    minuteOf.setTime(QTime(due.time().hour(), due.time().minute()));
    ASSERT_LT(QDateTime::currentDateTime(), minuteOf) << "the limit came after the alarm";
    // The settings dialog opens all the same, and is still open when the clock closes.
    const test::ProgramResult settings = runAsLimitedUser(
        {QStringLiteral(OVRA_CLOCK_BIN), QStringLiteral("--settings"), QStringLiteral("Default")});
    EXPECT_EQ(settings.exitCode, 0) << qPrintable(settings.err);

    EXPECT_TRUE(test::waitFor(
        [&] {
            return clock.err().contains(
                u"ovra-clock: An alarm stays silent: no thread can be started (a "
                u"process or memory limit).\n");
        },
        int(QDateTime::currentDateTime().msecsTo(minuteOf)) + 15000))
        << qPrintable(clock.err());
    QElapsedTimer took;
    took.start();
    const test::ProgramResult stop = runAsLimitedUser(
        {QStringLiteral(OVRA_CLOCK_BIN), QStringLiteral("--stop"), QStringLiteral("Default")});
    EXPECT_EQ(stop.exitCode, 0) << qPrintable(stop.err);
    EXPECT_LT(took.elapsed(), 5000);
    EXPECT_TRUE(clock.clock.endsWithin(5000)) << qPrintable(clock.err());
    // Nothing on the way asked for a thread and went on without it.
    EXPECT_FALSE(clock.err().contains(u"Thread creation error")) << qPrintable(clock.err());
}

// A word with a dash is an option, never a clock: -h and -v are --help and
// --version, and any other is refused as --bogus is. A name that begins with a
// dash follows "--", and reaches the clock that is started for it and the entry
// that starts it with the session the same way.
TEST(Process, DashedWordsAreOptionsAndADashedNameFollowsDoubleDash) {
    test::TestHome home;
    const QString help = run({QStringLiteral("--help")}, offscreen()).out;
    const struct {
        QStringList args;
        int exitCode;
        QString out;
        const char* err; // part of stderr
    } cases[] = {
        {{"-h"}, 0, help, ""},
        {{"-v"}, 0, QStringLiteral("Ovra Clock " OVRA_VERSION "\n"), ""},
        {{"-x"}, 2, {}, "ovra-clock: Unknown option -x. Try --help.\n"},
        {{"-"}, 2, {}, "ovra-clock: Unknown option -. Try --help.\n"},
        {{"--add", "-h"}, 2, {}, "-h cannot be combined with another action."},
        {{"--", "--"}, 1, {}, "cannot begin with \"--\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(u' ').toStdString());
        const test::ProgramResult r = run(c.args, offscreen());
        EXPECT_EQ(r.exitCode, c.exitCode) << qPrintable(r.err);
        EXPECT_EQ(r.out, c.out);
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.err))) << qPrintable(r.err);
    }
    EXPECT_EQ(filesUnder(home.path()), QStringList());

    listClocks(home, QStringLiteral("{-h}"));
    const test::ProgramResult started =
        run({QStringLiteral("--start"), QStringLiteral("--"), QStringLiteral("-h")}, offscreen());
    EXPECT_EQ(started.exitCode, 0) << qPrintable(started.err);
    EXPECT_EQ(listed(), QStringLiteral("Default -- Stopped\n-h -- Running\n"));
    EXPECT_EQ(
        run({QStringLiteral("--stop"), QStringLiteral("--"), QStringLiteral("-h")}, offscreen())
            .exitCode,
        0);
    QFile entry(home.path() + QStringLiteral("/config/autostart/Ovra Clock - -h.desktop"));
    ASSERT_TRUE(entry.open(QIODevice::ReadOnly));
    EXPECT_TRUE(entry.readAll().contains("\nExec=" OVRA_CLOCK_BIN " -- -h\n"));
}

// Only a listed clock starts. A name typed wrong starts nothing and writes nothing;
// the refusal says how to add it and names the listed clock it differs from only
// in case or accents.
TEST(Process, ANameThatIsNotListedStartsNothing) {
    test::TestHome home;
    listClocks(home, QStringLiteral("{São Paulo}{Tokyo}"));
    const struct {
        QStringList args;
        const char* err; // after "Ovra Clock Error: "
    } cases[] = {
        {{"Sao", "Paulo"},
         "There is no clock named \"Sao Paulo\". Add it with --add Sao Paulo. Did you mean "
         "\"São Paulo\"?"},
        {{"default"},
         "There is no clock named \"default\". Add it with --add default. Did you mean "
         "\"Default\"?"},
        {{"Osaka"}, "There is no clock named \"Osaka\". Add it with --add Osaka."},
        {{"--", "-x"}, "There is no clock named \"-x\". Add it with --add -- -x."},
        {{"--start", "TOKYO"},
         "There is no clock named \"TOKYO\". Add it with --add TOKYO. Did you mean \"Tokyo\"?"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(u' ').toStdString());
        const test::ProgramResult r = run(c.args, offscreen());
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.err, QStringLiteral("Ovra Clock Error: ") + QString::fromUtf8(c.err) + u'\n');
    }
    EXPECT_EQ(filesUnder(home.path() + QStringLiteral("/data")), QStringList());
    EXPECT_EQ(filesUnder(home.path() + QStringLiteral("/config/autostart")), QStringList());
    EXPECT_EQ(listedClocks(home), QStringLiteral("{São Paulo}{Tokyo}"));
    SqliteStoreBackend backend(home.storePath());
    for (const char* name : {"Sao Paulo", "default", "Osaka", "-x", "TOKYO"}) {
        const KeyPath key = splitKeyPath(clockKeyPath(QString::fromUtf8(name)));
        EXPECT_FALSE(backend.keyExists(key.root, key.subKey)) << name;
    }

    // A list that cannot be read proves nothing: the clock starts and says what is
    // wrong with the store, as it always did.
    test::TestHome unreadable;
    QFile store(unreadable.storePath());
    ASSERT_TRUE(QDir().mkpath(QFileInfo(store).absolutePath()));
    ASSERT_TRUE(store.open(QIODevice::WriteOnly));
    store.write(QByteArray(4096, 'x'));
    store.close();
    OffscreenClock clock(unreadable, QStringLiteral(":"), {QStringLiteral("Tokyo")});
    EXPECT_TRUE(test::waitFor([&] { return clock.err().contains(u"cannot be read"); }))
        << qPrintable(clock.err());
    EXPECT_FALSE(clock.err().contains(u"There is no clock")) << qPrintable(clock.err());
    EXPECT_TRUE(clock.ends());
}

// Without a display, --add keeps the clock it added and says at once why it cannot
// show it, instead of waiting for a clock that has already given up; --start says
// the same.
TEST(Process, WithoutADisplayAddAndStartSayWhyAtOnce) {
    test::TestHome home;
    auto env = offscreen();
    for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QString::fromLatin1(variable));
    const struct {
        const char* action;
        const char* err; // after "Ovra Clock Error: The clock "Tokyo" "
    } cases[] = {
        {"--add", "was added, but it cannot be shown: no display could be opened."},
        {"--start", "cannot be started: no display could be opened."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.action);
        QElapsedTimer took;
        took.start();
        const test::ProgramResult r =
            run({QString::fromUtf8(c.action), QStringLiteral("Tokyo")}, env);
        EXPECT_LT(took.elapsed(), 3000);
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(r.err, QStringLiteral("Ovra Clock Error: The clock \"Tokyo\" ") +
                             QString::fromUtf8(c.err) + u'\n');
        EXPECT_EQ(listedClocks(home), QStringLiteral("{Tokyo}"));
    }
}
