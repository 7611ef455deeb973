#pragma once

#include "settings/instancechannel.h"

#include <functional>

namespace ovra {

// The instance channel as the settings dialog of a running clock sees it. Requests
// for the dialog's own clock are answered here: sent over the channel they would
// reach this very process, which cannot answer while it is busy asking, so every
// list refresh would stall until the reply timeout. Requests for other clocks go on
// to the real channel.
class OwnClockChannel final : public InstanceChannel {
public:
    struct OwnClock {
        QString name;
        std::function<void()> raise;        // bring the own clock window forward
        std::function<void()> close;        // shut the own clock down, return when done
        std::function<void()> showSettings; // open the own settings dialog
    };

    OwnClockChannel(InstanceChannel& others, OwnClock own);

    qint64 find(const QString& clockName, bool bringForward) override;
    CloseOutcome close(const QString& clockName, int timeoutMs) override;
    SettingsOutcome showSettings(const QString& clockName) override;
    QString problem() const override { return m_others.problem(); }

private:
    InstanceChannel& m_others;
    OwnClock m_own;
};

} // namespace ovra
