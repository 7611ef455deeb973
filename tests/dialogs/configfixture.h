#pragma once

// A clock process as the settings dialog sees it: the real ClockApp, store, clock
// list and autostart entry in a private home, with doubles for the other clock
// processes, the program launcher and the colour and file dialogs.
#include "app/clockapp.h"
#include "dialogs/colourpicker.h"
#include "dialogs/configservices.h"
#include "dialogs/filechooser.h"
#include "dialogs/settingsdialog.h"
#include "settings/autorun.h"
#include "settings/clocklauncher.h"
#include "settings/clocklist.h"
#include "settings/sqlitestorebackend.h"
#include "support/testenv.h"

#include <QMap>
#include <QStringList>

#include <memory>

namespace ovra::test {

// The other clock processes: which run (name -> pid), and what was asked of them.
class FakeInstanceChannel final : public InstanceChannel {
public:
    QMap<QString, qint64> running;
    QStringList* log = nullptr;

    qint64 find(const QString& name, bool bringForward) override {
        const qint64 pid = running.value(name, 0);
        if (pid > 0 && bringForward && log)
            *log << QStringLiteral("raise ") + name;
        return pid;
    }
    CloseOutcome close(const QString& name, int) override {
        if (log)
            *log << QStringLiteral("close ") + name;
        return running.remove(name) ? CloseOutcome::Closed : CloseOutcome::NotRunning;
    }
    SettingsOutcome showSettings(const QString& name) override {
        if (log)
            *log << QStringLiteral("settings ") + name;
        return running.value(name, 0) > 0 ? SettingsOutcome::Shown : SettingsOutcome::NotRunning;
    }
};

class FakeLauncher final : public ClockLauncher {
public:
    QStringList* log = nullptr;
    bool launch(const QString& name) override {
        if (log)
            *log << QStringLiteral("launch ") + name;
        return true;
    }
};

class FakeColourPicker final : public ColourPicker {
public:
    std::optional<int32_t> colour;
    int alpha = 255;
    std::optional<int32_t> pickColour(QWidget*, int32_t) override { return colour; }
    int pickAlpha(QWidget*, int) override { return alpha; }
};

class FakeFileChooser final : public FileChooser {
public:
    QString answer; // empty: the user cancels
    QStringList filters;
    QStringList titles;
    QStringList starts;
    QString chooseFile(QWidget*, bool, const QString& title, const QString& filter,
                       const QString& start) override {
        filters << filter;
        titles << title;
        starts << start;
        return answer;
    }
};

// Records where the shutdown closes the windows, for the order of the clocks page.
class RecordingWindowHost final : public ClockWindowHost {
public:
    std::function<void()> onCloseWindows;
    void computeLayout() override {}
    void checkMonitor() override {}
    void loadClockWindow() override {}
    void createDrawTools() override {}
    void deleteDrawTools() override {}
    void loadButtonImage() override {}
    void releaseImages() override {}
    void deleteSurface() override {}
    void fitToLayout() override {}
    void processPendingEvents() override {}
    void showClockWindow() override {}
    void applyZOrder() override {}
    void closeWindows() override {
        if (onCloseWindows)
            onCloseWindows();
    }
};

struct ConfigFixture {
    explicit ConfigFixture(const QString& clockName = QStringLiteral("Default"))
        : backend(home.storePath()), store(backend),
          time(QDateTime(QDate(2026, 3, 2), QTime(9, 0), Qt::UTC), QTimeZone(QByteArray("UTC"))),
          app({store, messages, time}, home.roots()) {
        channel.log = &log;
        launcher.log = &log;
        app.setWindowHost(&windowHost);
        program = home.path() + QStringLiteral("/bin/ovra-clock");
        autorun = std::make_unique<Autorun>(app.state(), app.paths(), program);
        app.setAutorunHost(autorun.get());
        app.startClock(clockName);
        clocks = std::make_unique<ClockList>(
            ClockList::Services{store, channel, launcher, messages}, app.paths().autostartFolder);
        channel.running.insert(clockName, 4242); // this process
    }

    ConfigServices services() {
        return {app,
                *clocks,
                *autorun,
                picker,
                files,
                [this] { log << QStringLiteral("about"); },
                [this](int ms) { log << QStringLiteral("wait %1").arg(ms); },
                [this] {
                    log << QStringLiteral("close own window");
                }};
    }

    SettingsDialog& open() {
        dialog = std::make_unique<SettingsDialog>(services());
        return *dialog;
    }

    QString storedText(const QString& key, const QString& value) {
        return store.readText(key, value);
    }
    std::optional<int32_t> stored(const QString& clock, const char16_t* value) {
        return store.readInteger(clockKeyPath(clock), QString::fromUtf16(value));
    }

    TestHome home;
    SqliteStoreBackend backend;
    KeyStore store;
    RecordingMessageSink messages;
    FixedTimeSource time;
    RecordingWindowHost windowHost;
    ClockApp app;
    QString program;
    std::unique_ptr<Autorun> autorun;
    QStringList log;
    FakeInstanceChannel channel;
    FakeLauncher launcher;
    std::unique_ptr<ClockList> clocks;
    FakeColourPicker picker;
    FakeFileChooser files;
    std::unique_ptr<SettingsDialog> dialog;
};

} // namespace ovra::test
