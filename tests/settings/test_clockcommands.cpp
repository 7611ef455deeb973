#include "settings/clockcommands.h"
#include "settings/clockfakes.h"
#include "settings/clocklist.h"
#include "settings/settingsstore.h"
#include "support/testenv.h"
#include "time/zonetable.h"

#include <gtest/gtest.h>

using namespace ovra;

namespace {

struct Cli {
    test::TestHome home;
    test::MemoryRegistryBackend backend;
    Registry reg{backend};
    test::FakeInstanceChannel channel;
    test::RecordingLauncher launcher;
    test::RecordingMessageSink errors;
    ClockList clocks{{reg, channel, launcher, errors}, home.path() + QStringLiteral("/autostart")};
    QString out;

    explicit Cli(const QString& list = QStringLiteral("{A}{Tokyo}")) {
        reg.writeText(kClockListKey, kClockListValue, list);
    }
    int run(CommandLine::Action action, const QString& target = {}, std::optional<int> zone = {}) {
        CommandLine cl;
        cl.action = action;
        cl.target = target;
        cl.zone = zone;
        QTextStream stream(&out);
        return RunClockCommand(cl, clocks, stream, errors, 33);
    }
    QString error() const {
        return errors.messages.empty() ? QString() : errors.messages.back().text;
    }
};

using Action = CommandLine::Action;

} // namespace

TEST(ClockCommands, ListShowsEveryClockInOrderWithItsState) {
    Cli cli;
    cli.channel.running = {{QStringLiteral("Default"), 5}, {QStringLiteral("Tokyo"), 6}};
    EXPECT_EQ(cli.run(Action::List), 0);
    EXPECT_EQ(cli.out, QStringLiteral("Default -- Running\nA -- Stopped\nTokyo -- Running\n"));
    EXPECT_TRUE(cli.channel.raised.isEmpty()); // a listing does not shuffle the windows
}

TEST(ClockCommands, StartStopAndDeleteAnswerWithExitCodeAndMessage) {
    const struct {
        Action action;
        const char* name;
        bool running;
        CloseOutcome close;
        int exitCode;
        const char* error;  // empty: none
        const char* output; // what goes to stdout
    } cases[] = {
        {Action::Start, "A", false, CloseOutcome::Closed, 0, "", ""},
        {Action::Start, "Default", true, CloseOutcome::Closed, 0, "",
         "The clock \"Default\" is already running.\n"},
        {Action::Start, "Osaka", false, CloseOutcome::Closed, 1,
         "There is no clock named \"Osaka\". Add it with --add.", ""},
        {Action::Start, "a/b", false, CloseOutcome::Closed, 1,
         "The clock name \"a/b\" cannot contain \"/\" or \"\\\".", ""},
        {Action::Stop, "Tokyo", true, CloseOutcome::Closed, 0, "", ""},
        {Action::Stop, "Tokyo", false, CloseOutcome::Closed, 1,
         "The clock \"Tokyo\" is not running.", ""},
        {Action::Stop, "Tokyo", true, CloseOutcome::TimedOut, 1,
         "The clock \"Tokyo\" did not finish closing within 5 seconds.", ""},
        {Action::Delete, "Default", false, CloseOutcome::Closed, 1,
         "Default clock can not be deleted.", ""},
        {Action::Delete, "Osaka", false, CloseOutcome::Closed, 1,
         "There is no clock named \"Osaka\".", ""},
        {Action::Delete, "Tokyo", true, CloseOutcome::Closed, 0, "", ""},
    };
    for (const auto& c : cases) {
        Cli cli;
        const QString name = QString::fromUtf8(c.name);
        if (c.running)
            cli.channel.running.insert(name, 77);
        cli.channel.closeOutcome = c.close;
        EXPECT_EQ(cli.run(c.action, name), c.exitCode) << c.name;
        EXPECT_EQ(cli.error(), QString::fromUtf8(c.error)) << c.name;
        EXPECT_EQ(cli.out, QString::fromUtf8(c.output)) << c.name;
        const bool started = c.action == Action::Start && c.exitCode == 0 && !c.running;
        EXPECT_EQ(cli.launcher.launched, started ? QStringList{name} : QStringList{}) << c.name;
    }
}

TEST(ClockCommands, AddUsesTheGivenZoneOrTheComputers) {
    Cli cli;
    EXPECT_EQ(cli.run(Action::Add, QStringLiteral("Osaka"), 74), 0);
    EXPECT_EQ(cli.run(Action::Add, QStringLiteral("Here")), 0);
    EXPECT_EQ(
        cli.reg.readInteger(clockKeyPath(QStringLiteral("Osaka")), QStringLiteral("TimeZoneIndex")),
        74);
    EXPECT_EQ(
        cli.reg.readInteger(clockKeyPath(QStringLiteral("Here")), QStringLiteral("TimeZoneIndex")),
        33);
    EXPECT_EQ(cli.launcher.launched,
              (QStringList{QStringLiteral("Osaka"), QStringLiteral("Here")}));
    EXPECT_EQ(cli.run(Action::Add, QStringLiteral("Tokyo")), 1);
    EXPECT_EQ(cli.error(), clockmessages::Duplicate);
    // The computer's zone, or UTC when the table has no row for it.
    EXPECT_EQ(zoneAt(computerZoneIndex(-540))->OffsetMinutes, 540);
    EXPECT_EQ(computerZoneIndex(-630), computerZoneIndex(0));
}
