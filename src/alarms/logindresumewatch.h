#pragma once

#include "alarms/resumewatch.h"

#include <QObject>

namespace ovra {

// logind's PrepareForSleep(false) on the system D-Bus, sent as the computer
// resumes. Without a system bus nothing is reported and the next tick catches up.
class LogindResumeWatch final : public QObject, public ResumeWatch {
    Q_OBJECT
public:
    LogindResumeWatch();
    void onResume(std::function<void()> fn) override { m_resume = std::move(fn); }
    // Whether the signal is subscribed to.
    bool listening() const { return m_listening; }

private slots:
    void prepareForSleep(bool goingToSleep);

private:
    std::function<void()> m_resume;
    bool m_listening = false;
};

} // namespace ovra
