#pragma once

#include <QString>

namespace ovra {

// The XDG base folder named by the variable, or home + fallback when it is unset
// or relative: the XDG rules make a relative value invalid, and following it would
// give every working folder a store of its own.
QString xdgBaseFolder(const char* variable, const char* homeFallback);

// Removes the XDG base-folder variables and TMPDIR from the environment when they
// hold relative paths, so Qt and the clocks this process starts agree with the
// paths built here, whatever folder each of them was started in.
void dropRelativeFolderVariables();

// The base folders the paths are built from; tests give their own.
struct PathRoots {
    QString appFolder;   // folder of the executable
    QString dataRoot;    // shared application data (~/.local/share)
    QString configRoot;  // per-user configuration (~/.config)
    QString tempFolder;  // the user's temporary folder
    QString runtimeRoot; // $XDG_RUNTIME_DIR, or empty when there is none

    static PathRoots fromSystem();
};

// Every folder ends with "/". Built once at start-up from the clock's name.
class AppPaths {
public:
    AppPaths() = default;

    // Computes the paths and creates the company and data folders when missing;
    // creation failures are silent (later writes report them).
    static AppPaths build(const QString& clockName, const PathRoots& roots);

    QString appFolder;
    QString companyFolder;
    QString dataFolder;
    QString tempFolder;
    QString alarmFilePath;
    QString defaultAlarmSoundPath;
    // The per-user settings store and the folder it lives in.
    QString configFolder;
    QString storePath;
    QString autostartFolder;
    QString runtimeFolder;

    // The settings store of the user these roots belong to.
    static QString storePathFor(const PathRoots& roots);

    // The alarm file of any clock, for the clock-management operations.
    QString alarmFileFor(const QString& clockName) const;
};

} // namespace ovra
