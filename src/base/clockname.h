#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace ovra {

inline const QString kDefaultClockName = QStringLiteral("Default");

// A clock's name as a window title or list shows it: the first clock's in the
// user's language, every other as it is stored.
QString shownClockName(const QString& name);

// The clock name a process shows: its arguments joined by single spaces, cleaned,
// "Default" when nothing is left.
QString clockNameFromArguments(const QStringList& args);

// The program's arguments that start the clock of that name: the name as one
// word, after "--" when it begins with "-" and would otherwise read as an option.
// Names without a dash keep the form that older autostart entries hold.
QStringList clockArguments(const QString& name);

// Why a clock name cannot be used, or an empty text when it can. A name becomes a
// file name in the data folder, the last component of a store key and an entry of
// the "{name}" clock list, so anything that would escape the folder, nest keys or
// break the list is refused wherever a name enters the program.
QString clockNameProblem(const QString& name);

// The same check for raw bytes from a command line, which must be valid UTF-8
// before they are even a name.
QString clockNameBytesProblem(const QByteArray& utf8);

// The longest name in UTF-8 bytes: "<name>.cfg" and the autostart file
// "Ovra Clock - <name>.desktop" must both stay within a 255-byte file name.
inline constexpr int kMaxClockNameBytes = 200;

} // namespace ovra
