#pragma once

#include "alarms/shelltarget.h"

namespace ovra {

// Starts a program directly, or hands a document or address to the desktop's
// opener. Failures are the desktop's to report; the clock says nothing.
class DesktopShellOpen final : public ShellOpen {
public:
    void open(const ShellTarget& target) override;
};

} // namespace ovra
