// One of several processes that change the clock list at the same time: it adds
// COUNT clocks named "w<ID>c<i>" and removes each again once the next one is
// added, keeping every tenth. Exits non-zero when an operation is refused.
#include "base/messagesink.h"
#include "settings/clockfakes.h"
#include "settings/clocklist.h"
#include "settings/keystore.h"
#include "settings/sqlitestorebackend.h"

#include <QCoreApplication>

#include <cstdio>

using namespace ovra;

namespace {
bool kept(int i) {
    return i % 10 == 0;
}
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 5) {
        std::fprintf(stderr, "usage: clocklist_worker STORE AUTOSTART ID COUNT\n");
        return 2;
    }
    SqliteStoreBackend backend(
        args[1], [](const QString& w) { std::fprintf(stderr, "%s\n", qUtf8Printable(w)); });
    KeyStore store(backend);
    test::FakeInstanceChannel channel;
    test::RecordingLauncher launcher;
    StderrMessageSink messages;
    ClockList clocks({store, channel, launcher, messages}, args[2]);

    const QString id = args[3];
    const int count = args[4].toInt();
    auto name = [&](int i) {
        return QStringLiteral("w%1c%2").arg(id).arg(i);
    };
    for (int i = 0; i < count; ++i) {
        if (!clocks.addClock(name(i), i % 97))
            return 3;
        if (i > 0 && !kept(i - 1) && !clocks.removeClockData(name(i - 1)))
            return 4;
    }
    if (count > 0 && !kept(count - 1) && !clocks.removeClockData(name(count - 1)))
        return 4;
    return 0;
}
