#include "cli/SaveReport.h"

#include "jobs/ReportLines.h"
#include "platform/Interrupt.h"

#include <csignal>

namespace kitloom::cli {

TableProgress SaveReport::progress(std::function<void(const TableReport&)> printTable)
{
    return [this, printTable = std::move(printTable)](const TableReport& table) {
        if (!dryRun_ && (table.result == ResultCode::Appended || table.result == ResultCode::Removed))
            ++savesChanged_;
        printTable(table);
        lastTable_ = table.tablePath;
        return !interruptRequested();
    };
}

int SaveReport::stopNow()
{
    const int signal = interruptSignal();
    say(stopLine(interruptName(signal), lastTable_));
    return kExitSignalBase + (signal == 0 ? SIGINT : signal);
}

}  // namespace kitloom::cli
