#include "alarms/loadedalarmsound.h"

#include "alarms/soundfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>

namespace ovra {

LoadedAlarmSound::LoadedAlarmSound(QStringList folders, std::function<void(const QString&)> report,
                                   std::function<bool()> threadsCanStart)
    : m_folders(std::move(folders)), m_report(std::move(report)),
      m_threadsCanStart(std::move(threadsCanStart)) {}

// The module stays loaded to the end of the process: the sound's code lives in it.
LoadedAlarmSound::~LoadedAlarmSound() = default;

QStringList LoadedAlarmSound::moduleFolders(const QString& executableFolder) {
    const QDir bin(executableFolder);
    return {bin.path(), QDir::cleanPath(bin.filePath(QStringLiteral(OVRA_MODULES_FROM_BIN)))};
}

bool LoadedAlarmSound::load() {
    if (m_tried)
        return m_backend != nullptr;
    m_tried = true;
    QStringList problems;
    for (const QString& folder : m_folders) {
        const QString file =
            QDir(folder).filePath(QString::fromLatin1(kSoundModuleName) + QStringLiteral(".so"));
        if (!QFileInfo::exists(file))
            continue;
        QLibrary module(file);
        if (!module.load()) {
            problems << module.errorString();
            continue;
        }
        const auto create = reinterpret_cast<CreateSoundBackend>(module.resolve(kSoundModuleEntry));
        if (!create) {
            problems << QCoreApplication::translate("ovra::LoadedAlarmSound",
                                                    "%1 has no %2: it belongs to another version")
                            .arg(file, QString::fromLatin1(kSoundModuleEntry));
            continue;
        }
        m_backend.reset(create());
        if (m_backend) {
            m_backend->onProblem(m_problem);
            return true;
        }
    }
    if (m_report) {
        const QString why =
            problems.isEmpty()
                ? QCoreApplication::translate("ovra::LoadedAlarmSound", "not found in %1")
                      .arg(m_folders.join(QStringLiteral(", ")))
                : problems.join(QStringLiteral("; "));
        m_report(QCoreApplication::translate(
                     "ovra::LoadedAlarmSound",
                     "Alarms stay silent: the sound module %1 cannot be loaded (%2).")
                     .arg(QString::fromLatin1(kSoundModuleName), why));
    }
    return false;
}

void LoadedAlarmSound::play(const QString& path) {
    if (path.isEmpty()) {
        stop();
        return;
    }
    SoundFileContents sound = readSoundFile(path);
    if (!sound.problem.isEmpty()) {
        stop();
        if (m_problem)
            m_problem(sound.problem);
        return;
    }
    // Checked before the module is loaded or asked: the audio output's first use
    // starts its thread, and then waits for it without a bound. A sound already
    // playing would go on past the notice's reason, so it stops too.
    if (m_threadsCanStart && !m_threadsCanStart()) {
        stop();
        if (m_problem)
            m_problem(QCoreApplication::translate(
                "ovra::AlarmSound", "no thread can be started (a process or memory limit)"));
        if (m_report)
            m_report(QCoreApplication::translate(
                "ovra::LoadedAlarmSound",
                "An alarm stays silent: no thread can be started (a process or memory limit)."));
        return;
    }
    if (!load()) {
        if (m_problem)
            m_problem(QCoreApplication::translate("ovra::AlarmSound",
                                                  "the sound module cannot be loaded"));
        return;
    }
    const WavHeader& h = sound.header;
    // The samples alone, in the file's own buffer: a 50 MB sound is not copied.
    QByteArray data = std::move(sound.bytes);
    data.truncate(h.dataOffset + h.dataBytes);
    data.remove(0, h.dataOffset);
    m_backend->play(
        {QFileInfo(path).fileName(), std::move(data), h.channels, int(h.rate), h.bits, h.isFloat});
}

void LoadedAlarmSound::onProblem(Problem problem) {
    m_problem = problem;
    if (m_backend)
        m_backend->onProblem(std::move(problem));
}

void LoadedAlarmSound::stop() {
    if (m_backend)
        m_backend->stop();
}

} // namespace ovra
