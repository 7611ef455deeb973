#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

namespace ovra {

// Who is at the other end of a connected local socket, as the kernel vouches for it.
struct PeerCredentials {
    qint64 pid = 0;
    quint32 uid = 0;
};

std::optional<PeerCredentials> peerCredentials(qintptr socketDescriptor);

// True when the peer runs as the same user as this process.
bool peerIsSameUser(qintptr socketDescriptor);

// Creates the folder (mode 0700) when missing and makes sure only this user can
// enter it: a folder that belongs to someone else, or is a link, is refused with a
// reason in problem; one of ours with wider permissions is narrowed.
bool ensurePrivateFolder(const QString& folder, QString* problem = nullptr);

// Whether no other user can replace or rename what this user keeps in the folder:
// it and every folder above it belong to this user or to root, and any of them
// that others may write to has the sticky bit (as /tmp has). With ownOnly the
// folder itself must also be this user's and closed to writes by anyone else, as
// a session's runtime folder is.
bool folderIsTrusted(const QString& folder, bool ownOnly);

// The process that holds a lock on the file at path (as QLockFile takes it), 0 when
// none does, or when the file or its holder is another user's. Only looks: the lock
// is neither taken nor changed.
qint64 lockHolder(const QString& path);

// The numeric id of the user running this process.
quint32 currentUserId();

} // namespace ovra
