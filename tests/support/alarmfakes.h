#pragma once

#include "alarms/alarmsound.h"
#include "alarms/poweractions.h"
#include "alarms/resumewatch.h"
#include "alarms/shelltarget.h"
#include "alarms/ticker.h"

#include <QStringList>

#include <ostream>
#include <vector>

// Readable QStrings in test failures.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace ovra::test {

// A one-second timer that ticks only when the test says so.
class FakeTicker final : public Ticker {
public:
    void setEnabled(bool on) override { m_on = on; }
    bool isEnabled() const override { return m_on; }
    // One tick, delivered only while on, as a real timer would.
    void tick() {
        if (m_on)
            fire();
    }

private:
    bool m_on = false;
};

// Hands out fake tickers and keeps them reachable: [0] is the first one made.
class FakeTickers {
public:
    TickerFactory factory() {
        return [this] {
            auto t = std::make_unique<FakeTicker>();
            made.push_back(t.get());
            return t;
        };
    }
    std::vector<FakeTicker*> made;
};

// Records what the notice asks of the sound.
class RecordingSound final : public AlarmSound {
public:
    void play(const QString& path) override {
        calls << QStringLiteral("play:") + path;
        playing = true;
    }
    void stop() override {
        calls << QStringLiteral("stop");
        playing = false;
    }
    void onProblem(Problem handler) override { problem = std::move(handler); }
    QStringList calls;
    bool playing = false;
    Problem problem; // what the notice listens with; the test calls it
};

// Answers logind's checks as told and records every request.
class RecordingPowerActions final : public PowerActions {
public:
    QString canPowerOff() override {
        calls << QStringLiteral("CanPowerOff");
        return answer;
    }
    QString canReboot() override {
        calls << QStringLiteral("CanReboot");
        return answer;
    }
    void powerOff(bool interactive, Failed failed) override {
        calls << QStringLiteral("PowerOff:%1").arg(interactive);
        refuse(failed);
    }
    void reboot(bool interactive, Failed failed) override {
        calls << QStringLiteral("Reboot:%1").arg(interactive);
        refuse(failed);
    }
    void lockSession(Failed failed) override {
        calls << QStringLiteral("LockSession");
        refuse(failed);
    }

    QString answer = QStringLiteral("yes");
    QString refusal; // when set, every request fails with it at once
    QStringList calls;
    Failed lastFailed; // the last request's, for a refusal that comes later

private:
    void refuse(const Failed& failed) {
        lastFailed = failed;
        if (!refusal.isEmpty() && failed)
            failed(refusal);
    }
};

class RecordingShellOpen final : public ShellOpen {
public:
    void open(const ShellTarget& target, Failed failed) override {
        opened.push_back(target);
        if (!refusal.isEmpty() && failed)
            failed(refusal);
    }
    std::vector<ShellTarget> opened;
    QString refusal; // when set, every target fails to open with it
};

// The computer wakes when the test says so.
class FakeResumeWatch final : public ResumeWatch {
public:
    void onResume(std::function<void()> fn) override { m_resume = std::move(fn); }
    void wake() {
        if (m_resume)
            m_resume();
    }

private:
    std::function<void()> m_resume;
};

} // namespace ovra::test
