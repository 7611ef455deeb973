#pragma once

#include "alarms/alarmsound.h"

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
    // message of a failed load.
    LoadedAlarmSound(QStringList folders, std::function<void(const QString&)> report);
    ~LoadedAlarmSound() override;

    // A file the back end would choke on (too large, a header that claims more
    // than the file holds) is refused with its reason, before the module loads.
    void play(const QString& path) override;
    void stop() override;
    void onProblem(Problem problem) override;

    // The sound made by the module, or null before the first play or after a
    // failed load.
    AlarmSound* backend() const { return m_backend.get(); }

    // Where a clock looks for its module: next to the executable (the build
    // tree), then where the package installs it relative to the executable.
    static QStringList moduleFolders(const QString& executableFolder);

private:
    bool load();

    QStringList m_folders;
    std::function<void(const QString&)> m_report;
    std::unique_ptr<AlarmSound> m_backend;
    Problem m_problem;
    bool m_tried = false;
};

} // namespace ovra
