#pragma once

#include <QString>

namespace ovra {

// Cuts a text at its first NUL and strips leading and trailing spaces (only the
// space character: tabs and other white space are part of the text). Applied to
// everything read from the store, a fixed-length field or a platform buffer.
QString cleanString(const QString& text);

// True when the cleaned path is not empty and names an existing file or folder.
// Never fails: any error counts as "missing".
bool fileExists(const QString& path);

// Lower case without accents, so "São Paulo", "SAO PAULO" and "sao paulo" are one.
QString withoutCaseOrAccents(const QString& text);

// Ensures a folder path ends with exactly one trailing separator.
QString withTrailingSlash(const QString& folder);

} // namespace ovra
