#pragma once

#include "time/zonetable.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>

namespace ovra {

// What the command line asks for. Words beginning with "-" are options, never part
// of a clock name, up to a word "--"; the remaining words and every word after
// "--", joined by single spaces, name the clock.
struct CommandLine {
    enum class Action {
        RunClock,
        Help,
        Version,
        Render,
        List,
        ListZones,
        ListPlaces,
        Add,
        Start,
        Stop,
        Delete,
        Settings
    };

    Action action = Action::RunClock;
    QString clockName;              // cleaned; "Default" when no words were given
    QString renderFile;             // --render FILE.png
    QString at;                     // --at "YYYY-MM-DD HH:MM:SS"
    QString target;                 // the NAME of --add/--start/--stop/--delete/--settings
    std::optional<ZoneChoice> zone; // --zone: a row number, or the place its words name
    QString error;                  // set when the words cannot be understood
};

// nowUtc settles a zone named by a database name that no row carries.
CommandLine parseCommandLine(const QStringList& argumentsWithoutProgram,
                             const QDateTime& nowUtc = QDateTime::currentDateTimeUtc());

QString usageText();

} // namespace ovra
