#pragma once

#include "time/zonetable.h"

#include <QDateTime>
#include <QString>
#include <QTextStream>
#include <QTimeZone>

#include <functional>
#include <optional>

namespace ovra {

class ClockList;
class KeyStore;
class MessageSink;

// The clock-management options of the command line, on the same operations the
// settings dialog uses. Answers go to out, refusals to errors; the result is the
// process's exit code (0 done, 1 refused or failed).
//
//   --list                  every clock in list order with "Running" or "Stopped"
//   --add NAME [--zone N]   register and start; zone defaults to defaultZone. Returns
//                           once the new clock answers on its channel, so a command
//                           that follows at once reaches it (at most startWaitMs)
//   --start NAME            start a stopped clock (returning once it answers, as --add
//                           does), bring a running one forward
//   --stop NAME             close a running clock; returns once its settings are stored
//   --delete NAME           close the clock if it runs and remove its data
//   --settings NAME         open the running clock's settings dialog with the keyboard
//
// displayReachable tells whether a clock started now can open its window; when it
// cannot, --add and --start say so at once instead of waiting for an answer.
inline constexpr int kAddStartWaitMs = 5000;
enum class ClockCommand { List, Add, Start, Stop, Delete, Settings };
int runClockCommand(ClockCommand command, const QString& name, std::optional<ZoneChoice> zone,
                    ClockList& clocks, QTextStream& out, MessageSink& errors,
                    const ZoneChoice& defaultZone, int startWaitMs = kAddStartWaitMs,
                    const std::function<bool()>& displayReachable = {});

// Whether the process may show the clock of that name: "Default" always, another
// clock only when the list holds it, so that a mistyped name never runs as a clock
// of its own and leaves an autostart entry behind. A refusal says which listed
// clock differs only in case or accents. A list that cannot be read decides
// nothing: the clock starts and says what is wrong with the store.
bool clockMayStart(KeyStore& store, const QString& name, MessageSink& errors);

// The zone for clocks added without one: the computer's own (see
// computerZoneChoice), or the UTC row when the computer's zone is unknown.
ZoneChoice zoneForNewClock(const QTimeZone& computer, const QDateTime& nowUtc);

} // namespace ovra
