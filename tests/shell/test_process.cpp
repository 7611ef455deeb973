// The real executable, started the way a user or a script starts it.
#include "support/testenv.h"

#include <QDir>
#include <QDirIterator>
#include <QProcess>

#include <gtest/gtest.h>

using namespace ovra;

namespace {
struct ProcessResult {
    int exitCode = -1;
    QString out;
    QString err;
};

ProcessResult run(const QStringList& args, const QProcessEnvironment& env) {
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(OVRA_CLOCK_BIN), args);
    ProcessResult r;
    if (!p.waitForFinished(15000)) {
        p.kill();
        p.waitForFinished();
        return r;
    }
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
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
    const ProcessResult version = run({QStringLiteral("--version")}, env);
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out.trimmed(), QStringLiteral("Ovra Clock ") + QStringLiteral(OVRA_VERSION));
    const ProcessResult help = run({QStringLiteral("--help")}, env);
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.contains(QStringLiteral("--render"))) << qPrintable(help.out);
    const ProcessResult bad = run({QStringLiteral("--no-such-option")}, env);
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
        const ProcessResult r = run(args, env);
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
    const ProcessResult r = run({QStringLiteral("Tokyo")}, env);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err.trimmed(), QStringLiteral("Ovra Clock Error: Load GDI+ Error!"));
    EXPECT_EQ(filesUnder(home.path()), QStringList());
}
