#pragma once

#include "cli/CommandContext.h"
#include "core/JobReport.h"

#include <functional>
#include <string>

namespace kitloom::cli {

// Tells, save by save, what a job did: the lines of each table as the job goes, then the
// tables it never reached, then the outcome. Ctrl-C stops a job after the table in hand.
class SaveReport : public TerminalMessages {
public:
    SaveReport(const CommandContext& context, bool dryRun)
        : TerminalMessages(context.out, context.err), err_(context.err), savesChanged_(context.savesChanged),
          dryRun_(dryRun)
    {
    }

    // The job's progress callback: `printTable` tells of each table; false after Ctrl-C.
    TableProgress progress(std::function<void(const TableReport&)> printTable);
    // After a stop: which table was the last; the status for it.
    int stopNow();

    bool dryRun() const { return dryRun_; }

private:
    std::ostream& err_;
    int& savesChanged_;
    bool dryRun_;
    std::string lastTable_;
};

}  // namespace kitloom::cli
