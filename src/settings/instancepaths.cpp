#include "settings/instancepaths.h"

#include "settings/privatesocket.h"
#include "shell/textutil.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>

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
} // namespace

QString instanceSocketFolder(const QString& runtimeRoot) {
    const QString uid = QString::number(currentUserId());
    if (!runtimeRoot.isEmpty()) {
        const QString folder = withTrailingSlash(runtimeRoot) + QStringLiteral("ovra-clock/");
        if (fits(folder))
            return folder;
        // A deep runtime folder would make every socket path too long; the temporary
        // folder keeps one private folder per runtime folder instead.
        return withTrailingSlash(QDir::tempPath()) +
               QStringLiteral("ovra-clock-%1-%2/")
                   .arg(uid, QString::fromLatin1(shortHash(runtimeRoot, 8)));
    }
    return withTrailingSlash(QDir::tempPath()) + QStringLiteral("ovra-clock-%1/").arg(uid);
}

QString instanceSocketPath(const QString& folder, const QString& clockName) {
    return withTrailingSlash(folder) + QString::fromLatin1(shortHash(clockName, 16)) +
           QStringLiteral(".sock");
}

} // namespace ovra
