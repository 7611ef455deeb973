#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace ovra {

// A sound file larger than this is refused: an alarm sound is seconds long, and
// the sound back end reads the whole file into memory.
inline constexpr qint64 kMaxSoundFileBytes = 50 * 1024 * 1024;

// What a WAV file's header says. Only a file whose every field lies within what
// the sound plays gets fault None; the sound module never sees any other, as a
// data chunk without a whole frame, or a rate of one sample a second, stalls or
// crashes the audio code that divides by them.
struct WavHeader {
    enum class Fault {
        None,
        NotWav,   // no RIFF/WAVE file, or its chunks do not fit the file
        Encoding, // not 8, 16, 24 or 32-bit PCM or 32-bit float
        Channels, // not 1 to 8 channels
        Rate,     // not 8,000 to 192,000 samples a second
        Empty,    // a data chunk without one whole frame
    };
    Fault fault = Fault::NotWav;
    bool isFloat = false;
    int channels = 0;
    qint64 rate = 0;
    int bits = 0;
    qint64 dataOffset = 0; // where the samples start in the file
    qint64 dataBytes = 0;  // whole frames only

    int frameBytes() const { return channels * (bits / 8); }
};

inline constexpr int kMinSoundChannels = 1, kMaxSoundChannels = 8;
inline constexpr qint64 kMinSoundRate = 8000, kMaxSoundRate = 192000;

// Reads the header of a WAV file held whole in bytes; never reads past them.
WavHeader readWavHeader(QByteArrayView bytes);

// Why a sound with this header will not be played, in a short translated phrase
// that names the file; empty for fault None.
QString wavFaultText(const WavHeader& header, const QString& fileName);

// A sound file read once, for the sound to play from memory: its path is never
// opened again, so a file swapped for a FIFO or a link after the checks changes
// nothing.
struct SoundFileContents {
    QByteArray bytes;
    WavHeader header;
    QString problem; // empty: bytes hold a WAV file that may be played
};

// Opens path once without blocking and checks the descriptor: a regular file of at
// most kMaxSoundFileBytes. In a folder that others may write (the temporary
// folder), where anyone can leave a file or a link, only the user's own file that
// nobody else may write is read, and never through a link.
SoundFileContents readSoundFile(const QString& path);

// Why a sound file will not be played, or empty: readSoundFile's verdict.
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
