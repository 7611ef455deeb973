#pragma once

#include "settings/clocklauncher.h"
#include "settings/instancechannel.h"

#include <QMap>
#include <QStringList>

#include <functional>

namespace ovra::test {

// Running clocks as a map of name to process id; records what was asked of them,
// also into a log shared with other doubles when one is set.
class FakeInstanceChannel final : public InstanceChannel {
public:
    qint64 find(const QString& clockName, bool bringForward) override {
        if (onFind)
            onFind(clockName);
        // A process just started answers only after a while.
        if (upAfterFinds.contains(clockName) && --upAfterFinds[clockName] == 0)
            running.insert(clockName, 88);
        if (!running.contains(clockName))
            return 0;
        if (bringForward) {
            raised << clockName;
            record(QStringLiteral("raise "), clockName);
        }
        return running.value(clockName);
    }
    CloseOutcome close(const QString& clockName, int timeoutMs) override {
        closed << clockName;
        closeTimeouts << timeoutMs;
        record(QStringLiteral("close "), clockName);
        if (!running.contains(clockName))
            return CloseOutcome::NotRunning;
        if (onClose)
            onClose(clockName);
        if (closeOutcome == CloseOutcome::Closed)
            running.remove(clockName);
        return closeOutcome;
    }

    SettingsOutcome showSettings(const QString& clockName) override {
        record(QStringLiteral("settings "), clockName);
        if (settingsOutcome != SettingsOutcome::Shown)
            return settingsOutcome;
        if (!running.contains(clockName))
            return SettingsOutcome::NotRunning;
        settingsShown << clockName;
        return SettingsOutcome::Shown;
    }

    QMap<QString, qint64> running;
    QMap<QString, int> upAfterFinds;
    QStringList settingsShown;
    // What a running clock answers a settings request with.
    SettingsOutcome settingsOutcome = SettingsOutcome::Shown;
    QStringList raised;
    QStringList closed;
    QList<int> closeTimeouts;
    CloseOutcome closeOutcome = CloseOutcome::Closed;
    // Stands for what other processes do while this one asks around.
    std::function<void(const QString&)> onFind;
    // Stands for the other process's shutdown, run while the caller waits.
    std::function<void(const QString&)> onClose;
    // "raise Name", "close Name", "settings Name" in the order asked.
    QStringList* log = nullptr;

private:
    void record(const QString& what, const QString& clockName) {
        if (log)
            *log << what + clockName;
    }
};

class RecordingLauncher final : public ClockLauncher {
public:
    bool launch(const QString& clockName) override {
        launched << clockName;
        if (log)
            *log << QStringLiteral("launch ") + clockName;
        if (succeed && onLaunch)
            onLaunch(clockName);
        return succeed;
    }
    QStringList launched;
    // Stands for the new process coming up.
    std::function<void(const QString&)> onLaunch;
    bool succeed = true;
    QStringList* log = nullptr;
};

} // namespace ovra::test
