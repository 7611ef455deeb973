#include "app/commandline.h"

#include "base/clockname.h"
#include "base/textutil.h"

namespace ovra {

namespace {
struct ActionOption {
    const char16_t* name;
    CommandLine::Action action;
    bool takesValue;
};
constexpr ActionOption kActions[] = {
    {u"--help", CommandLine::Action::Help, false},
    {u"--version", CommandLine::Action::Version, false},
    {u"--render", CommandLine::Action::Render, true},
    {u"--list", CommandLine::Action::List, false},
    {u"--add", CommandLine::Action::Add, true},
    {u"--start", CommandLine::Action::Start, true},
    {u"--stop", CommandLine::Action::Stop, true},
    {u"--delete", CommandLine::Action::Delete, true},
};
} // namespace

CommandLine parseCommandLine(const QStringList& args) {
    CommandLine cl;
    QStringList words;
    bool actionSeen = false;
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
                return fail(QStringLiteral("%1 needs a value.").arg(option));
            if (option == u"--at") {
                cl.at = value;
            } else {
                bool ok = false;
                const int zone = value.toInt(&ok);
                if (!ok)
                    return fail(
                        QStringLiteral("--zone needs a zone index from 0 to 96, not \"%1\".")
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
            return fail(QStringLiteral("Unknown option %1. Try --help.").arg(option));
        if (actionSeen && cl.action != match->action)
            return fail(QStringLiteral("%1 cannot be combined with another action.").arg(option));
        actionSeen = true;
        cl.action = match->action;
        if (match->takesValue) {
            if (!takeValue())
                return fail(QStringLiteral("%1 needs a value.").arg(option));
            if (cl.action == CommandLine::Action::Render)
                cl.renderFile = value;
            else
                cl.target = CleanString(value);
        } else if (hasInlineValue) {
            return fail(QStringLiteral("%1 takes no value.").arg(option));
        }
    }
    cl.clockName = clockNameFromArguments(words);
    if (!cl.at.isEmpty() && cl.action != CommandLine::Action::Render)
        return fail(QStringLiteral("--at only goes with --render."));
    if (cl.zone && cl.action != CommandLine::Action::Add)
        return fail(QStringLiteral("--zone only goes with --add."));
    const bool managing =
        cl.action == CommandLine::Action::List || cl.action == CommandLine::Action::Add ||
        cl.action == CommandLine::Action::Start || cl.action == CommandLine::Action::Stop ||
        cl.action == CommandLine::Action::Delete;
    if (managing && !words.isEmpty())
        return fail(
            QStringLiteral("Unexpected words \"%1\"; put a clock name with spaces in quotes.")
                .arg(words.join(u' ')));
    return cl;
}

QString usageText() {
    return QStringLiteral(
        "Usage: ovra-clock [NAME]\n"
        "       ovra-clock --render FILE.png [--at \"YYYY-MM-DD HH:MM:SS\"] [NAME]\n"
        "       ovra-clock --list | --add NAME [--zone INDEX] | --start NAME | --stop NAME |\n"
        "                  --delete NAME\n"
        "\n"
        "Shows the clock NAME on the desktop (\"Default\" when no name is given). Every word\n"
        "that does not begin with \"--\" is part of the name.\n"
        "\n"
        "Options:\n"
        "  --help             show this text and exit\n"
        "  --version          show the version and exit\n"
        "  --render FILE.png  draw one frame of the clock's face into a PNG file; needs no "
        "display\n"
        "  --at TIME          with --render: the time the clock's own zone shows\n"
        "  --list             list every clock with \"Running\", \"Stopped\" or \"Not "
        "answering\"\n"
        "  --add NAME         add a clock and start it; --zone INDEX picks its zone (0-96)\n"
        "  --start NAME       start a clock\n"
        "  --stop NAME        stop a running clock; its settings are saved\n"
        "  --delete NAME      stop a clock and delete its settings (its alarms are kept)\n");
}

} // namespace ovra
