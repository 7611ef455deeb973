#include "settings/privatesocket.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
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

namespace {
// Whether the process runs as this user. Its /proc folder belongs to the user it
// runs as.
bool processIsOurs(qint64 pid) {
    struct stat st {};
    return ::stat(QByteArray("/proc/" + QByteArray::number(pid)).constData(), &st) == 0 &&
           st.st_uid == ::getuid();
}
} // namespace

qint64 lockHolder(const QString& path) {
    struct stat st {};
    // A lock file that another user made, or holds, is no clock of this user: taking
    // it for one would call a clock running that never started, and a stop would
    // signal the stranger's process.
    if (::stat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISREG(st.st_mode) ||
        st.st_uid != ::getuid())
        return 0;
    // The kernel's table of held locks, read rather than probed: trying the lock,
    // even for a moment, could make a clock that starts just then think its name
    // taken.
    QFile table(QStringLiteral("/proc/locks"));
    if (!table.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray file = QString::asprintf("%02x:%02x:%lu", major(st.st_dev), minor(st.st_dev),
                                              static_cast<unsigned long>(st.st_ino))
                                .toLatin1();
    // "1: FLOCK  ADVISORY  WRITE 2813 fe:00:10954054 0 EOF"; a waiter's line has
    // "->" after the number.
    for (const QByteArray& line : table.readAll().split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() >= 6 && fields[1] != "->" && fields[5] == file) {
            // A holder in another pid namespace has no number here.
            const qint64 pid = fields[4].toLongLong();
            if (pid <= 0)
                return 1;
            return processIsOurs(pid) ? pid : 0;
        }
    }
    return 0;
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
