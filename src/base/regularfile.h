#pragma once

#include <QString>
#include <QtGlobal>

class QFile;

namespace ovra {

// What is at a path, symbolic links followed. Only a regular file is ever read or
// replaced: opening a FIFO blocks until a writer comes, a device may block or never
// end, and renaming a new file over either would destroy it.
enum class PathKind {
    Missing,
    Regular,
    Other,      // a folder, FIFO, socket or device
    Unreachable // it cannot be looked at (permissions, a loop of links)
};

PathKind pathKind(const QString& path);

// True when nothing is at the path or a regular file is, so a new one may take it.
bool mayReplaceWithFile(const QString& path);

// Opens an existing regular file for reading without ever blocking on what is
// there. On failure problem (when given) says why in a sentence that names the path.
bool openRegularFileForReading(QFile& file, const QString& path, QString* problem = nullptr);

// Whether a file or folder of this mode and group may be written by anyone but its
// owner. A group of the user's own (where each user has a group of their own, the
// files are group-writable by default) or root's counts as no one else's.
bool othersMayWrite(quint32 mode, quint32 group);

// "<path> is not a regular file." for messages.
QString notRegularFileText(const QString& path);

} // namespace ovra
