#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace ovra {

// An "Exec" command line: each argument quoted when it holds a character the
// Desktop Entry rules reserve, literal "%" doubled so no field code is read into it.
QString desktopExecLine(const QStringList& argv);

// A value as it is written into an entry file ("\" doubled; newline, tab and
// carriage return escaped) and the way back.
QString escapeDesktopValue(const QString& value);
QString unescapeDesktopValue(const QString& value);

// The value of key in the file's [Desktop Entry] group, unescaped; nothing when the
// file cannot be read or has no such key.
std::optional<QString> readDesktopEntryKey(const QString& filePath, const QString& key);

} // namespace ovra
