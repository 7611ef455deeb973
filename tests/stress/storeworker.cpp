// One of several processes that share the settings store for a while: it adds
// clocks, writes their settings, reloads the list and removes clocks again, as the
// settings dialogs of several clocks would, until its time is up. It keeps at most
// three of its own clocks at a time so the list never fills up.
//
// At the end it prints one line "kept NAME=RADIUS ..." with the clocks it left and
// the radius it last stored for each, and one line of counts. Every message a user
// would have seen and every store access that failed is counted as a problem.
#include "settings/clockfakes.h"

#include "base/messagesink.h"
#include "settings/clocklist.h"
#include "settings/settingsstore.h"
#include "settings/sqlitestorebackend.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QMap>

#include <cstdio>

using namespace ovra;

namespace {
class CountingSink final : public MessageSink {
public:
    void showMessage(const QString& text, const QString&, MessageIcon) override {
        std::fprintf(stderr, "message: %s\n", qUtf8Printable(text));
        ++shown;
    }
    int shown = 0;
};
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 5) {
        std::fprintf(stderr, "usage: storeworker STORE AUTOSTART ID SECONDS\n");
        return 2;
    }
    int warnings = 0;
    SqliteStoreBackend backend(args[1], [&](const QString& warning) {
        std::fprintf(stderr, "store: %s\n", qUtf8Printable(warning));
        ++warnings;
    });
    KeyStore store(backend);
    test::FakeInstanceChannel channel;
    test::RecordingLauncher launcher;
    CountingSink messages;
    ClockList clocks({store, channel, launcher, messages}, args[2]);

    const QString id = args[3];
    QDeadlineTimer deadline(qint64(args[4].toDouble() * 1000));
    QMap<QString, int32_t> kept; // name -> the radius last stored for it
    QStringList order;
    int adds = 0, removes = 0, writes = 0, loads = 0, failedWrites = 0;
    for (int i = 0; !deadline.hasExpired(); ++i) {
        const QString name = QStringLiteral("w%1c%2").arg(id).arg(i);
        if (!clocks.addClock(name, i % 97))
            break;
        ++adds;
        ClockState state;
        state.clockName = name;
        state.settings = defaultSettings();
        state.settings.ClockRadius = 20 + i % 200;
        state.settings.Left = i;
        if (writeClockSettings(store, state) != status::Success)
            ++failedWrites;
        ++writes;
        kept.insert(name, state.settings.ClockRadius);
        order << name;

        // Another clock's dialog applies its settings again.
        const QString other = order[i % order.size()];
        state.clockName = other;
        state.settings.ClockRadius = 20 + (i * 7) % 200;
        if (writeClockSettings(store, state) != status::Success)
            ++failedWrites;
        ++writes;
        kept[other] = state.settings.ClockRadius;

        clocks.loadClockList(false);
        ++loads;
        if (order.size() > 3) {
            const QString gone = order.takeFirst();
            if (!clocks.removeClockData(gone))
                break;
            kept.remove(gone);
            ++removes;
        }
    }

    QStringList left;
    for (auto it = kept.cbegin(); it != kept.cend(); ++it)
        left << QStringLiteral("%1=%2").arg(it.key()).arg(it.value());
    std::printf("kept %s\n", qUtf8Printable(left.join(u' ')));
    std::printf("adds %d removes %d writes %d loads %d problems %d\n", adds, removes, writes, loads,
                messages.shown + warnings + failedWrites);
    return messages.shown + warnings + failedWrites == 0 ? 0 : 1;
}
