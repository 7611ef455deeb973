// Every stored setting of a clock at the edges of its range and of the wrong kind:
// the clock starts, draws, re-applies and shuts down on a real window without a
// message, keeps its window on the screen, and stores sound values afterwards.
#include "support/testenv.h"

#include "app/clockapp.h"
#include "clock/clockwindow.h"
#include "clock/windowsystem.h"
#include "settings/clocksettings.h"
#include "settings/keystore.h"
#include "settings/settingsstore.h"
#include "time/timesource.h"

#include <QApplication>
#include <QScreen>
#include <QtEndian>

#include <gtest/gtest.h>

#include <limits>

using namespace ovra;

namespace {

struct Hostile {
    const char* what;
    RawValue raw;
};

RawValue dword(int32_t value) {
    RawValue raw{valuetype::Dword, QByteArray(4, '\0')};
    qToLittleEndian<quint32>(quint32(value), raw.data.data());
    return raw;
}

RawValue text(const char* value) {
    return {valuetype::String, QByteArray(value)};
}

const Hostile kHostile[] = {
    {"smallest", dword(std::numeric_limits<int32_t>::min())},
    {"largest", dword(std::numeric_limits<int32_t>::max())},
    {"minus one", dword(-1)},
    {"2^30", dword(1 << 30)},
    {"text that is no number", text("twelve")},
    {"text too large for 32 bits", text("99999999999")},
    {"text number", text(" -7 ")},
    {"DWORD of three bytes", {valuetype::Dword, QByteArray(3, '\x7f')}},
    {"binary", {valuetype::Binary, QByteArray("\xff\xff\xff\x7f", 4)}},
    {"text longer than a read", {valuetype::String, QByteArray(5000, '9')}},
};

// Within the limits the settings record promises after loading.
void expectNormal(const ClockSettings& s, const std::string& where) {
    EXPECT_TRUE(s.radius >= limits::MinRadius && s.radius <= limits::MaxRadius) << where;
    for (int32_t w : {s.hourRingWidth, s.minuteRingWidth, s.secondRingWidth})
        EXPECT_TRUE(w >= limits::MinWidth && w <= limits::MaxWidth) << where;
    EXPECT_TRUE(s.opacityStep >= limits::MinOpacity && s.opacityStep <= limits::MaxOpacity)
        << where;
}

} // namespace

TEST(HostileStore, EveryFieldAtItsEdgesOrOfTheWrongKind) {
    test::TestHome home;
    DesktopWindowSystem windowSystem;
    const QTimeZone utc(QByteArrayLiteral("UTC"));
    FixedTimeSource time(QDateTime(QDate(2024, 6, 1), QTime(13, 45, 30), Qt::UTC), utc);
    const QRect desktop = QGuiApplication::primaryScreen()->geometry();
    const QString key = clockKeyPath(QStringLiteral("Default"));
    const KeyPath path = splitKeyPath(key);

    for (const SettingsField& field : kSettingsFields) {
        const QString name = QString::fromUtf16(field.name);
        for (const Hostile& hostile : kHostile) {
            const std::string where = name.toStdString() + " = " + hostile.what;
            test::MemoryStoreBackend backend;
            KeyStore store(backend);
            ASSERT_EQ(backend.writeValue(path.root, path.subKey, name, hostile.raw),
                      status::Success);
            test::RecordingMessageSink messages;
            ClockApp app({store, messages, time}, home.roots());
            ClockWindow window(app.model(), windowSystem);
            app.setWindowHost(&window);
            QObject::connect(&window, &ClockWindow::shutdownRequested,
                             [&app](bool save) { app.shutdownClock(save); });

            ASSERT_TRUE(app.startClock(QStringLiteral("Default"))) << where;
            expectNormal(app.settings(), where);
            window.drawClock();
            EXPECT_TRUE(window.isVisible()) << where;
            EXPECT_TRUE(window.frameGeometry().intersects(desktop))
                << where << ": window at " << window.x() << "," << window.y();
            EXPECT_EQ(window.width(), window.layout().windowSize()) << where;

            app.applyClockSettings();
            window.drawClock();
            expectNormal(app.settings(), where);
            app.shutdownClock(true);
            EXPECT_TRUE(messages.messages.empty()) << where;

            // Whatever was stored is now a number again.
            RawValue after;
            ASSERT_EQ(backend.readValue(path.root, path.subKey, name, after), status::Success);
            EXPECT_EQ(after.type, valuetype::Dword) << where;
            EXPECT_EQ(after.data.size(), 4) << where;
        }
    }
}
