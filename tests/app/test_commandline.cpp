#include "app/commandline.h"

#include <gtest/gtest.h>

using namespace ovra;
using Action = CommandLine::Action;

namespace {
QStringList words(std::initializer_list<const char*> list) {
    QStringList out;
    for (const char* w : list)
        out << QString::fromUtf8(w);
    return out;
}
} // namespace

TEST(CommandLine, NamesAndActions) {
    const struct {
        QStringList args;
        Action action;
        QString name;
        QString target;
    } cases[] = {
        {{}, Action::RunClock, QStringLiteral("Default"), {}},
        {words({"  Office  "}), Action::RunClock, QStringLiteral("Office"), {}},
        {words({"New", "York"}), Action::RunClock, QStringLiteral("New York"), {}},
        {words({"--help"}), Action::Help, QStringLiteral("Default"), {}},
        {words({"--version"}), Action::Version, QStringLiteral("Default"), {}},
        {words({"--list"}), Action::List, QStringLiteral("Default"), {}},
        {words({"--add", " New York "}), Action::Add, QStringLiteral("Default"),
         QStringLiteral("New York")},
        {words({"--stop=Tokyo"}), Action::Stop, QStringLiteral("Default"), QStringLiteral("Tokyo")},
        {words({"--delete", "Tokyo"}), Action::Delete, QStringLiteral("Default"),
         QStringLiteral("Tokyo")},
        {words({"--start", "Tokyo"}), Action::Start, QStringLiteral("Default"),
         QStringLiteral("Tokyo")},
        // A name of several words, wherever the option stands.
        {words({"--add", "New", "York", "--zone", "10"}), Action::Add, QStringLiteral("Default"),
         QStringLiteral("New York")},
        {words({"--zone", "10", "--add", "New", "York"}), Action::Add, QStringLiteral("Default"),
         QStringLiteral("New York")},
        {words({"New", "--add", "York"}), Action::Add, QStringLiteral("Default"),
         QStringLiteral("New York")},
        {words({"--start", "New", "York"}), Action::Start, QStringLiteral("Default"),
         QStringLiteral("New York")},
        {words({"--stop", "Rio de", "Janeiro"}), Action::Stop, QStringLiteral("Default"),
         QStringLiteral("Rio de Janeiro")},
        {words({"--delete", "New", "York"}), Action::Delete, QStringLiteral("Default"),
         QStringLiteral("New York")},
        {words({"-h"}), Action::Help, QStringLiteral("Default"), {}},
        {words({"-v"}), Action::Version, QStringLiteral("Default"), {}},
        // After "--" every word is part of the name, dashes and all.
        {words({"--", "-h", "--list"}), Action::RunClock, QStringLiteral("-h --list"), {}},
        {words({"--start", "--", "-x"}), Action::Start, QStringLiteral("Default"),
         QStringLiteral("-x")},
        // --settings without a name opens the Default clock's.
        {words({"--settings"}), Action::Settings, QStringLiteral("Default"),
         QStringLiteral("Default")},
        {words({"--settings", "New", "York"}), Action::Settings, QStringLiteral("Default"),
         QStringLiteral("New York")},
        {words({"--settings=Tokyo"}), Action::Settings, QStringLiteral("Default"),
         QStringLiteral("Tokyo")},
        {words({"--render", "x.png", "New", "York"}),
         Action::Render,
         QStringLiteral("New York"),
         {}},
    };
    for (const auto& c : cases) {
        const CommandLine cl = parseCommandLine(c.args);
        EXPECT_TRUE(cl.error.isEmpty()) << qPrintable(c.args.join(u' ')) << qPrintable(cl.error);
        EXPECT_EQ(cl.action, c.action) << qPrintable(c.args.join(u' '));
        EXPECT_EQ(cl.clockName, c.name);
        EXPECT_EQ(cl.target, c.target);
    }
}

TEST(CommandLine, RenderTakesFileTimeAndName) {
    const CommandLine cl =
        parseCommandLine(words({"--render", "face.png", "--at", "2026-01-02 03:04:05", "Tokyo"}));
    ASSERT_TRUE(cl.error.isEmpty());
    EXPECT_EQ(cl.action, Action::Render);
    EXPECT_EQ(cl.renderFile, QStringLiteral("face.png"));
    EXPECT_EQ(cl.at, QStringLiteral("2026-01-02 03:04:05"));
    EXPECT_EQ(cl.clockName, QStringLiteral("Tokyo"));

    const CommandLine add = parseCommandLine(words({"--add", "Tokyo", "--zone", "81"}));
    ASSERT_TRUE(add.error.isEmpty());
    EXPECT_EQ(add.zone, (ZoneChoice{81, {}}));
}

// A place no row carries is kept by its zone name; several matches are listed with
// what to give --zone, their zone names and their offsets now.
TEST(CommandLine, ZoneWordsNameOnePlaceOrListTheCandidates) {
    const QDateTime winter(QDate(2026, 12, 7), QTime(12, 0), Qt::UTC);
    const CommandLine chatham =
        parseCommandLine(words({"--add", "Islands", "--zone", "Chatham"}), winter);
    ASSERT_TRUE(chatham.error.isEmpty()) << qPrintable(chatham.error);
    EXPECT_EQ(chatham.zone, (ZoneChoice{96, "Pacific/Chatham"}));

    const CommandLine germany =
        parseCommandLine(words({"--add", "G", "--zone", "Germany"}), winter);
    EXPECT_FALSE(germany.zone);
    EXPECT_TRUE(germany.error.contains(
        QStringLiteral("  Europe/Busingen\tBusingen, Germany\tEurope/Busingen\t+01:00")))
        << qPrintable(germany.error);
    EXPECT_TRUE(germany.error.contains(QStringLiteral("  37\t(UTC+01:00) Amsterdam")))
        << qPrintable(germany.error);
}

TEST(CommandLine, MistakesAreExplained) {
    const QStringList bad[] = {
        words({"--frobnicate"}),
        words({"--render"}),
        words({"--add"}),
        words({"--zone", "x", "--add", "A"}),
        words({"--at", "2026-01-01"}),
        words({"--zone", "3"}),
        words({"--add", "A", "--zone", "97"}),
        words({"--add", "A", "--zone", "-1"}),
        words({"--list", "--add", "A"}),
        words({"--list", "Tokyo"}),
        words({"--version=2"}),
        words({"--start"}),
        words({"--stop", "  "}),
        words({"--delete", "--zone", "3"}),
        words({"--add=Tokyo", "Osaka"}),
        words({"-x"}),
        words({"Tokyo", "-"}),
        words({"-h", "--list"}),
        words({"--settings", "--stop", "Tokyo"}),
        words({"--settings", "--zone", "3"}),
        words({"--settings=Tokyo", "Osaka"}),
    };
    for (const QStringList& args : bad)
        EXPECT_FALSE(parseCommandLine(args).error.isEmpty()) << qPrintable(args.join(u' '));
}
