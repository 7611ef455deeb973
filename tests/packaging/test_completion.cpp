// The bash completion, driven as bash drives it, against the real program listing
// a real store.
#include "support/desktopdriver.h"
#include "support/testenv.h"

#include "settings/clocklist.h"
#include "settings/keystore.h"
#include "settings/sqlitestorebackend.h"

#include <gtest/gtest.h>

using namespace ovra;

namespace {

// What the completion function offers for the words of a command line, the last
// one being the word the cursor is in.
QStringList complete(const QStringList& words) {
    QString script = QStringLiteral("source \"$1\"; COMP_WORDS=(");
    for (const QString& w : words)
        script += QLatin1Char('\'') + QString(w).replace(u'\'', QStringLiteral("'\\''")) +
                  QStringLiteral("' ");
    script += QStringLiteral(");COMP_CWORD=%1;_ovra_clock;printf '%s\\n' \"${COMPREPLY[@]}\"")
                  .arg(words.size() - 1);
    const test::ProgramResult r = test::runCapturing(
        QStringLiteral("bash"),
        {QStringLiteral("--norc"), QStringLiteral("--noprofile"), QStringLiteral("-c"), script,
         QStringLiteral("bash"), QStringLiteral(OVRA_BASH_COMPLETION)});
    EXPECT_EQ(r.exitCode, 0) << qPrintable(r.err);
    QStringList offered = r.out.split(u'\n', Qt::SkipEmptyParts);
    offered.sort();
    return offered;
}

// The line as an interactive shell (bash or zsh) on a terminal shows it after Tab
// was pressed at its end.
QString completeOnATerminal(const char* shell, const QString& line) {
    const test::ProgramResult r = test::runCapturing(
        QStringLiteral("zsh"),
        {QStringLiteral("-f"), QStringLiteral(OVRA_PTY_DRIVER), QString::fromLatin1(shell),
         QStringLiteral(OVRA_COMPLETION_DIR), QStringLiteral(OVRA_CLOCK_BIN " ") + line},
        40000);
    EXPECT_EQ(r.exitCode, 0) << qPrintable(r.err);
    return r.out.chopped(r.out.endsWith(u'\n') ? 1 : 0).mid(int(strlen(OVRA_CLOCK_BIN)) + 1);
}

void storeClockList(const test::TestHome& home) {
    SqliteStoreBackend backend(home.storePath());
    KeyStore reg(backend);
    ASSERT_EQ(reg.writeText(kClockListKey, kClockListValue,
                            QStringLiteral("{New York}{New Delhi}{Tokyo}{It's -- Stopped}"
                                           "{Tick`touch pwned`}{Price$HOME}{~tilde}")),
              StoreError::None);
}

} // namespace

TEST(BashCompletion, OffersOptionsZonesAndClockNamesWhereTheyCanStand) {
    test::TestHome home;
    storeClockList(home);
    const QString prog = QStringLiteral(OVRA_CLOCK_BIN);
    const struct {
        QStringList words;
        QStringList offered;
    } cases[] = {
        {{prog, "--st"}, {"--start", "--stop"}},
        {{prog, "--add", "X", "--"}, {"--zone"}},
        {{prog, "--render", "f.png", "--"}, {"--at"}},
        {{prog, "--add", "X", "--zone", "Asia/Ko"}, {"Asia/Kolkata"}},
        {{prog, "--add", "X", "--zone", "America/Argentina/Bu"},
         {"America/Argentina/Buenos_Aires"}},
        // The database's other zones and their cities, whole and quoted.
        {{prog, "--add", "X", "--zone", "Europe/Kie"}, {"Europe/Kiev"}},
        {{prog, "--add", "X", "--zone", "Lord"}, {"Lord\\ Howe"}},
        // A name of several words is offered whole, from its first word on, quoted for
        // the shell...
        {{prog, "--start", "New"}, {"New\\ Delhi", "New\\ York"}},
        {{prog, "--stop", "To"}, {"Tokyo"}},
        {{prog, "--delete", ""},
         {"Default", "It\\'s\\ --\\ Stopped", "New\\ Delhi", "New\\ York", "Price\\$HOME",
          "Tick\\`touch\\ pwned\\`", "Tokyo", "\\~tilde"}},
        // ...typed escaped or quoted...
        {{prog, "--start", "New\\ Y"}, {"New\\ York"}},
        {{prog, "--start", "\"New D"}, {"New Delhi"}},
        {{prog, "--start", "\"Pr"}, {"Price\\$HOME"}},
        // ...and from a later word when the first words stand alone; the name may also
        // come before the option.
        {{prog, "--start", "New", "Y"}, {"York"}},
        {{prog, "New", "D"}, {"Delhi"}},
        {{prog, "--stop", "It\\'s"}, {"It\\'s\\ --\\ Stopped"}},
        // A new clock's name is the user's own.
        {{prog, "--add", "N"}, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(complete(c.words).join(u'|').toStdString(), c.offered.join(u'|').toStdString())
            << qPrintable(c.words.join(u'|'));
}

// Tab in a real shell inserts every name as text: a name holding a backtick or $
// must not become a command or a variable when the user presses Enter.
TEST(ShellCompletion, CompletesOptionsZonesAndQuotesClockNamesOnATerminal) {
    test::TestHome home;
    storeClockList(home);
    const struct {
        const char* shell;
        const char* typed;
        const char* shown;
    } cases[] = {
        {"zsh", "--sto", "--stop "},
        {"zsh", "--add X --zo", "--add X --zone "},
        {"zsh", "--add X --zone Asia/Kolk", "--add X --zone Asia/Kolkata "},
        {"zsh", "--add X --zone Lord\\ H", "--add X --zone Lord\\ Howe "},
        {"bash", "--add X --zone Zuri", "--add X --zone Zurich "},
        {"zsh", "--render f.png --a", "--render f.png --at "},
        {"zsh", "--stop To", "--stop Tokyo "},
        {"zsh", "--start New\\ Y", "--start New\\ York "},
        {"zsh", "--delete It", "--delete It\\'s\\ --\\ Stopped "},
        {"zsh", "--start Ti", "--start Tick\\`touch\\ pwned\\` "},
        {"zsh", "--add N", "--add N"},
        {"bash", "--add X --zone America/New_Y", "--add X --zone America/New_York "},
        {"bash", "--start New\\ Y", "--start New\\ York "},
        {"bash", "--start Ti", "--start Tick\\`touch\\ pwned\\` "},
        {"bash", "--start Pr", "--start Price\\$HOME "},
        {"bash", "--start ~t", "--start \\~tilde "},
        {"bash", "--start \"Ti", "--start \"Tick\\`touch pwned\\`\" "},
        {"bash", "--stop 'It", "--stop 'It'\\''s -- Stopped' "},
    };
    for (const auto& c : cases)
        EXPECT_EQ(completeOnATerminal(c.shell, QString::fromUtf8(c.typed)).toStdString(), c.shown)
            << c.shell << ": " << c.typed;
}
