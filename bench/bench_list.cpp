// "ovra-clock --list" as a user runs it: 100 clocks, 10 of them running, the whole
// process timed from start to exit. The running clocks draw offscreen.
#include "base/clockname.h"
#include "base/messagesink.h"
#include "settings/clocklauncher.h"
#include "settings/clocklist.h"
#include "settings/instancepaths.h"
#include "settings/keystore.h"
#include "settings/localinstancechannel.h"
#include "settings/sqlitestorebackend.h"
#include "support/testenv.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QThread>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <vector>

using namespace ovra;

namespace {

constexpr int kClocks = 100;
constexpr int kRunning = 10;

class NoLaunch final : public ClockLauncher {
public:
    bool launch(const QString&) override { return true; }
};

QString clockName(int i) {
    return i == 0 ? kDefaultClockName : QStringLiteral("Clock %1").arg(i, 2, 10, QChar(u'0'));
}

void BM_ListCommand(benchmark::State& state) {
    for (auto _ : state) {
        QProcess p;
        p.start(QStringLiteral(OVRA_CLOCK_BIN), {QStringLiteral("--list")});
        if (!p.waitForFinished(10000) || p.exitCode() != 0) {
            state.SkipWithError("--list failed");
            break;
        }
        const QByteArray out = p.readAllStandardOutput();
        if (out.count("-- Running") != kRunning || out.count('\n') != kClocks) {
            state.SkipWithError("--list did not see every clock");
            break;
        }
    }
}
BENCHMARK(BM_ListCommand)->UseRealTime()->Unit(benchmark::kMillisecond)->MinTime(3.0);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    test::TestHome home;
    qputenv("QT_QPA_PLATFORM", "offscreen");

    {
        SqliteStoreBackend backend(home.storePath());
        KeyStore store(backend);
        LocalInstanceChannel nobody(instanceSocketFolder(home.roots().runtimeRoot));
        NoLaunch launcher;
        StderrMessageSink messages;
        ClockList clocks({store, nobody, launcher, messages},
                         home.path() + QStringLiteral("/autostart"));
        for (int i = 1; i < kClocks; ++i) {
            if (!clocks.addClock(clockName(i), i % 97))
                return 1;
        }
    }

    // Every tenth clock runs.
    std::vector<std::unique_ptr<QProcess>> running;
    LocalInstanceChannel channel(instanceSocketFolder(home.roots().runtimeRoot));
    for (int i = 0; i < kClocks; i += kClocks / kRunning) {
        auto p = std::make_unique<QProcess>();
        p->setStandardOutputFile(QProcess::nullDevice());
        p->start(QStringLiteral(OVRA_CLOCK_BIN), {clockName(i)});
        running.push_back(std::move(p));
    }
    QElapsedTimer waited;
    waited.start();
    for (int i = 0; i < kClocks; i += kClocks / kRunning) {
        while (channel.find(clockName(i), false) == 0 && waited.elapsed() < 20000)
            QThread::msleep(50);
    }

    ::benchmark::Initialize(&argc, argv);
    ::benchmark::RunSpecifiedBenchmarks();
    ::benchmark::Shutdown();

    for (int i = 0; i < kClocks; i += kClocks / kRunning)
        channel.close(clockName(i), 3000);
    for (auto& p : running) {
        if (!p->waitForFinished(3000)) {
            p->kill();
            p->waitForFinished(3000);
        }
    }
    return 0;
}
