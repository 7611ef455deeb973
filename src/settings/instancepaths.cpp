#include "settings/instancepaths.h"

#include "base/apppaths.h"
#include "base/privatepath.h"
#include "base/regularfile.h"
#include "base/textutil.h"
#include "settings/privatesocket.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSysInfo>

#include <cerrno>
#include <cstdlib>

#include <sys/stat.h>

namespace ovra {

namespace {
// "<16 hex digits>.sock"
constexpr int kSocketNameBytes = 21;

QByteArray shortHash(const QString& text, int hexDigits) {
    return QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Sha256)
        .toHex()
        .left(hexDigits);
}

bool fits(const QString& folder) {
    return QFile::encodeName(folder).size() + kSocketNameBytes <= kMaxSocketPathBytes;
}

// A folder in a place others share is used only when it is this user's own and
// closed to everyone else. One that is wider open is not narrowed and used: another
// user may have put something in it first, such as a lock held for one of this
// user's clocks.
bool ownPrivateFolder(const QString& folder) {
    const QByteArray path = QFile::encodeName(QDir::cleanPath(folder));
    if (::mkdir(path.constData(), 0700) == 0) {
        // A umask that takes the owner's own rights would leave a folder it cannot use.
        ::chmod(path.constData(), 0700);
    } else if (errno != EEXIST) {
        return false;
    }
    struct stat st {};
    return ::lstat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode) &&
           st.st_uid == currentUserId() && (st.st_mode & 07777) == 0700;
}

// A new folder of this user's alone, whose name nobody could know beforehand.
QString freshPrivateFolder(const QString& parent, const QString& name) {
    QByteArray pattern = QFile::encodeName(parent + name) + "-XXXXXX";
    if (!fits(QFile::decodeName(pattern) + u'/') || !::mkdtemp(pattern.data()))
        return {};
    return QFile::decodeName(pattern) + u'/';
}

// This computer, for a home folder that several share. Its machine id stays when
// the network renames the computer under a running clock.
QString hostTag() {
    const QByteArray id = QSysInfo::machineUniqueId();
    return QString::fromLatin1(
        shortHash(id.isEmpty() ? QSysInfo::machineHostName() : QString::fromLatin1(id), 8));
}
} // namespace

QString instanceSocketFolder(const QString& runtimeRoot, SocketFolderFor use) {
    const QString uid = QString::number(currentUserId());
    const QString temp = withTrailingSlash(QDir::tempPath());
    // Every process of the user walks the same list and takes the first folder
    // that is safe, so they all meet in the same place. A folder that someone else
    // owns, or could replace, would let them cut this user's clocks off or pose as
    // one of them.
    QString tempName = QStringLiteral("ovra-clock-%1/").arg(uid);
    QStringList candidates;
    QString runtimeFolder;
    if (QDir::isAbsolutePath(runtimeRoot)) {
        const QString folder = withTrailingSlash(runtimeRoot) + QStringLiteral("ovra-clock/");
        if (!fits(folder)) {
            // A deep runtime folder would make every socket path too long; the
            // temporary folder keeps one private folder per runtime folder instead.
            tempName = QStringLiteral("ovra-clock-%1-%2/")
                           .arg(uid, QString::fromLatin1(shortHash(runtimeRoot, 8)));
        } else if (folderIsTrusted(runtimeRoot, true)) {
            runtimeFolder = folder;
            candidates << folder;
        }
    }
    candidates << temp + tempName;
    // Next, a folder below the user's own cache folder, which no one else can take
    // first; last the system's own temporary folder, short wherever TMPDIR points.
    const QString cache = withTrailingSlash(xdgBaseFolder("XDG_CACHE_HOME", ".cache")) +
                          QStringLiteral("ovra-clock-%1/").arg(uid);
    candidates << cache;
    const QString systemTemp = QStringLiteral("/tmp/") + tempName;
    if (!candidates.contains(systemTemp))
        candidates << systemTemp;
    for (const QString& folder : std::as_const(candidates)) {
        // A socket path the system cannot take would leave the clock unreachable.
        if (!fits(folder))
            continue;
        const QString parent = QFileInfo(folder.chopped(1)).path();
        if (folder == cache)
            makePrivatePath(parent);
        if (!folderIsTrusted(parent, false))
            continue;
        // Nobody else can enter a runtime folder that passed the check above, so
        // what is in it is this user's, and a sub-folder of it may be narrowed.
        if (folder == runtimeFolder ? ensurePrivateFolder(folder) : ownPrivateFolder(folder))
            return folder;
    }
    if (use == SocketFolderFor::Listening) {
        // The clock notes where it listens, so a folder of its own is found too.
        for (const QString& parent : {temp, QStringLiteral("/tmp/")}) {
            if (!folderIsTrusted(parent, false))
                continue;
            if (QString fresh = freshPrivateFolder(parent, tempName.chopped(1)); !fresh.isEmpty())
                return fresh;
        }
    }
    // None is usable: the first one is named, and claiming it says what is wrong.
    return candidates.first();
}

InstancePlaces instancePlaces(const PathRoots& roots, SocketFolderFor use) {
    return {QFileInfo(AppPaths::storePathFor(roots)).path() + QStringLiteral("/instances/"),
            instanceSocketFolder(roots.runtimeRoot, use)};
}

QString instanceNameLockPath(const QString& nameFolder, const QString& clockName) {
    return withTrailingSlash(nameFolder) + QString::fromLatin1(shortHash(clockName, 16)) + u'-' +
           hostTag() + QStringLiteral(".lock");
}

QString instanceSocketNotePath(const QString& nameFolder, const QString& clockName) {
    return withTrailingSlash(nameFolder) + QString::fromLatin1(shortHash(clockName, 16)) + u'-' +
           hostTag() + QStringLiteral(".socket");
}

QString notedSocket(const QString& notePath) {
    if (pathKind(notePath) != PathKind::Regular)
        return {};
    QFile note(notePath);
    if (!note.open(QIODevice::ReadOnly))
        return {};
    const QByteArray line = note.read(kMaxSocketPathBytes + 2).trimmed();
    if (line.size() > kMaxSocketPathBytes || line.contains('\0') || !line.startsWith('/'))
        return {};
    return QFile::decodeName(line);
}

bool writeSocketNote(const QString& notePath, const QString& socketPath) {
    QSaveFile note(notePath);
    if (!note.open(QIODevice::WriteOnly))
        return false;
    note.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    note.write(QFile::encodeName(socketPath) + '\n');
    return note.commit();
}

QString instanceLockPath(const QString& socketPath) {
    return socketPath + QStringLiteral(".lock");
}

QString instanceSocketPath(const QString& folder, const QString& clockName) {
    return withTrailingSlash(folder) + QString::fromLatin1(shortHash(clockName, 16)) +
           QStringLiteral(".sock");
}

} // namespace ovra
