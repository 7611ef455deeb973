#include "app/commandline.h"

#include "base/clockname.h"
#include "base/textutil.h"
#include "time/zonesearch.h"
#include "time/zonetable.h"

#include <QCoreApplication>

namespace ovra {

namespace {
struct ActionOption {
    const char16_t* name;
    CommandLine::Action action;
    bool takesValue;           // the next word is the option's value (only --render's file)
    bool takesName;            // the clock name, from the words that do not begin with "--"
    bool nameOptional = false; // without one it is "Default"
};
constexpr ActionOption kActions[] = {
    {u"--help", CommandLine::Action::Help, false, false},
    {u"--version", CommandLine::Action::Version, false, false},
    {u"--render", CommandLine::Action::Render, true, false},
    {u"--list", CommandLine::Action::List, false, false},
    {u"--list-zones", CommandLine::Action::ListZones, false, false},
    {u"--list-places", CommandLine::Action::ListPlaces, false, false},
    {u"--add", CommandLine::Action::Add, false, true},
    {u"--start", CommandLine::Action::Start, false, true},
    {u"--stop", CommandLine::Action::Stop, false, true},
    {u"--delete", CommandLine::Action::Delete, false, true},
    {u"--settings", CommandLine::Action::Settings, false, true, true},
};
const ActionOption* findAction(QStringView option) {
    for (const auto& a : kActions)
        if (option == QStringView(a.name))
            return &a;
    return nullptr;
}

// A row number, else the one place the words name.
std::optional<ZoneChoice> zoneFromWords(const QString& value, const QDateTime& nowUtc,
                                        QString& error) {
    bool isNumber = false;
    const int index = value.trimmed().toInt(&isNumber);
    if (isNumber) {
        if (zoneAt(index))
            return ZoneChoice{index, {}};
        error =
            QCoreApplication::translate(
                "CommandLine", "No zone has the number %1; --list-zones lists them from 0 to %2.")
                .arg(value.trimmed())
                .arg(kZoneCount - 1);
        return std::nullopt;
    }
    const ZoneFinder finder(nowUtc);
    const QList<ZoneChoice> found = finder.find(value);
    if (found.size() == 1)
        return found.front();
    if (found.isEmpty()) {
        error = QCoreApplication::translate(
                    "CommandLine", "No zone matches \"%1\". --list-zones lists every zone.")
                    .arg(value);
        return std::nullopt;
    }
    error = QCoreApplication::translate("CommandLine",
                                        "\"%1\" matches %n zones; give one of these:", nullptr,
                                        int(found.size()))
                .arg(value);
    // Each with what to give --zone, its zone name and where its offset stands now.
    for (const ZoneChoice& choice : found) {
        const QTimeZone zone = zoneOfChoice(choice);
        const QString name = choice.zoneName.isEmpty()
                                 ? QString::fromLatin1(zoneAt(choice.row)->ianaId)
                                 : QString::fromLatin1(choice.zoneName);
        const QString offset = zone.isValid()
                                   ? utcOffsetText(zone.offsetFromUtc(nowUtc))
                                   : utcOffsetText(zoneAt(choice.row)->offsetMinutes * 60);
        error += QStringLiteral("\n  %1\t%2\t%3\t%4")
                     .arg(choice.zoneName.isEmpty() ? QString::number(choice.row) : name,
                          finder.describe(choice), name, offset);
    }
    return std::nullopt;
}

} // namespace

CommandLine parseCommandLine(const QStringList& args, const QDateTime& nowUtc) {
    CommandLine cl;
    QStringList words;
    const ActionOption* action = nullptr;
    QString inlineName; // --add=NAME and the like
    auto fail = [&](const QString& message) {
        cl.error = message;
        return cl;
    };
    bool optionsEnded = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& word = args[i];
        if (optionsEnded || !word.startsWith(u'-')) {
            words << word;
            continue;
        }
        if (word == u"--") {
            optionsEnded = true;
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
                QString error;
                cl.zone = zoneFromWords(value, nowUtc, error);
                if (!cl.zone)
                    return fail(error);
            }
            continue;
        }
        // "-h" and "-v" as most programs spell them; any other word with a single
        // dash is a mistyped option, never a clock that starts under that name.
        const ActionOption* match = findAction(option == u"-h"   ? u"--help"
                                               : option == u"-v" ? u"--version"
                                                                 : QStringView(option));
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
        cl.target = cleanString(words.isEmpty() ? inlineName : words.join(u' '));
        if (cl.target.isEmpty() && action->nameOptional)
            cl.target = kDefaultClockName;
        if (cl.target.isEmpty())
            return fail(
                QCoreApplication::translate("CommandLine", "%1 needs a clock name.").arg(option));
        cl.clockName = kDefaultClockName;
    } else if ((cl.action == CommandLine::Action::List ||
                cl.action == CommandLine::Action::ListZones ||
                cl.action == CommandLine::Action::ListPlaces) &&
               !words.isEmpty()) {
        return fail(
            QCoreApplication::translate("CommandLine", "%1 takes no clock name, but got \"%2\".")
                .arg(QString::fromUtf16(action->name), words.join(u' ')));
    }
    return cl;
}

QString usageText() {
    // Four pieces, so a translator never has to rework the whole text at once. The
    // option names, NAME, FILE.png, ZONE and TIME are what the user types: they stay.
    //: Keep the option names and the alignment of the lines.
    return QCoreApplication::translate("CommandLine",
                                       "Usage: ovra-clock [NAME]\n"
                                       "       ovra-clock --render FILE.png [--at \"YYYY-MM-DD "
                                       "HH:MM:SS\"] [NAME]\n"
                                       "       ovra-clock --list | --list-zones | --list-places |\n"
                                       "                  --add NAME [--zone ZONE] |\n"
                                       "                  --start NAME | --stop NAME | --delete "
                                       "NAME |\n"
                                       "                  --settings [NAME]\n") +
           u'\n' +
           //: "Default" is the name of the first clock; it is not translated.
           QCoreApplication::translate(
               "CommandLine",
               "Shows the clock NAME on the desktop (\"Default\" when no name is given); a NAME "
               "that\n"
               "is not in the list is refused: --add adds a clock. Every word that does not "
               "begin\n"
               "with \"-\" is part of the name, whichever option is given and wherever the "
               "words\n"
               "stand: \"--add New York --zone America/New_York\" adds the clock \"New York\" in "
               "New\n"
               "York's zone. A ZONE of several words is quoted: --zone \"New York\". After "
               "\"--\"\n"
               "every word is part of the name, also one that begins with \"-\": --start -- "
               "-x.\n") +
           u'\n' +
           //: Keep the option names and the column. "Running", "Stopped" and "Not answering"
           //: are what --list prints: they stay in English.
           QCoreApplication::translate(
               "CommandLine",
               "Options:\n"
               "  -h, --help         show this text and exit\n"
               "  -v, --version      show the version and exit\n"
               "  --render FILE.png  draw one frame of the clock's face into a PNG file; needs no "
               "display\n"
               "  --at TIME          with --render: the time the clock's own zone shows\n"
               "  --list             list every clock with \"Running\", \"Stopped\" or \"Not "
               "answering\"\n"
               "  --list-zones       list the zones: number, text, zone name, offset from UTC "
               "now\n"
               "  --list-places      list the places of the system's zone database: zone name, "
               "city,\n"
               "                     country\n"
               "  --add NAME         add a clock and start it\n"
               "  --zone ZONE        with --add: the new clock's zone, by its number (0-96), a "
               "zone\n"
               "                     name, a city or a country (Zurich, Schweiz); the computer's\n"
               "                     zone without it\n"
               "  --start NAME       start a clock\n"
               "  --stop NAME        stop a running clock; its settings are saved\n"
               "  --delete NAME      stop a clock and delete its settings (its alarms are "
               "kept)\n"
               "  --settings [NAME]  open the settings of the running clock NAME (\"Default\" "
               "when\n"
               "                     no name is given) with the keyboard\n"
               "  --                 the end of the options: every word after it is part of "
               "NAME\n") +
           u'\n' +
           QCoreApplication::translate(
               "CommandLine",
               "Exit status: 0 when done; 1 when refused (a name no clock can have, a clock that\n"
               "does not exist or does not answer, no display, a store that cannot be read); 2 "
               "when\n"
               "the words are not understood (an unknown option, a missing value, two actions).\n");
}

} // namespace ovra
