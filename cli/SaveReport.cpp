#include "cli/SaveReport.h"

#include "cli/Cli.h"
#include "core/GamePaths.h"
#include "form/SystemMessages.h"
#include "platform/Interrupt.h"
#include "text/TerminalEscape.h"

#include <algorithm>
#include <csignal>

namespace kitloom::cli {

TableProgress SaveReport::progress(std::function<void(const TableReport&)> printTable)
{
    return [this, printTable = std::move(printTable)](const TableReport& table) {
        if (table.unfinishedRecordCut)
            tableLine(table.tablePath, std::string("an unfinished record past the count ") +
                                           (dryRun_ ? "would be cut back" : "was cut back"));
        if (!dryRun_ && (table.result == ResultCode::Appended || table.result == ResultCode::Removed))
            ++savesChanged_;
        printTable(table);
        lastTable_ = table.tablePath;
        return !interruptRequested();
    };
}

void SaveReport::printAppend(const TableReport& table)
{
    if (table.result == ResultCode::Appended)
        tableLine(table.tablePath,
                  (dryRun_ ? "would be added as record " : "added as record ") + std::to_string(table.recordNumber));
    else if (table.result == ResultCode::AlreadyThere)
        tableLine(table.tablePath, "already there as record " + std::to_string(table.recordNumber));
    else
        tableError(systemMessage(messageFor(table.result)).text, table.tablePath, tableProblem(table));
}

std::string tableProblem(const TableReport& table)
{
    // Every numbered save's path is as long, so the system's words would read as this one's alone.
    return table.nameTooLong ? "name too long" : table.reason;
}

void SaveReport::tableError(const std::string& text, const std::string& path, const std::string& reason)
{
    lastTable_ = path;
    showError(*this, text + " (" + escapedText(path) + (reason.empty() ? "" : ": " + reason) + ")");
}

void SaveReport::tableLine(const std::string& path, const std::string& what)
{
    lastTable_ = path;
    out_ << escapedText(path) << ": " << what << std::endl;
}

void SaveReport::noteUnvisited(const JobReport& job)
{
    if (job.unvisited.empty())
        return;
    const std::size_t more = job.unvisited.size() - 1;
    err_ << "note: " << escapedText(job.unvisited.front())
         << (more == 0
                 ? " was"
                 : " and " + std::to_string(more) + (more == 1 ? " more save folder were" : " more save folders were"))
         << " not visited: the sweep stops at the first missing save folder, " << escapedText(job.firstMissing)
         << std::endl;
}

void SaveReport::closeInstall(const JobReport& job, bool imagesInPlace)
{
    // A named save that failed has said why in its table's line.
    if (job.namedSave && job.outcome == JobOutcome::NothingDone)
        return;
    if (job.outcome == JobOutcome::Done && errorCount() > 0) {
        const auto added = std::count_if(job.tables.begin(), job.tables.end(), [](const TableReport& table) {
            return table.result == ResultCode::Appended || table.result == ResultCode::AlreadyThere;
        });
        const std::size_t saves = job.tables.size();
        std::string done = std::string(dryRun_ ? "The jersey would go into " : "The jersey went into ") +
                           (job.namedSave ? "its save"
                            : static_cast<std::size_t>(added) == saves
                                ? "all " + std::to_string(saves) + " saves"
                                : std::to_string(added) + " of " + std::to_string(saves) + " saves");
        if (!imagesInPlace)
            done += std::string(job.anyTableFailed() ? ", and" : ", but") + " its images are not all in the art folder";
        showError(*this, done + ": the ERROR lines above say why");
        return;
    }
    for (const SystemMessage& message : installMessages(job))
        show(message.kind,
             message.text + (message.kind == MessageKind::Success && dryRun_ ? " (dry run: nothing was changed)" : ""));
}

int SaveReport::stopNow()
{
    const int signal = interruptSignal();
    err_ << "ERROR: Stopped by " << interruptName(signal)
         << (lastTable_.empty() ? std::string(" before any save") : " after " + escapedText(lastTable_))
         << "; the lines above tell every save that changed" << std::endl;
    return kExitSignalBase + (signal == 0 ? SIGINT : signal);
}

void SaveReport::hintAtSlot(const std::string& slot)
{
    if (const auto numbered = numberedSaveNameFor(slot))
        err_ << "hint: numbered save folders have three digits: --slot " << *numbered << std::endl;
}

int jobStatus(const JobReport& job)
{
    return job.outcome == JobOutcome::Done && !job.anyTableFailed() ? kExitSuccess : kExitFailure;
}

}  // namespace kitloom::cli
