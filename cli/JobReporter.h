#pragma once

#include "cli/CommandContext.h"
#include "jobs/JobHooks.h"

#include <ostream>
#include <string>

namespace kitloom::cli {

// Which words tell a table of a job: an add's or an install's, or a remove's.
enum class TableWords { Append, Removal };

// Tells, as a job goes, what it does: the game it decided (named on `named`, or why there is
// none), each table's lines as the job visits it, each image. Ctrl-C stops a job after the
// table in hand.
class JobReporter : public JobObserver {
public:
    JobReporter(const CommandContext& context, bool dryRun, std::ostream& named, TableWords words = TableWords::Append,
                bool forPatch = false)
        : context_(context), messages_(context.messages()), named_(named), dryRun_(dryRun), words_(words),
          forPatch_(forPatch)
    {
    }

    bool tableVisited(const TableReport& table) override;
    void imageMoved(const ImageMove& move) override;
    void gameChosen(const GameChoice& choice, const GameSearch& search) override;

    void say(const ReportLine& line) { messages_.say(line); }
    void say(const ReportLines& lines) { messages_.say(lines); }
    void showAll(const std::vector<SystemMessage>& shown) { kitloom::showAll(messages_, shown); }
    // After a stop: which table was the last; the status for it.
    int stopNow();
    bool dryRun() const { return dryRun_; }

protected:
    const CommandContext& context_;
    TerminalMessages messages_;

private:
    std::ostream& named_;
    bool dryRun_;
    TableWords words_;
    bool forPatch_;
    std::string lastTable_;
};

}  // namespace kitloom::cli
