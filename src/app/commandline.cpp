#include "app/commandline.h"

#include "base/clockname.h"
#include "base/textutil.h"

#include <QCoreApplication>

namespace ovra {

namespace {
struct ActionOption {
    const char16_t* name;
    CommandLine::Action action;
    bool takesValue; // the next word is the option's value (only --render's file)
    bool takesName;  // the clock name, from the words that do not begin with "--"
};
constexpr ActionOption kActions[] = {
    {u"--help", CommandLine::Action::Help, false, false},
    {u"--version", CommandLine::Action::Version, false, false},
    {u"--render", CommandLine::Action::Render, true, false},
    {u"--list", CommandLine::Action::List, false, false},
    {u"--add", CommandLine::Action::Add, false, true},
    {u"--start", CommandLine::Action::Start, false, true},
    {u"--stop", CommandLine::Action::Stop, false, true},
    {u"--delete", CommandLine::Action::Delete, false, true},
};
} // namespace

CommandLine parseCommandLine(const QStringList& args) {
    CommandLine cl;
    QStringList words;
    const ActionOption* action = nullptr;
    QString inlineName; // --add=NAME and the like
    auto fail = [&](const QString& message) {
        cl.error = message;
        return cl;
    };
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& word = args[i];
        if (!word.startsWith(u"--")) {
            words << word;
            continue;
        }
        QString option = word;
        QString value;
        bool hasInlineValue = false;
        if (const qsizetype eq = word.indexOf(u'='); eq > 2) {
            option = word.left(eq);
            value = word.mid(eq + 1);
            hasInlineValue = true;
        }
        auto takeValue = [&]() -> bool {
            if (hasInlineValue)
                return true;
            if (i + 1 >= args.size())
                return false;
            value = args[++i];
            return true;
        };
        if (option == u"--at" || option == u"--zone") {
            if (!takeValue())
                return fail(
                    QCoreApplication::translate("CommandLine", "%1 needs a value.").arg(option));
            if (option == u"--at") {
                cl.at = value;
            } else {
                bool ok = false;
                const int zone = value.toInt(&ok);
                if (!ok)
                    return fail(
                        QCoreApplication::translate(
                            "CommandLine", "--zone needs a zone index from 0 to 96, not \"%1\".")
                            .arg(value));
                cl.zone = zone;
            }
            continue;
        }
        const ActionOption* match = nullptr;
        for (const auto& a : kActions)
            if (option == QStringView(a.name))
                match = &a;
        if (!match)
            return fail(QCoreApplication::translate("CommandLine", "Unknown option %1. Try --help.")
                            .arg(option));
        if (action && action->action != match->action)
            return fail(QCoreApplication::translate("CommandLine",
                                                    "%1 cannot be combined with another action.")
                            .arg(option));
        action = match;
        cl.action = match->action;
        if (match->takesValue) {
            if (!takeValue())
                return fail(
                    QCoreApplication::translate("CommandLine", "%1 needs a value.").arg(option));
            cl.renderFile = value;
        } else if (match->takesName && hasInlineValue) {
            inlineName = value;
        } else if (hasInlineValue) {
            return fail(
                QCoreApplication::translate("CommandLine", "%1 takes no value.").arg(option));
        }
    }
    cl.clockName = clockNameFromArguments(words);
    if (!cl.at.isEmpty() && cl.action != CommandLine::Action::Render)
        return fail(QCoreApplication::translate("CommandLine", "--at only goes with --render."));
    if (cl.zone && cl.action != CommandLine::Action::Add)
        return fail(QCoreApplication::translate("CommandLine", "--zone only goes with --add."));
    if (action && action->takesName) {
        const QString option = QString::fromUtf16(action->name);
        if (!inlineName.isEmpty() && !words.isEmpty())
            return fail(QCoreApplication::translate(
                            "CommandLine", "%1 got two names, \"%2\" and \"%3\"; give one.")
                            .arg(option, inlineName, words.join(u' ')));
        cl.target = CleanString(words.isEmpty() ? inlineName : words.join(u' '));
        if (cl.target.isEmpty())
            return fail(
                QCoreApplication::translate("CommandLine", "%1 needs a clock name.").arg(option));
        cl.clockName = kDefaultClockName;
    } else if (cl.action == CommandLine::Action::List && !words.isEmpty()) {
        return fail(QCoreApplication::translate("CommandLine",
                                                "--list takes no clock name, but got \"%1\".")
                        .arg(words.join(u' ')));
    }
    return cl;
}

QString usageText() {
    // Four pieces, so a translator never has to rework the whole text at once. The
    // option names, NAME, FILE.png, INDEX and TIME are what the user types: they stay.
    //: Keep the option names and the alignment of the lines.
    return QCoreApplication::translate("CommandLine",
                                       "Usage: ovra-clock [NAME]\n"
                                       "       ovra-clock --render FILE.png [--at \"YYYY-MM-DD "
                                       "HH:MM:SS\"] [NAME]\n"
                                       "       ovra-clock --list | --add NAME [--zone INDEX] | "
                                       "--start NAME | --stop NAME |\n"
                                       "                  --delete NAME\n") +
           u'\n' +
           //: "Default" is the name of the first clock; it is not translated.
           QCoreApplication::translate(
               "CommandLine",
               "Shows the clock NAME on the desktop (\"Default\" when no name is given). Every "
               "word\n"
               "that does not begin with \"--\" is part of the name, whichever option is given "
               "and\n"
               "wherever the words stand: \"--add New York --zone 10\" adds the clock \"New "
               "York\".\n") +
           u'\n' +
           //: Keep the option names and the column. "Running", "Stopped" and "Not answering"
           //: are what --list prints: they stay in English.
           QCoreApplication::translate(
               "CommandLine",
               "Options:\n"
               "  --help             show this text and exit\n"
               "  --version          show the version and exit\n"
               "  --render FILE.png  draw one frame of the clock's face into a PNG file; needs no "
               "display\n"
               "  --at TIME          with --render: the time the clock's own zone shows\n"
               "  --list             list every clock with \"Running\", \"Stopped\" or \"Not "
               "answering\"\n"
               "  --add NAME         add a clock and start it\n"
               "  --zone INDEX       with --add: the new clock's zone (0-96); the computer's "
               "without it\n"
               "  --start NAME       start a clock\n"
               "  --stop NAME        stop a running clock; its settings are saved\n"
               "  --delete NAME      stop a clock and delete its settings (its alarms are "
               "kept)\n") +
           u'\n' +
           QCoreApplication::translate(
               "CommandLine",
               "Exit status: 0 when done; 1 when refused (a name no clock can have, a clock that\n"
               "does not exist or does not answer, no display, a store that cannot be read); 2 "
               "when\n"
               "the words are not understood (an unknown option, a missing value, two actions).\n");
}

} // namespace ovra
