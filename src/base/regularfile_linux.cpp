#include "base/regularfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ovra {

PathKind pathKind(const QString& path) {
    struct stat st = {};
    if (path.isEmpty())
        return PathKind::Missing;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return errno == ENOENT || errno == ENOTDIR ? PathKind::Missing : PathKind::Unreachable;
    return S_ISREG(st.st_mode) ? PathKind::Regular : PathKind::Other;
}

bool mayReplaceWithFile(const QString& path) {
    const PathKind kind = pathKind(path);
    return kind == PathKind::Missing || kind == PathKind::Regular;
}

bool othersMayWrite(quint32 mode, quint32 group) {
    if (mode & S_IWOTH)
        return true;
    return (mode & S_IWGRP) && group != ::getegid() && group != 0;
}

QString notRegularFileText(const QString& path) {
    return QCoreApplication::translate("Messages", "%1 is not a regular file.")
        .arg(QDir::toNativeSeparators(path));
}

bool openRegularFileForReading(QFile& file, const QString& path, QString* problem) {
    auto fail = [&](const QString& why) {
        if (problem)
            *problem = why;
        return false;
    };
    // O_NONBLOCK makes open() return at once on a FIFO without a writer; the type is
    // then checked on the descriptor itself, so nothing can be swapped in between.
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return fail(
            QCoreApplication::translate("Messages", "%1 cannot be opened: %2")
                .arg(QDir::toNativeSeparators(path), QString::fromLocal8Bit(std::strerror(errno))));
    struct stat st = {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return fail(notRegularFileText(path));
    }
    // Regular files never block; reads go on in the ordinary mode.
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0)
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return fail(QCoreApplication::translate("Messages", "%1 cannot be read: %2")
                        .arg(QDir::toNativeSeparators(path), file.errorString()));
    }
    return true;
}

} // namespace ovra
