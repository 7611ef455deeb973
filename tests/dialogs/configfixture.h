#pragma once

// A clock process as the settings dialog sees it: the real ClockApp, store, clock
// list and autostart entry in a private home, with doubles for the other clock
// processes, the program launcher and the colour and file dialogs.
#include "app/clockapp.h"
#include "dialogs/configservices.h"
#include "dialogs/settingsdialog.h"
#include "settings/autorun.h"
#include "settings/clocklist.h"
#include "settings/sqlitestorebackend.h"
#include "support/clockfakes.h"
#include "support/dialogfakes.h"
#include "support/hostfakes.h"
#include "support/testenv.h"

#include <QListWidget>
#include <QStringList>

#include <memory>

namespace ovra::test {

// The texts of a list's rows, top to bottom.
inline QStringList rowsOf(const QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

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
        return {app.model(),
                app.alarms(),
                [this] { return app.applyClockSettings(); },
                [this](bool save) { app.shutdownClock(save); },
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
    RecordingHosts windowHost;
    ClockApp app;
    QString program;
    std::unique_ptr<Autorun> autorun;
    QStringList log;
    FakeInstanceChannel channel;
    RecordingLauncher launcher;
    std::unique_ptr<ClockList> clocks;
    ScriptedPicker picker;
    FakeFileChooser files;
    std::unique_ptr<SettingsDialog> dialog;
};

} // namespace ovra::test
