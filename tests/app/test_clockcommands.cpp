#include "app/clockcommandline.h"
#include "settings/clockfakes.h"
#include "settings/clocklist.h"
#include "settings/keystore.h"
#include "support/testenv.h"

#include <gtest/gtest.h>

using namespace ovra;

namespace {

struct Cli {
    test::TestHome home;
    test::MemoryStoreBackend backend;
    KeyStore reg{backend};
    test::FakeInstanceChannel channel;
    test::RecordingLauncher launcher;
    test::RecordingMessageSink errors;
    ClockList clocks{{reg, channel, launcher, errors}, home.path() + QStringLiteral("/autostart")};
    QString out;

    explicit Cli(const QString& list = QStringLiteral("{A}{Tokyo}")) {
        reg.writeText(kClockListKey, kClockListValue, list);
        launcher.onLaunch = [this](const QString& name) {
            channel.running.insert(name, 99);
        };
    }
    int run(CommandLine::Action action, const QString& target = {}, std::optional<int> zone = {},
            int startWaitMs = kAddStartWaitMs) {
        CommandLine cl;
        cl.action = action;
        cl.target = target;
        if (zone)
            cl.zone = ZoneChoice{*zone, {}};
        QTextStream stream(&out);
        return runClockCommand(cl, clocks, stream, errors, ZoneChoice{33, {}}, startWaitMs);
    }
    QString error() const {
        return errors.messages.empty() ? QString() : errors.messages.back().text;
    }
};

using Action = CommandLine::Action;

} // namespace

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
         "There is no clock named \"Osaka\". Add it with --add Osaka.", ""},
        {Action::Start, "a/b", false, CloseOutcome::Closed, 1,
         "The clock name \"a/b\" cannot contain \"/\" or \"\\\".", ""},
        {Action::Stop, "Tokyo", true, CloseOutcome::Closed, 0, "", ""},
        {Action::Stop, "Tokyo", false, CloseOutcome::Closed, 1,
         "The clock \"Tokyo\" is not running.", ""},
        {Action::Stop, "Osaka", false, CloseOutcome::Closed, 1,
         "There is no clock named \"Osaka\".", ""},
        {Action::Stop, "Default", false, CloseOutcome::Closed, 1,
         "The clock \"Default\" is not running.", ""},
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

// --settings asks the running clock and says why nothing opened otherwise; it never
// starts a clock.
TEST(ClockCommands, SettingsOpenOnARunningClockAndAreRefusedWithTheReasonElsewhere) {
    const struct {
        const char* name;
        bool running;
        SettingsOutcome answer; // what a running clock answers
        int exitCode;
        const char* error; // empty: none
    } cases[] = {
        {"Tokyo", true, SettingsOutcome::Shown, 0, ""},
        {"Default", true, SettingsOutcome::Shown, 0, ""},
        {"Tokyo", false, SettingsOutcome::Shown, 1,
         "The clock \"Tokyo\" is not running. Start it with --start."},
        {"Default", false, SettingsOutcome::Shown, 1,
         "The clock \"Default\" is not running. Start it with --start."},
        {"Osaka", false, SettingsOutcome::Shown, 1,
         "There is no clock named \"Osaka\". Add it with --add."},
        {"Tokyo", true, SettingsOutcome::NotUnderstood, 1,
         "The clock \"Tokyo\" could not be asked to open its settings: it runs an older version "
         "of the program. Stop it with --stop and start it again with --start."},
        {"Tokyo", true, SettingsOutcome::NotAnswering, 1,
         "The clock \"Tokyo\" is running but does not answer."},
        {"a/b", false, SettingsOutcome::Shown, 1,
         "The clock name \"a/b\" cannot contain \"/\" or \"\\\"."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Cli cli;
        const QString name = QString::fromUtf8(c.name);
        if (c.running)
            cli.channel.running.insert(name, 77);
        cli.channel.settingsOutcome = c.answer;
        EXPECT_EQ(cli.run(Action::Settings, name), c.exitCode);
        EXPECT_EQ(cli.error(), QString::fromUtf8(c.error));
        const bool shown = c.exitCode == 0;
        EXPECT_EQ(cli.channel.settingsShown, shown ? QStringList{name} : QStringList{});
        EXPECT_TRUE(cli.launcher.launched.isEmpty());
        EXPECT_TRUE(cli.out.isEmpty()) << qPrintable(cli.out);
    }
}

TEST(ClockCommands, AStoreThatCannotBeReadIsReportedNotTakenForAnEmptyList) {
    const struct {
        Action action;
        const char* name;
    } commands[] = {{Action::List, ""},
                    {Action::Start, "Tokyo"},
                    {Action::Delete, "Tokyo"},
                    {Action::Add, "Osaka"}};
    for (const int failure : {status::CannotRead, status::Busy, status::StoreCorrupt}) {
        for (const auto& c : commands) {
            SCOPED_TRACE(std::string(c.name) + " with status " + std::to_string(failure));
            Cli cli;
            cli.backend.failReads = failure;
            EXPECT_EQ(cli.run(c.action, QString::fromUtf8(c.name)), 1);
            ASSERT_FALSE(cli.errors.messages.empty());
            EXPECT_TRUE(cli.errors.messages.front().text.contains(
                QStringLiteral("could not be read from the settings store")))
                << qPrintable(cli.errors.messages.front().text);
            EXPECT_FALSE(cli.out.contains(QStringLiteral(" -- "))) << qPrintable(cli.out);
            for (const auto& m : cli.errors.messages)
                EXPECT_FALSE(m.text.contains(QStringLiteral("There is no clock")));
            EXPECT_TRUE(cli.launcher.launched.isEmpty());
            cli.backend.failReads = status::Success;
            EXPECT_EQ(cli.reg.readText(kClockListKey, kClockListValue),
                      QStringLiteral("{A}{Tokyo}"));
            ASSERT_TRUE(cli.clocks.loadClockList(false));
            EXPECT_TRUE(cli.clocks.contains(QStringLiteral("Tokyo")));
        }
    }
}

TEST(ClockCommands, AClockThatDoesNotAnswerIsNeitherStoppedNorStartedAgain) {
    Cli cli;
    cli.channel.running.insert(QStringLiteral("Tokyo"), kNotAnswering);
    cli.channel.closeOutcome = CloseOutcome::TimedOut;
    EXPECT_EQ(cli.run(Action::List), 0);
    EXPECT_EQ(cli.out,
              QStringLiteral("Default -- Stopped\nA -- Stopped\nTokyo -- Not answering\n"));

    EXPECT_EQ(cli.run(Action::Start, QStringLiteral("Tokyo")), 1);
    EXPECT_EQ(cli.error(), QStringLiteral("The clock \"Tokyo\" is running but does not answer."));
    EXPECT_TRUE(cli.launcher.launched.isEmpty());

    EXPECT_EQ(cli.run(Action::Stop, QStringLiteral("Tokyo")), 1);
    EXPECT_EQ(cli.error(),
              QStringLiteral("The clock \"Tokyo\" did not finish closing within 5 seconds."));
}

// A --stop or --delete right after --add or --start must find the new clock: both
// return only once it answers, and say so when it never does.
TEST(ClockCommands, AddAndStartReturnOnceTheNewClockAnswers) {
    const struct {
        Action action;
        const char* name;
        int upAfterFinds; // 0: never comes up
        int exitCode;
        const char* error;
    } cases[] = {
        {Action::Add, "Osaka", 4, 0, ""},
        {Action::Add, "Osaka", 0, 1,
         "The clock \"Osaka\" was added, but it did not answer within 1 seconds."},
        {Action::Start, "A", 4, 0, ""},
        {Action::Start, "A", 0, 1,
         "The clock \"A\" was started, but it did not answer within 1 seconds."},
    };
    for (const auto& c : cases) {
        Cli cli;
        const QString name = QString::fromUtf8(c.name);
        cli.launcher.onLaunch = [&](const QString& launched) {
            cli.channel.upAfterFinds.insert(launched, c.upAfterFinds);
        };
        EXPECT_EQ(cli.run(c.action, name, 5, 1000), c.exitCode) << c.name;
        EXPECT_EQ(cli.error(), QString::fromUtf8(c.error)) << c.name;
        EXPECT_EQ(cli.launcher.launched, QStringList{name}) << c.name;
        EXPECT_EQ(cli.channel.running.contains(name), c.upAfterFinds > 0)
            << c.name << ": returned before the clock answered";
    }
}
