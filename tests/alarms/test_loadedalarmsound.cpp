// The alarm sound's module, loaded on the first alarm: found, refused and missing,
// and the clock itself free of the audio and network libraries.
#include "alarms/loadedalarmsound.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

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
    AlarmSound* const first = sound.backend();
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
        {"another version's module", old, QStringLiteral("ovra_create_alarm_sound_1")},
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

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
