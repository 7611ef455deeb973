#pragma once

#include <QString>
#include <QStringList>

namespace ovra {

// A sound file larger than this is refused: an alarm sound is seconds long, and
// the sound back end reads the whole file into memory.
inline constexpr qint64 kMaxSoundFileBytes = 50 * 1024 * 1024;

// Why a sound file will not be played, in a short translated phrase that names
// the file (too large, unreadable, or a header that claims what the file does not
// hold); empty when the file may be handed to the sound.
QString soundFileProblem(const QString& path);

// True for a regular file (not a link) that belongs to this user and that nobody
// else may write: the default sound lives in the temporary folder, where anyone
// can leave a file of that name.
bool isOwnPrivateFile(const QString& path);

// The sound that ships with the program: beside the executable in the build tree,
// or where the package installs it relative to the executable. Empty when neither
// exists.
QString shippedAlarmSound(const QString& executableFolder);

// The sound an alarm plays: its own file when the field names an existing regular
// file, else the user's own default sound, else the shipped one. Empty when there
// is none at all.
QString chooseAlarmSound(const QString& soundFile, const QString& defaultPath,
                         const QString& shippedPath);

} // namespace ovra
