#include "app/clockcommandline.h"

#include "base/messagesink.h"

namespace ovra {

int runClockCommand(const CommandLine& command, ClockList& clocks, QTextStream& out,
                    MessageSink& errors, const ZoneChoice& defaultZone, int startWaitMs,
                    const std::function<bool()>& displayReachable) {
    ClockCommand which;
    switch (command.action) {
    case CommandLine::Action::List:
        which = ClockCommand::List;
        break;
    case CommandLine::Action::Add:
        which = ClockCommand::Add;
        break;
    case CommandLine::Action::Start:
        which = ClockCommand::Start;
        break;
    case CommandLine::Action::Stop:
        which = ClockCommand::Stop;
        break;
    case CommandLine::Action::Delete:
        which = ClockCommand::Delete;
        break;
    case CommandLine::Action::Settings:
        which = ClockCommand::Settings;
        break;
    default:
        errors.showMessage(
            QStringLiteral(QT_TRANSLATE_NOOP("Messages", "This is not a clock-management option.")),
            kErrorTitle, MessageIcon::Warning);
        return 1;
    }
    return runClockCommand(which, command.target, command.zone, clocks, out, errors, defaultZone,
                           startWaitMs, displayReachable);
}

} // namespace ovra
