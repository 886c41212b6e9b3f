#pragma once

#include "cli/CommandContext.h"
#include "core/TableReport.h"

#include <functional>
#include <string>

namespace kitloom::cli {

// Tells, save by save, what a job did, from its report: a line per table as the job goes
// ("saves/000/teamgear.dbf: added as record 5", or an ERROR line with the system's reason),
// then the tables it never reached, then the outcome in the program's own words. Ctrl-C
// stops a job after the table in hand.
class SaveReport : public TerminalMessages {
public:
    SaveReport(const CommandContext& context, bool dryRun)
        : TerminalMessages(context.out, context.err), out_(context.out), err_(context.err),
          savesChanged_(context.savesChanged), dryRun_(dryRun)
    {
    }

    // The job's progress callback: `printTable` tells of each table; false after Ctrl-C.
    TableProgress progress(std::function<void(const TableReport&)> printTable);
    // The line of an add or install: the record added, or the table's failure.
    void printAppend(const TableReport& table);
    // An ERROR line about `path`: "text (path: reason)".
    void tableError(const std::string& text, const std::string& path, const std::string& reason = {});
    // A line about the table at `path`.
    void tableLine(const std::string& path, const std::string& what);
    // The numbered save folders a sweep never reached because an earlier one is missing.
    void noteUnvisited(const JobReport& job);
    // An install's closing words, but none that its one table's line already said. After an
    // ERROR line it never closes with SUCCESS: it says what was done, as an ERROR.
    void closeInstall(const JobReport& job, bool imagesInPlace = true);
    // After a stop: which table was the last; the status for it.
    int stopNow();
    // For a --slot that looks like a numbered save written short ("1"), once its table was
    // not found: that numbered save folders have three digits ("001").
    void hintAtSlot(const std::string& slot);

    bool dryRun() const { return dryRun_; }

private:
    std::ostream& out_;
    std::ostream& err_;
    int& savesChanged_;
    bool dryRun_;
    std::string lastTable_;
};

// Why a table could not be used, as its ERROR line says it: the system's words, if any.
std::string tableProblem(const TableReport& table);

// The exit status of a job that ran to its end: success only when the job was done and
// no table failed.
int jobStatus(const JobReport& job);

}  // namespace kitloom::cli
