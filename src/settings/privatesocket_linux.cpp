#include "settings/privatesocket.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

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

bool folderIsTrusted(const QString& folder, bool ownOnly) {
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    if (canonical.isEmpty())
        return false;
    const uid_t self = ::getuid();
    QString path = canonical;
    for (bool first = true;; first = false) {
        struct stat st {};
        if (::stat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISDIR(st.st_mode))
            return false;
        if (first && ownOnly && (st.st_uid != self || (st.st_mode & 022) != 0))
            return false;
        if (st.st_uid != self && st.st_uid != 0)
            return false;
        if ((st.st_mode & 022) != 0 && (st.st_mode & S_ISVTX) == 0)
            return false;
        if (path == u'/')
            return true;
        path = QFileInfo(path).path();
    }
}

bool ensurePrivateFolder(const QString& folder, QString* problem) {
    auto refuse = [&](const QString& why) {
        if (problem)
            *problem = why;
        return false;
    };
    // Without its closing "/": lstat would follow a link named by "folder/".
    const QByteArray path = QFile::encodeName(QDir::cleanPath(folder));
    if (::mkdir(path.constData(), 0700) != 0 && errno != EEXIST)
        return refuse(
            QCoreApplication::translate("Settings", "The folder %1 cannot be created (%2).")
                .arg(folder, QString::fromLocal8Bit(std::strerror(errno))));
    struct stat st {};
    if (::lstat(path.constData(), &st) != 0)
        return refuse(QCoreApplication::translate("Settings", "The folder %1 cannot be read (%2).")
                          .arg(folder, QString::fromLocal8Bit(std::strerror(errno))));
    if (!S_ISDIR(st.st_mode))
        return refuse(
            QCoreApplication::translate("Settings", "The folder %1 is not a folder.").arg(folder));
    if (st.st_uid != ::getuid())
        return refuse(
            QCoreApplication::translate("Settings", "The folder %1 belongs to another user.")
                .arg(folder));
    if ((st.st_mode & 077) != 0 && ::chmod(path.constData(), 0700) != 0)
        return refuse(QCoreApplication::translate(
                          "Settings",
                          "The folder %1 can be entered by other users and cannot be made private.")
                          .arg(folder));
    return true;
}

} // namespace ovra
