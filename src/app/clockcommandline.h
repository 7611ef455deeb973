#pragma once

#include "app/commandline.h"
#include "settings/clockcommands.h"

#include <QTextStream>

namespace ovra {

class ClockList;
class MessageSink;

// The clock-management options of a parsed command line (--list, --add, --start,
// --stop, --delete) on the clock list; any other action is refused. Returns the
// process's exit code.
int runClockCommand(const CommandLine& command, ClockList& clocks, QTextStream& out,
                    MessageSink& errors, const ZoneChoice& defaultZone,
                    int startWaitMs = kAddStartWaitMs,
                    const std::function<bool()>& displayReachable = {});

} // namespace ovra
