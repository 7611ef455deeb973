#include "base/privatepath.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>

#include <sys/stat.h>

namespace ovra {

bool makePrivatePath(const QString& folder) {
    const QString clean = QDir::cleanPath(folder);
    if (QFileInfo(clean).isDir())
        return true;
    const QString parent = QFileInfo(clean).path();
    if (parent == clean || !makePrivatePath(parent))
        return false;
    const QByteArray path = QFile::encodeName(clean);
    if (::mkdir(path.constData(), 0700) != 0)
        return errno == EEXIST;
    // A umask that takes the owner's own rights would leave a folder it cannot use.
    ::chmod(path.constData(), 0700);
    return true;
}

} // namespace ovra
