// The alarm sound's module, loaded on the first alarm: found, refused and missing,
// and the clock itself free of the audio and network libraries.
#include "alarms/loadedalarmsound.h"
#include "alarms/soundfile.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace ovra;

namespace {

// One second of 8 kHz mono silence.
void writeWav(const QString& path) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    QDataStream out(&f);
    out.setByteOrder(QDataStream::LittleEndian);
    const quint32 samples = 8000;
    out.writeRawData("RIFF", 4);
    out << quint32(36 + samples * 2);
    out.writeRawData("WAVEfmt ", 8);
    out << quint32(16) << quint16(1) << quint16(1) << quint32(8000) << quint32(16000) << quint16(2)
        << quint16(16);
    out.writeRawData("data", 4);
    out << quint32(samples * 2);
    for (quint32 i = 0; i < samples; ++i)
        out << qint16(0);
}

// The bytes of writeWav's file, to be damaged by a test.
QByteArray wavBytes(const QString& folder) {
    const QString path = folder + QStringLiteral("/model.wav");
    writeWav(path);
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A WAV file of frames silent frames with the header fields given.
struct Header {
    quint16 tag = 1;
    quint16 channels = 1;
    quint32 rate = 8000;
    quint16 bits = 16;
    quint32 frames = 800;
};

QByteArray makeWav(const Header& h) {
    const quint16 align = quint16(h.channels * (h.bits / 8));
    // Silence: unsigned 8-bit samples are silent at their middle.
    const QByteArray samples(qsizetype(h.frames) * align, h.bits == 8 ? '\x80' : '\0');
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out.writeRawData("RIFF", 4);
    out << quint32(36 + samples.size());
    out.writeRawData("WAVEfmt ", 8);
    out << quint32(16) << h.tag << h.channels << h.rate << quint32(h.rate * align) << align
        << h.bits;
    out.writeRawData("data", 4);
    out << quint32(samples.size());
    out.writeRawData(samples.constData(), int(samples.size()));
    return bytes;
}

QString neededLibraries(const QString& elf) {
    QProcess readelf;
    readelf.start(QStringLiteral("readelf"), {QStringLiteral("-d"), elf});
    readelf.waitForFinished();
    QString needed;
    for (const QString& line : QString::fromLocal8Bit(readelf.readAllStandardOutput()).split(u'\n'))
        if (line.contains(QStringLiteral("(NEEDED)")))
            needed += line + u'\n';
    return needed;
}

} // namespace

TEST(LoadedAlarmSound, LoadsTheModuleOnTheFirstFileItPlays) {
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("fifo.wav"));
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString wav = dir.filePath(QStringLiteral("tone.wav"));
    writeWav(wav);
    QStringList messages;
    // The first folder has no module; the second, the build's, has it.
    LoadedAlarmSound sound({dir.path(), QStringLiteral(OVRA_SOUND_MODULE_DIR)},
                           [&](const QString& m) { messages << m; });
    sound.stop();
    EXPECT_EQ(sound.backend(), nullptr) << "stopping loads nothing";
    sound.play(fifo);
    EXPECT_EQ(sound.backend(), nullptr) << "a FIFO is silence without the module";
    sound.play(wav);
    ASSERT_NE(sound.backend(), nullptr);
    SoundBackend* const first = sound.backend();
    sound.play(dir.filePath(QStringLiteral("missing.wav")));
    sound.stop();
    EXPECT_EQ(sound.backend(), first) << "the module's sound is made once";
    EXPECT_TRUE(messages.isEmpty()) << messages.join(u'\n').toStdString();
}

TEST(LoadedAlarmSound, AModuleThatCannotBeUsedLeavesAlarmsSilentAndSaysWhyOnce) {
    QTemporaryDir dir;
    const QString wav = dir.filePath(QStringLiteral("tone.wav"));
    writeWav(wav);
    const QString broken = dir.filePath(QStringLiteral("broken"));
    const QString old = dir.filePath(QStringLiteral("old"));
    const QString empty = dir.filePath(QStringLiteral("empty"));
    for (const QString& folder : {broken, old, empty})
        ASSERT_TRUE(QDir().mkpath(folder));
    {
        QFile garbage(broken + QStringLiteral("/ovra-clock-sound.so"));
        ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
        garbage.write("not a shared object\n");
    }
    ASSERT_TRUE(QFile::copy(QStringLiteral(OVRA_OLD_SOUND_MODULE),
                            old + QStringLiteral("/ovra-clock-sound.so")));
    const struct {
        const char* what;
        QString folder;
        QString says;
    } cases[] = {
        {"not an object file", broken, broken + QStringLiteral("/ovra-clock-sound.so")},
        {"another version's module", old, QStringLiteral("ovra_create_alarm_sound_3")},
        {"no module at all", empty, QStringLiteral("not found in ") + empty},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QStringList messages;
        LoadedAlarmSound sound({c.folder}, [&](const QString& m) { messages << m; });
        sound.play(wav);
        sound.play(wav);
        sound.stop();
        EXPECT_EQ(sound.backend(), nullptr);
        ASSERT_EQ(messages.size(), 1) << messages.join(u'\n').toStdString();
        EXPECT_TRUE(messages[0].startsWith(QStringLiteral(
            "Alarms stay silent: the sound module ovra-clock-sound cannot be loaded (")))
            << messages[0].toStdString();
        EXPECT_TRUE(messages[0].contains(c.says)) << messages[0].toStdString();
    }
}

TEST(LoadedAlarmSound, AFileTheSoundWouldChokeOnIsRefusedWithItsReason) {
    QTemporaryDir dir;
    const QByteArray good = wavBytes(dir.path());
    ASSERT_EQ(good.size(), 44 + 16000);
    const auto patched = [&](int at, const char* bytes, int n) {
        QByteArray b = good;
        b.replace(at, n, QByteArray(bytes, n));
        return b;
    };
    const struct {
        const char* name;
        QByteArray bytes;
        qint64 resizeTo; // 0: as written
        QString why;     // empty: played
    } cases[] = {
        {"fine.wav", good, 0, {}},
        {"claims.wav", patched(40, "\x00\x00\x00\xA0", 4), 0,
         QStringLiteral("claims.wav is not a WAV file that can be played")},
        {"chunk.wav", patched(16, "\xFF\xFF\xFF\x7F", 4), 0,
         QStringLiteral("chunk.wav is not a WAV file that can be played")},
        {"adpcm.wav", patched(20, "\x02\x00", 2), 0,
         QStringLiteral("adpcm.wav is not 8, 16, 24 or 32-bit PCM or 32-bit float")},
        {"bounds.wav", makeWav({1, 8, 192000, 24, 10}), 0, {}},
        {"float.wav", makeWav({3, 2, 44100, 32, 10}), 0, {}},
        {"low.wav", makeWav({1, 1, 8000, 8, 1}), 0, {}},
        {"empty.wav", makeWav({1, 1, 8000, 16, 0}), 0, QStringLiteral("empty.wav holds no sound")},
        // A data chunk of 2 bytes, where a frame has 4.
        {"half.wav", makeWav({1, 2, 8000, 16, 1}).replace(40, 4, QByteArray("\x02\0\0\0", 4)), 0,
         QStringLiteral("half.wav holds no sound")},
        {"one.wav", makeWav({1, 1, 1, 16, 10}), 0,
         QStringLiteral("one.wav has 1 samples a second, where 8000 to 192000 can be played")},
        {"seven.wav", makeWav({1, 1, 7, 16, 10}), 0,
         QStringLiteral("seven.wav has 7 samples a second, where 8000 to 192000 can be played")},
        {"slow.wav", makeWav({1, 1, 7999, 16, 10}), 0,
         QStringLiteral("slow.wav has 7999 samples a second, where 8000 to 192000 can be played")},
        {"fast.wav", makeWav({1, 1, 4294967295u, 16, 10}), 0,
         QStringLiteral(
             "fast.wav has 4294967295 samples a second, where 8000 to 192000 can be played")},
        {"many.wav", makeWav({1, 65535, 8000, 16, 1}), 0,
         QStringLiteral("many.wav has 65535 channels, where 1 to 8 can be played")},
        {"nine.wav", makeWav({1, 9, 8000, 16, 10}), 0,
         QStringLiteral("nine.wav has 9 channels, where 1 to 8 can be played")},
        {"silent.wav", makeWav({1, 0, 8000, 16, 10}), 0,
         QStringLiteral("silent.wav has 0 channels, where 1 to 8 can be played")},
        {"twelve.wav", makeWav({1, 1, 8000, 12, 10}), 0,
         QStringLiteral("twelve.wav is not 8, 16, 24 or 32-bit PCM or 32-bit float")},
        {"double.wav", makeWav({3, 1, 8000, 64, 10}), 0,
         QStringLiteral("double.wav is not 8, 16, 24 or 32-bit PCM or 32-bit float")},
        {"align.wav", patched(32, "\x04\x00", 2), 0,
         QStringLiteral("align.wav is not a WAV file that can be played")},
        {"nodata.wav", good.left(36), 0,
         QStringLiteral("nodata.wav is not a WAV file that can be played")},
        {"text.wav", "just some words\n", 0,
         QStringLiteral("text.wav is not a WAV file that can be played")},
        {"huge.wav", good, kMaxSoundFileBytes + 1, QStringLiteral("huge.wav is larger than 50 MB")},
    };
    QStringList messages;
    LoadedAlarmSound sound({QStringLiteral(OVRA_SOUND_MODULE_DIR)},
                           [&](const QString& m) { messages << m; });
    QStringList problems;
    sound.onProblem([&](const QString& why) { problems << why; });
    // The refused ones first: none of them loads the module.
    for (int pass = 0; pass < 2; ++pass) {
        for (const auto& c : cases) {
            if (c.why.isEmpty() != (pass == 1))
                continue;
            const QString path = dir.filePath(QString::fromLatin1(c.name));
            QFile f(path);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(c.bytes);
            if (c.resizeTo)
                f.resize(c.resizeTo); // sparse: no 50 MB really written
            f.close();
            problems.clear();
            sound.play(path);
            if (pass == 0) {
                EXPECT_EQ(problems, QStringList{c.why}) << c.name;
                EXPECT_EQ(sound.backend(), nullptr) << c.name;
            } else {
                // Played: whatever the machine's audio says, the file is not blamed.
                EXPECT_TRUE(problems.filter(QString::fromLatin1(c.name)).isEmpty()) << c.name;
            }
        }
    }
    EXPECT_NE(sound.backend(), nullptr);
    problems.clear();
    sound.play(dir.filePath(QStringLiteral("gone.wav")));
    EXPECT_EQ(problems, QStringList{QStringLiteral("gone.wav cannot be read")});
    EXPECT_TRUE(messages.isEmpty()) << messages.join(u'\n').toStdString();

    // Without its module the notice hears why, every time.
    LoadedAlarmSound without({dir.path()}, {});
    problems.clear();
    without.onProblem([&](const QString& why) { problems << why; });
    without.play(dir.filePath(QStringLiteral("fine.wav")));
    without.play(dir.filePath(QStringLiteral("fine.wav")));
    EXPECT_EQ(problems, QStringList(2, QStringLiteral("the sound module cannot be loaded")));
}

// Under a process or memory limit the audio output would wait for good on the
// thread it starts: every sound is silence then, the notice hears why and the log
// says so, whether the module is loaded yet or not. A file that fails its checks
// is named first; it would be silent anyway.
TEST(LoadedAlarmSound, WithoutAThreadToStartEverySoundIsSilenceWithItsReason) {
    QTemporaryDir dir;
    const QString wav = dir.filePath(QStringLiteral("tone.wav"));
    writeWav(wav);
    const QString text = dir.filePath(QStringLiteral("text.wav"));
    {
        QFile f(text);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("just some words\n");
    }
    const QString noThread = QStringLiteral("no thread can be started (a process or memory limit)");
    const QString logged = QStringLiteral(
        "An alarm stays silent: no thread can be started (a process or memory limit).");
    const struct {
        const char* what;
        bool threads;
        QString file;
        QString why; // empty: nothing about threads
        bool loaded; // the module afterwards
    } steps[] = {
        {"before the module", false, wav, noThread, false},
        {"a file that fails its checks", false, text,
         QStringLiteral("text.wav is not a WAV file that can be played"), false},
        {"threads to spare", true, wav, {}, true},
        {"the module loaded", false, wav, noThread, true},
        {"threads again", true, wav, {}, true},
    };
    bool threads = false;
    int asked = 0;
    QStringList messages;
    LoadedAlarmSound sound(
        {QStringLiteral(OVRA_SOUND_MODULE_DIR)}, [&](const QString& m) { messages << m; },
        [&] {
            ++asked;
            return threads;
        });
    for (const auto& s : steps) {
        SCOPED_TRACE(s.what);
        threads = s.threads;
        QStringList problems;
        sound.onProblem([&](const QString& why) { problems << why; });
        messages.clear();
        asked = 0;
        sound.play(s.file);
        if (s.why.isEmpty()) {
            EXPECT_TRUE(problems.filter(QStringLiteral("thread")).isEmpty())
                << qPrintable(problems.join(u'\n'));
            EXPECT_EQ(asked, 1);
            EXPECT_TRUE(messages.isEmpty()) << qPrintable(messages.join(u'\n'));
        } else {
            EXPECT_EQ(problems, QStringList{s.why});
            EXPECT_EQ(messages, s.why == noThread ? QStringList{logged} : QStringList());
        }
        EXPECT_EQ(sound.backend() != nullptr, s.loaded);
    }
    sound.stop();
}

// The file is read once: one swapped for a FIFO after play() returned is never
// opened again, where the module's loader would block on it for good.
TEST(LoadedAlarmSound, AFileSwappedForAFifoAfterTheChecksIsNeverOpenedAgain) {
    QTemporaryDir dir;
    const QString first = dir.filePath(QStringLiteral("first.wav"));
    const QString wav = dir.filePath(QStringLiteral("tone.wav"));
    const QString fifo = dir.filePath(QStringLiteral("fifo"));
    writeWav(first);
    writeWav(wav);
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    LoadedAlarmSound sound({QStringLiteral(OVRA_SOUND_MODULE_DIR)}, {});
    sound.play(first); // the module is loaded, so the second play goes straight on
    sound.play(wav);
    ASSERT_EQ(::rename(QFile::encodeName(fifo).constData(), QFile::encodeName(wav).constData()), 0);
    // A writer opens a FIFO without blocking only while someone reads it; closing
    // again lets a blocked reader go on.
    bool read = false;
    QElapsedTimer waited;
    waited.start();
    while (!read && waited.elapsed() < 1500) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        if (const int writer = ::open(QFile::encodeName(wav).constData(), O_WRONLY | O_NONBLOCK);
            writer >= 0) {
            read = true;
            ::close(writer);
        }
    }
    EXPECT_FALSE(read) << "the FIFO was opened after the checks";
    sound.stop();
}

// In a folder that others may write, as the temporary folder, anyone may leave a
// file or a link under the sound's name: only the user's own file plays there.
TEST(LoadedAlarmSound, InAFolderOthersMayWriteOnlyTheUsersOwnFilePlays) {
    QTemporaryDir dir;
    const QString shared = dir.filePath(QStringLiteral("shared"));
    ASSERT_TRUE(QDir().mkpath(shared));
    ASSERT_EQ(::chmod(QFile::encodeName(shared).constData(), 01777), 0);
    const QString own = shared + QStringLiteral("/own.wav");
    writeWav(own);
    ASSERT_TRUE(QFile::setPermissions(own, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    writeWav(dir.filePath(QStringLiteral("private.wav")));
    ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("private.wav")),
                            shared + QStringLiteral("/link.wav")));
    writeWav(shared + QStringLiteral("/writable.wav"));
    ASSERT_TRUE(QFile::setPermissions(shared + QStringLiteral("/writable.wav"),
                                      QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                          QFileDevice::WriteOther));
    struct Case {
        QString name;
        QString why; // empty: played
    };
    QList<Case> cases = {
        {QStringLiteral("own.wav"), {}},
        {QStringLiteral("link.wav"), QStringLiteral("link.wav cannot be read")},
        {QStringLiteral("writable.wav"), QStringLiteral("writable.wav cannot be read")},
    };
    writeWav(shared + QStringLiteral("/theirs.wav"));
    if (::geteuid() == 0 &&
        ::chown(QFile::encodeName(shared + QStringLiteral("/theirs.wav")).constData(), 65534,
                65534) == 0)
        cases.append({QStringLiteral("theirs.wav"), QStringLiteral("theirs.wav cannot be read")});
    LoadedAlarmSound sound({QStringLiteral(OVRA_SOUND_MODULE_DIR)}, {});
    for (const Case& c : cases) {
        QStringList problems;
        sound.onProblem([&](const QString& why) { problems << why; });
        sound.play(shared + u'/' + c.name);
        if (c.why.isEmpty())
            EXPECT_TRUE(problems.filter(c.name).isEmpty()) << qPrintable(problems.join(u'\n'));
        else
            EXPECT_EQ(problems, QStringList{c.why});
    }
    sound.stop();
}

// A clock run from the build tree finds the sound it ships, and the sound passes
// the checks every sound file passes.
TEST(LoadedAlarmSound, TheShippedSoundIsFoundBesideTheClock) {
    const QString shipped =
        shippedAlarmSound(QFileInfo(QStringLiteral(OVRA_CLOCK_BIN)).absolutePath());
    ASSERT_FALSE(shipped.isEmpty());
    EXPECT_EQ(soundFileProblem(shipped), QString());
}

// What the module is for: a clock that never rings does not map the audio
// libraries, which the module brings along. Nor does the clock map Qt's network
// library, whose Kerberos, proxy and resolver libraries cost every clock memory of
// its own.
TEST(LoadedAlarmSound, OnlyTheModuleNeedsTheAudioLibraries) {
    const QString clock = neededLibraries(QStringLiteral(OVRA_CLOCK_BIN));
    const QString module =
        neededLibraries(QStringLiteral(OVRA_SOUND_MODULE_DIR "/ovra-clock-sound.so"));
    ASSERT_TRUE(clock.contains(QStringLiteral("libQt6Core"))) << clock.toStdString();
    EXPECT_FALSE(clock.contains(QStringLiteral("Multimedia"))) << clock.toStdString();
    EXPECT_FALSE(clock.contains(QStringLiteral("libQt6Network"))) << clock.toStdString();
    EXPECT_TRUE(module.contains(QStringLiteral("libQt6Multimedia"))) << module.toStdString();
}
