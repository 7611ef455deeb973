// The real executable, started the way a user or a script starts it.
#include "support/desktopdriver.h"
#include "support/testenv.h"

#include <QDir>
#include <QDirIterator>
#include <QProcess>

#include <gtest/gtest.h>

using namespace ovra;

namespace {
test::ProgramResult run(const QStringList& args, const QProcessEnvironment& env) {
    return test::runCapturing(QStringLiteral(OVRA_CLOCK_BIN), args, 15000, env);
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
        EXPECT_EQ(r.exitCode, 2) << qPrintable(args.join(u' '));
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
    const test::ProgramResult r = run({QStringLiteral("Tokyo")}, env);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err.trimmed(), QStringLiteral("Ovra Clock Error: Load GDI+ Error!"));
    EXPECT_EQ(filesUnder(home.path()), QStringList());
}
