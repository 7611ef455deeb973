#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace ovra {

// What the command line asks for. Words beginning with "--" are options, never
// part of a clock name; the remaining words, joined by single spaces, name the clock.
struct CommandLine {
    enum class Action { RunClock, Help, Version, Render, List, Add, Start, Stop, Delete };

    Action action = Action::RunClock;
    QString clockName;       // cleaned; "Default" when no words were given
    QString renderFile;      // --render FILE.png
    QString at;              // --at "YYYY-MM-DD HH:MM:SS"
    QString target;          // the NAME of --add/--start/--stop/--delete
    std::optional<int> zone; // --zone INDEX
    QString error;           // set when the words cannot be understood
};

CommandLine parseCommandLine(const QStringList& argumentsWithoutProgram);

QString usageText();

} // namespace ovra
