#pragma once

#include "alarms/alarmsound.h"
#include "alarms/soundmodule.h"
#include "base/ossupport.h"

#include <QStringList>

#include <functional>
#include <memory>

namespace ovra {

// The alarm sound from the sound module, loaded on the first alarm that plays a
// file. The audio libraries behind it (Qt Multimedia, PulseAudio, the codecs)
// would cost every clock a quarter of a megabyte of memory from start-up on, and
// most clocks never ring. A module that cannot be loaded gives silence, like a
// file that cannot be played, and says why once.
class LoadedAlarmSound final : public AlarmSound {
public:
    // The module is looked for in each folder in turn; report gets the one
    // message of a failed load, and one for each sound that no thread could be
    // started for. threadsCanStart is asked before every sound that the module
    // would play.
    LoadedAlarmSound(QStringList folders, std::function<void(const QString&)> report,
                     std::function<bool()> threadsCanStart = ovra::threadsCanStart);
    ~LoadedAlarmSound() override;

    // The file is read once and checked (a regular file of at most 50 MB whose
    // header lies within what the sound plays); one that fails is refused with its
    // reason before the module loads. The module gets the samples, never the path.
    // Under a process or memory limit that no thread can pass, the sound is silence
    // with that reason: the audio libraries wait for good on an audio thread that
    // did not start, and the notice and the whole clock with them.
    void play(const QString& path) override;
    void stop() override;
    void onProblem(Problem problem) override;

    // The sound made by the module, or null before the first play or after a
    // failed load.
    SoundBackend* backend() const { return m_backend.get(); }

    // Where a clock looks for its module: next to the executable (the build
    // tree), then where the package installs it relative to the executable.
    static QStringList moduleFolders(const QString& executableFolder);

private:
    bool load();

    QStringList m_folders;
    std::function<void(const QString&)> m_report;
    std::function<bool()> m_threadsCanStart;
    std::unique_ptr<SoundBackend> m_backend;
    Problem m_problem;
    bool m_tried = false;
};

} // namespace ovra
