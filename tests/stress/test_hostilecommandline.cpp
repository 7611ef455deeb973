// Clock names that must never reach the store, the data folder or the autostart
// folder, through every option of the real program that takes a name: each is
// refused with a reason that says what is wrong, and nothing is written.
#include "support/desktopdriver.h"
#include "support/testenv.h"

#include <QDirIterator>

#include <gtest/gtest.h>

using namespace ovra;

namespace {

QStringList filesUnder(const QString& dir) {
    QStringList files;
    QDirIterator it(dir, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next();
    return files;
}

// Runs the program with the arguments followed by "--" and the name given as shell
// printf(1) format, so that bytes that are not UTF-8 reach it as they are, and a
// name that looks like an option is a name.
test::ProgramResult runWithRawName(const QStringList& args, const char* printfName) {
    auto env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    QStringList shellArgs{QStringLiteral("-c"),
                          QStringLiteral("n=$(printf 'x%1'); exec \"$0\" \"$@\" -- \"${n#x}\"")
                              .arg(QString::fromLatin1(printfName)),
                          QStringLiteral(OVRA_CLOCK_BIN)};
    shellArgs += args;
    return test::runCapturing(QStringLiteral("/bin/sh"), shellArgs, 20000, env);
}

} // namespace

TEST(HostileCommandLine, EveryDoorRefusesUnsafeNamesAndWritesNothing) {
    const struct {
        const char* what;
        const char* printfName; // printf(1) text of the name
        const char* reason;     // part of the message
    } names[] = {
        {"parent folder", "../../x", "cannot contain \"/\" or \"\\\""},
        {"backslash", "a\\\\\\\\b", "cannot contain \"/\" or \"\\\""},
        {"braces", "{A}", "cannot contain \"{\" or \"}\""},
        {"list key", "System", "reserved for the clock list"},
        {"dot dot", "..", "is reserved"},
        {"control character", "bell\\007", "control characters"},
        {"escape sequence", "\\033[2J", "control characters"},
        {"right-to-left override", "abc\\342\\200\\256txt", "control characters"},
        {"not UTF-8", "Caf\\351", "not valid text"},
        {"an option", "--", "cannot begin with \"--\""},
        {"long", "%0300d", "too long"},
    };
    const QStringList doors[] = {
        {},
        {QStringLiteral("--add")},
        {QStringLiteral("--start")},
        {QStringLiteral("--stop")},
        {QStringLiteral("--delete")},
        {QStringLiteral("--render"), QStringLiteral("face.png")},
    };
    for (const QStringList& door : doors) {
        for (const auto& n : names) {
            const std::string where =
                (door.isEmpty() ? "name" : door[0].toStdString()) + " " + n.what;
            test::TestHome home;
            QDir::setCurrent(home.path());
            const test::ProgramResult r = runWithRawName(door, n.printfName);
            EXPECT_NE(r.exitCode, 0) << where;
            EXPECT_NE(r.exitCode, -1) << where << " crashed: " << qPrintable(r.err);
            EXPECT_TRUE(r.err.contains(QString::fromUtf8(n.reason)))
                << where << ": " << qPrintable(r.err);
            EXPECT_EQ(r.err.count(u'\n'), 1) << where << ": one line, " << qPrintable(r.err);
            EXPECT_EQ(filesUnder(home.path()), QStringList()) << where;
        }
    }
}
