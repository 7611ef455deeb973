#pragma once

#include <QString>

namespace ovra {

struct PathRoots;

// What the folder is asked for: a clock that listens needs one it can use, while a
// look for a clock of an earlier version only needs to know where that would listen.
enum class SocketFolderFor { Looking, Listening };

// The folder that holds the channel sockets of this user's clocks, created when
// missing: a private sub-folder of the runtime folder, or of the temporary folder
// when the session has none or its runtime folder is not the user's alone, or of
// the user's cache folder when the temporary one is taken, or of /tmp; a folder
// whose socket paths would be too long is passed over, and so is a folder outside
// the runtime folder that is not this user's own with mode 0700 (what another user
// left there could pose as a clock). When none is usable, a clock that listens gets
// a new private folder in the temporary folder. Ends with "/".
QString instanceSocketFolder(const QString& runtimeRoot,
                             SocketFolderFor use = SocketFolderFor::Looking);

// Where this user's clocks meet. Each running clock holds its name with a lock in
// the name folder and notes there the socket it listens at. The name folder sits
// beside the settings store, so every shell of the user agrees on it whatever its
// runtime or temporary folder says: a clock runs once and is found from anywhere.
struct InstancePlaces {
    QString nameFolder;   // ends with "/"
    QString socketFolder; // this process's; a clock of an earlier version listens here
};
InstancePlaces instancePlaces(const PathRoots& roots, SocketFolderFor use);

// The lock that holds a clock's name while it runs, and the note of the socket it
// listens at. Both are named for this computer as well, so a home folder shared by
// several computers keeps a clock of each apart.
QString instanceNameLockPath(const QString& nameFolder, const QString& clockName);
QString instanceSocketNotePath(const QString& nameFolder, const QString& clockName);

// The socket a note names; empty when there is no note or it names no socket path.
QString notedSocket(const QString& notePath);
// Writes the note, readable by this user alone; false when it cannot be written.
bool writeSocketNote(const QString& notePath, const QString& socketPath);

// The socket of one clock. Named from a hash of the clock's name, so any name fits
// the short length limit of socket paths and no name can reach outside the folder.
QString instanceSocketPath(const QString& folder, const QString& clockName);

// The lock a clock's process of an earlier version holds beside its socket, and
// this version's where the name folder cannot be written.
QString instanceLockPath(const QString& socketPath);

// Longest socket path the platform accepts, in bytes, without the closing NUL.
inline constexpr int kMaxSocketPathBytes = 107;

} // namespace ovra
