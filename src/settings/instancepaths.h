#pragma once

#include <QString>

namespace ovra {

// The folder that holds the channel sockets of this user's clocks, created when
// missing: a private sub-folder of the runtime folder, or of the temporary folder
// when the session has none or its runtime folder is not the user's alone, or of
// the user's cache folder when the temporary one is taken, or of /tmp; a folder
// whose socket paths would be too long is passed over, and so is a folder outside
// the runtime folder that is not this user's own with mode 0700 (what another user
// left there could pose as a clock). Ends with "/".
QString instanceSocketFolder(const QString& runtimeRoot);

// The socket of one clock. Named from a hash of the clock's name, so any name fits
// the short length limit of socket paths and no name can reach outside the folder.
QString instanceSocketPath(const QString& folder, const QString& clockName);

// The lock a clock's process holds for as long as it runs as that clock, whether
// or not it could listen at the socket.
QString instanceLockPath(const QString& socketPath);

// Longest socket path the platform accepts, in bytes, without the closing NUL.
inline constexpr int kMaxSocketPathBytes = 107;

} // namespace ovra
