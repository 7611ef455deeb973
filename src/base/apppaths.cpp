#include "base/apppaths.h"

#include "base/privatepath.h"
#include "base/textutil.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace ovra {

namespace {
const QString kCompany = QStringLiteral("Tamrel");
const QString kProduct = QStringLiteral("Ovra Clock");

void ensureFolder(const QString& path, QFileDevice::Permissions perms) {
    if (fileExists(path))
        return;
    if (makePrivatePath(path))
        QFile::setPermissions(path, perms);
}

// The data folder holds the alarm files, whose notes are private: created 0700,
// and tightened when an earlier version left it open to others. Only this folder
// is touched, never a parent such as the user's whole data folder.
void ensurePrivateFolder(const QString& path) {
    const auto privateFolder =
        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;
    const auto shared = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup |
                        QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
    const QFileInfo info(path);
    if (!info.exists()) {
        QDir().mkdir(path, privateFolder);
        return;
    }
    if (info.isDir() && !info.isSymLink() && (info.permissions() & shared))
        QFile::setPermissions(path, privateFolder);
}
} // namespace

QString xdgBaseFolder(const char* variable, const char* homeFallback) {
    const QString value = qEnvironmentVariable(variable);
    if (QDir::isAbsolutePath(value))
        return QDir::cleanPath(value);
    return QDir::homePath() + u'/' + QString::fromLatin1(homeFallback);
}

void dropRelativeFolderVariables() {
    for (const char* variable : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME",
                                 "XDG_STATE_HOME", "XDG_RUNTIME_DIR", "TMPDIR"}) {
        if (qEnvironmentVariableIsSet(variable) &&
            !QDir::isAbsolutePath(qEnvironmentVariable(variable)))
            qunsetenv(variable);
    }
}

PathRoots PathRoots::fromSystem() {
    PathRoots roots;
    roots.appFolder =
        QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QDir::currentPath();
    // Not QStandardPaths: Qt 6.4 follows a relative value from the current folder.
    roots.dataRoot = xdgBaseFolder("XDG_DATA_HOME", ".local/share");
    roots.configRoot = xdgBaseFolder("XDG_CONFIG_HOME", ".config");
    roots.tempFolder = QDir::tempPath();
    // Without a valid runtime folder the channel finds a private folder of its own.
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    roots.runtimeRoot = QDir::isAbsolutePath(runtime) ? QDir::cleanPath(runtime) : QString();
    return roots;
}

AppPaths AppPaths::build(const QString& clockName, const PathRoots& roots) {
    AppPaths p;
    p.appFolder = withTrailingSlash(roots.appFolder);
    p.companyFolder = withTrailingSlash(roots.dataRoot) + kCompany + u'/';
    p.dataFolder = p.companyFolder + kProduct + u'/';
    p.tempFolder = withTrailingSlash(roots.tempFolder);
    p.configFolder = withTrailingSlash(roots.configRoot) + kCompany + u'/' + kProduct + u'/';
    p.storePath = storePathFor(roots);
    p.autostartFolder = withTrailingSlash(roots.configRoot) + QStringLiteral("autostart/");
    p.runtimeFolder =
        roots.runtimeRoot.isEmpty() ? QString() : withTrailingSlash(roots.runtimeRoot);

    const auto shared = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                        QFileDevice::ReadGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther |
                        QFileDevice::ExeOther;
    ensureFolder(p.companyFolder, shared);
    ensurePrivateFolder(p.dataFolder);

    p.defaultAlarmSoundPath = p.tempFolder + QStringLiteral("alarm.wav");
    p.alarmFilePath = p.alarmFileFor(clockName);
    return p;
}

QString AppPaths::storePathFor(const PathRoots& roots) {
    // The key store's file keeps the name every earlier version gave it.
    return withTrailingSlash(roots.configRoot) + kCompany + u'/' + kProduct +
           QStringLiteral("/registry.db");
}

QString AppPaths::alarmFileFor(const QString& clockName) const {
    return dataFolder + clockName + QStringLiteral(".cfg");
}

} // namespace ovra
