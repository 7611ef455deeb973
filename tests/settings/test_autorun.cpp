#include "app/clockapp.h"
#include "base/apppaths.h"
#include "settings/autorun.h"
#include "settings/clocklist.h"
#include "settings/desktopentry.h"
#include "settings/keystore.h"
#include "settings/settingsstore.h"
#include "settings/sqlitestorebackend.h"
#include "support/testenv.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace ovra;

namespace {

const QString kProgram = QStringLiteral("/opt/Ovra Clock/bin/ovra-clock");

struct Entry {
    test::TestHome home;
    ClockState state;
    AppPaths paths;
    Autorun autorun{state, paths, kProgram};

    explicit Entry(const QString& name = QStringLiteral("Tokyo")) {
        state.clockName = name;
        paths.autostartFolder = home.path() + QStringLiteral("/config/autostart/");
    }
    QString file() const { return autorun.entryFilePath(); }
    // An entry with the given Exec line, marked so a rewrite can be told apart.
    void write(const QString& exec, const QString& extra = {}) {
        QDir().mkpath(paths.autostartFolder);
        QFile f(file());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(
            ("[Desktop Entry]\n# mark\nType=Application\nExec=" + exec + "\n" + extra).toUtf8());
    }
    static mode_t modeOf(const QString& path) {
        struct stat st {};
        ::lstat(QFile::encodeName(path).constData(), &st);
        return st.st_mode & 07777;
    }
    QString content() const {
        QFile f(file());
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }
};

} // namespace

TEST(Autorun, CommandLineIsTheProgramAndTheNameQuotedWhereNeeded) {
    const struct {
        const char* program;
        const char* name;
        const char* exec;
    } cases[] = {
        {"/usr/bin/ovra-clock", "Default", "/usr/bin/ovra-clock Default"},
        {"/usr/bin/ovra-clock", "New York", "/usr/bin/ovra-clock \"New York\""},
        {"/home/a b/ovra-clock", "Tokyo", "\"/home/a b/ovra-clock\" Tokyo"},
        {"/usr/bin/ovra-clock", "50% off", "/usr/bin/ovra-clock \"50%% off\""},
        {"/usr/bin/ovra-clock", "Joe's $HOME", "/usr/bin/ovra-clock \"Joe's \\$HOME\""},
        {"/usr/bin/ovra-clock", "say \"hi\"", "/usr/bin/ovra-clock \"say \\\"hi\\\"\""},
        {"/opt/a\\b/ovra-clock", "Tokyo", "\"/opt/a\\\\b/ovra-clock\" Tokyo"},
        // Alone, the name would read as an option.
        {"/usr/bin/ovra-clock", "-h", "/usr/bin/ovra-clock -- -h"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(
            Autorun::expectedCommandLine(QString::fromUtf8(c.program), QString::fromUtf8(c.name)),
            QString::fromUtf8(c.exec));
    EXPECT_EQ(Autorun::entryFilePath(QStringLiteral("/home/u/.config/autostart"),
                                     QStringLiteral("Tokyo")),
              QStringLiteral("/home/u/.config/autostart/Ovra Clock - Tokyo.desktop"));
}

// An entry starts its clock at every login: it is written only for a clock the list
// holds, and for Default, which always exists.
TEST(Autorun, AnEntryIsWrittenOnlyForAListedClock) {
    const struct {
        const char* name;
        const char* list;
        bool written;
    } cases[] = {
        {"Tokyo", "{Osaka}{Tokyo}", true},
        {"Tokyo", "{Osaka}", false},
        {"tokyo", "{Tokyo}", false},
        {"Default", "", true},
    };
    for (const auto& c : cases) {
        Entry e(QString::fromUtf8(c.name));
        test::MemoryStoreBackend backend;
        KeyStore store(backend);
        store.writeText(kClockListKey, kClockListValue, QString::fromUtf8(c.list));
        e.autorun.setClockListStore(&store);
        EXPECT_EQ(e.autorun.syncAutorunEntry(0), c.written ? 1 : 0) << c.name << c.list;
        EXPECT_EQ(QFile::exists(e.file()), c.written) << c.name << c.list;
    }
}

TEST(Autorun, AWrittenEntryReadsBackAsExpectedWhateverTheName) {
    for (const char* name : {"Default", "New York", "50% off", "Joe's $HOME", "tab\there", "a\\b",
                             // White space other than blanks belongs to the name, also at its ends.
                             "Tokyo\u00a0", "\u3000Kyoto\u2003"}) {
        Entry e{QString::fromUtf8(name)};
        EXPECT_EQ(e.autorun.getAutorunChoice(), 1) << name;
        EXPECT_EQ(e.autorun.syncAutorunEntry(0), 1) << name;
        EXPECT_EQ(e.autorun.getAutorunChoice(), 0) << name;
        EXPECT_EQ(readDesktopEntryKey(e.file(), QStringLiteral("Exec")),
                  e.autorun.expectedCommandLine());
    }
    EXPECT_EQ(unescapeDesktopValue(QStringLiteral("a\\sb\\\\c\\qd")), QStringLiteral("a b\\c\\qd"));
}

TEST(Autorun, DecisionTable) {
    enum class Before {
        None,
        Expected,
        WithoutTryExec,
        TrailingSpaces,
        TrailingNul,
        OtherCase,
        OtherProgram,
        Hidden
    };
    enum class After { None, Untouched, Rewritten };
    const struct {
        Before before;
        int wish;
        int choice; // getAutorunChoice before the sync
        int result;
        After after;
    } cases[] = {
        {Before::None, 0, 1, 1, After::Rewritten},
        {Before::None, 1, 1, 0, After::None},
        {Before::None, 2, 1, 0, After::None},
        {Before::Expected, 0, 0, 1, After::Untouched},
        {Before::Expected, 1, 0, 0, After::None},
        {Before::Expected, 2, 0, 0, After::None},
        // An entry from before TryExec is still the clock's own, and gains it.
        {Before::WithoutTryExec, 0, 0, 1, After::Rewritten},
        {Before::WithoutTryExec, 1, 0, 0, After::None},
        {Before::TrailingSpaces, 0, 0, 1, After::Untouched},
        // A session manager would not run a line with NULs in it as the clock's.
        {Before::TrailingNul, 0, 1, 1, After::Rewritten},
        {Before::TrailingNul, 1, 1, 0, After::Untouched},
        {Before::OtherCase, 0, 1, 1, After::Rewritten},
        {Before::OtherCase, 1, 1, 0, After::Untouched},
        // Only the wish 1 protects a foreign entry; any other non-zero wish removes it.
        {Before::OtherProgram, 2, 1, 0, After::None},
        {Before::OtherProgram, 0, 1, 1, After::Rewritten},
        {Before::Hidden, 0, 1, 1, After::Rewritten},
    };
    int row = 0;
    for (const auto& c : cases) {
        Entry e;
        const QString expected = e.autorun.expectedCommandLine();
        const QString tryExec = QStringLiteral("TryExec=") + kProgram + u'\n';
        switch (c.before) {
        case Before::None:
            break;
        case Before::Expected:
            e.write(expected, tryExec);
            break;
        case Before::WithoutTryExec:
            e.write(expected);
            break;
        case Before::TrailingSpaces:
            e.write(expected + QStringLiteral("   "), tryExec);
            break;
        case Before::TrailingNul:
            e.write(expected + QString(3, QChar(u'\0')));
            break;
        case Before::OtherCase:
            e.write(expected.toUpper());
            break;
        case Before::OtherProgram:
            e.write(QStringLiteral("/old/place/ovra-clock Tokyo"));
            break;
        case Before::Hidden:
            e.write(expected, QStringLiteral("Hidden=true\n"));
            break;
        }
        const QString before = e.content();
        EXPECT_EQ(e.autorun.getAutorunChoice(), c.choice) << "row " << row;
        EXPECT_EQ(e.autorun.syncAutorunEntry(c.wish), c.result) << "row " << row;
        switch (c.after) {
        case After::None:
            EXPECT_FALSE(QFile::exists(e.file())) << "row " << row;
            break;
        case After::Untouched:
            EXPECT_EQ(e.content(), before) << "row " << row;
            break;
        case After::Rewritten:
            EXPECT_FALSE(e.content().contains(QStringLiteral("# mark"))) << "row " << row;
            EXPECT_EQ(e.autorun.getAutorunChoice(), 0) << "row " << row;
            break;
        }
        ++row;
    }
}

// The entry is a command run at every login: whatever the umask, nobody else may
// change it or put another entry beside it in a folder the clock made. It names
// the program to try, so a session skips it once the program is removed, and stays
// valid for the desktop's own checker.
TEST(Autorun, TheEntryIsPrivateValidAndNamesTheProgramToTry) {
    const bool canValidate =
        !QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate")).isEmpty();
    for (const mode_t mask : {000, 002, 022, 077}) {
        SCOPED_TRACE(mask);
        Entry e;
        const QString config = e.home.path() + QStringLiteral("/made");
        e.paths.autostartFolder = config + QStringLiteral("/autostart/");
        // The store's folders, made the same way, beside it.
        const QString store = e.home.path() + QStringLiteral("/store");
        const mode_t old = ::umask(mask);
        const int result = e.autorun.syncAutorunEntry(0);
        {
            SqliteStoreBackend backend(store + QStringLiteral("/Tamrel/Ovra Clock/registry.db"));
            KeyStore(backend).writeInteger(
                QStringLiteral("HKEY_CURRENT_USER\\Software\\Ovra Clock\\A"), QStringLiteral("Top"),
                1);
        }
        ::umask(old);
        EXPECT_EQ(result, 1);
        EXPECT_EQ(Entry::modeOf(e.file()), 0600u);
        for (const QString& folder :
             {e.paths.autostartFolder, config, store, store + QStringLiteral("/Tamrel")})
            EXPECT_EQ(Entry::modeOf(folder), 0700u) << qPrintable(folder);
        EXPECT_EQ(readDesktopEntryKey(e.file(), QStringLiteral("TryExec")), kProgram);
        if (!canValidate)
            continue;
        QProcess check;
        check.start(QStringLiteral("desktop-file-validate"), {e.file()});
        ASSERT_TRUE(check.waitForFinished(30000));
        EXPECT_EQ(check.exitCode(), 0) << check.readAllStandardOutput().toStdString();
    }
    // An entry that others could write loses those rights when it is rewritten.
    Entry e;
    e.write(QStringLiteral("/old/place/ovra-clock Tokyo"));
    ASSERT_EQ(::chmod(QFile::encodeName(e.file()).constData(), 0666), 0);
    EXPECT_EQ(e.autorun.syncAutorunEntry(0), 1);
    EXPECT_EQ(Entry::modeOf(e.file()), 0600u);
}

TEST(Autorun, EveryShutdownBringsTheEntryInLine) {
    test::TestHome home;
    SqliteStoreBackend backend(home.storePath());
    KeyStore store(backend);
    test::RecordingMessageSink messages;
    SystemTimeSource time;
    const QString entry = Autorun::entryFilePath(home.path() + QStringLiteral("/config/autostart"),
                                                 QStringLiteral("Tokyo"));
    for (const int wish : {0, 1}) {
        ClockApp app({store, messages, time}, home.roots());
        Autorun autorun(app.state(), app.paths(), kProgram);
        app.setAutorunHost(&autorun);
        ASSERT_TRUE(app.startClock(QStringLiteral("Tokyo")));
        app.settings().Autorun = wish;
        app.shutdownClock(true);
        EXPECT_EQ(QFile::exists(entry), wish == 0) << wish;
    }
}

// A FIFO where the entry belongs blocked the shutdown in open() before the settings
// were saved. It is neither read nor replaced, and the clock says so.
TEST(Autorun, AFifoInPlaceOfTheEntryIsNeitherReadNorReplaced) {
    Entry e;
    QStringList warnings;
    Autorun autorun{e.state, e.paths, kProgram, [&](const QString& w) {
                        warnings << w;
                    }};
    QDir().mkpath(e.paths.autostartFolder);
    ASSERT_EQ(::mkfifo(QFile::encodeName(e.file()).constData(), 0600), 0);

    EXPECT_EQ(autorun.getAutorunChoice(), 1);
    EXPECT_EQ(autorun.syncAutorunEntry(0), 0);
    EXPECT_FALSE(QFileInfo(e.file()).isFile()) << "the FIFO was replaced";
    ASSERT_EQ(warnings.size(), 1);
    EXPECT_TRUE(warnings[0].contains(e.file() + QStringLiteral(" is not a regular file.")));
}
