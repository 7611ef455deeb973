#pragma once

#include "alarms/shelltarget.h"

#include <QObject>

namespace ovra {

// Starts a program directly, or hands a document or address to the desktop's
// opener, xdg-open, as one argument. A program that cannot start, a missing
// xdg-open and one that finds no application for the target are reported to the
// caller: the clock is the only one left to say so.
class DesktopShellOpen final : public ShellOpen {
public:
    ~DesktopShellOpen() override;
    void open(const ShellTarget& target, Failed failed = {}) override;
    // No opener is running any more, so every answer has come in.
    bool idle() const;

private:
    QObject m_openers; // the xdg-open processes still running
};

} // namespace ovra
