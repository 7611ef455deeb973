#include "settings/privatesocket.h"

#include <QFile>

#include <cerrno>
#include <cstring>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

namespace ovra {

std::optional<PeerCredentials> peerCredentials(qintptr socketDescriptor) {
    if (socketDescriptor < 0)
        return std::nullopt;
    ucred cred{};
    socklen_t size = sizeof(cred);
    if (::getsockopt(int(socketDescriptor), SOL_SOCKET, SO_PEERCRED, &cred, &size) != 0 ||
        size != sizeof(cred))
        return std::nullopt;
    return PeerCredentials{cred.pid, cred.uid};
}

bool peerIsSameUser(qintptr socketDescriptor) {
    const auto cred = peerCredentials(socketDescriptor);
    return cred && cred->uid == currentUserId();
}

quint32 currentUserId() {
    return ::getuid();
}

bool ensurePrivateFolder(const QString& folder, QString* problem) {
    auto refuse = [&](const QString& why) {
        if (problem)
            *problem = QStringLiteral("The folder %1 %2.").arg(folder, why);
        return false;
    };
    const QByteArray path = QFile::encodeName(folder);
    if (::mkdir(path.constData(), 0700) != 0 && errno != EEXIST)
        return refuse(QStringLiteral("cannot be created (%1)")
                          .arg(QString::fromLocal8Bit(std::strerror(errno))));
    struct stat st {};
    if (::lstat(path.constData(), &st) != 0)
        return refuse(QStringLiteral("cannot be read (%1)")
                          .arg(QString::fromLocal8Bit(std::strerror(errno))));
    if (!S_ISDIR(st.st_mode))
        return refuse(QStringLiteral("is not a folder"));
    if (st.st_uid != ::getuid())
        return refuse(QStringLiteral("belongs to another user"));
    if ((st.st_mode & 077) != 0 && ::chmod(path.constData(), 0700) != 0)
        return refuse(QStringLiteral("can be entered by other users and cannot be made private"));
    return true;
}

} // namespace ovra
