#include "cli/JobRecord.h"

#include "jobs/InstallJob.h"
#include "jobs/journal/CopySpace.h"
#include "jobs/journal/JournalLines.h"
#include "text/Cp1252.h"

#include <CLI/CLI.hpp>

namespace kitloom::cli {

#ifdef _WIN32
const char* const kJournalPlaceText = "%LOCALAPPDATA%\\kitloom";
#else
const char* const kJournalPlaceText = "$XDG_STATE_HOME/kitloom, by default ~/.local/state/kitloom";
#endif

void addNoJournalFlag(CLI::App& command, bool& noJournal)
{
    command.add_flag("--no-journal", noJournal,
                     "record nothing in the journal: the job cannot be taken back with 'kitloom-cli undo'");
}

JobRecord::JobRecord(const CommandContext& context, bool dryRun, bool noJournal, JobStart start) : context_(context)
{
    if (dryRun)
        return;
    if (noJournal) {
        context.err << "note: --no-journal: this job is not recorded, and 'kitloom-cli undo' cannot take it back"
                    << std::endl;
        return;
    }
    const auto folder = journalFolder();
    if (!folder) {
        context.err << "note: this job is not recorded, since no place for the journal is set (" << kJournalPlaceText
                    << "): 'kitloom-cli undo' cannot take it back" << std::endl;
        return;
    }
    if (start.command.empty() && context.args)
        start.command = *context.args;
    journal_ = std::make_unique<JobJournal>(context.fileSystem, *folder, secondsNow(), std::move(start));
    if (Done ready = journal_->ready(); !ready)
        refusal_ = ready.reason();
}

bool JobRecord::refused() const
{
    if (refusal_.empty())
        return false;
    context_.err << "ERROR: The job could not be recorded in the journal, so no save was changed (" << refusal_
                 << "); --no-journal runs it without one" << std::endl;
    return true;
}

void JobRecord::recordImages(const InstallResult& installed)
{
    if (!journal_)
        return;
    for (const PatchInstall& patch : installed.patches) {
        for (const ImageMove& move : patch.install.images) {
            if (move.result != MoveResult::Moved || !move.staged.empty() || move.withdrawn)
                continue;
            journal_->imagePlaced({move.archive.empty() ? context_.fileSystem.fullPath(move.from) : move.from,
                                   move.archive.empty() ? std::string() : context_.fileSystem.fullPath(move.archive),
                                   context_.fileSystem.fullPath(move.to),
                                   {},
                                   move.replacedKeptAs});
        }
    }
}

void JobRecord::finish(bool succeeded, const std::vector<RecordedJersey>& jerseys)
{
    if (!journal_)
        return;
    if (!journal_->startTrouble().empty()) {
        context_.err << "ERROR: The job could not be recorded in the journal, so no save was changed ("
                     << journal_->startTrouble() << "); --no-journal runs it without one" << std::endl;
        return;
    }
    if (!journal_->started())
        return;  // nothing changed: nothing to record
    journal_->finish(succeeded, jerseys);
    if (!journal_->troubled().empty())
        context_.err << "note: the journal could not record all of job " << journal_->id() << " ("
                     << journal_->troubled() << "): 'kitloom-cli undo' may not take all of it back" << std::endl;
    letOldCopiesGo(context_.fileSystem, journal_->folder(), readJournal(context_.fileSystem, journal_->folder()),
                   secondsNow());
}

RecordedJersey recordedJersey(const std::string& name, const std::string& year, const std::string& team)
{
    return {cp1252ToUtf8(name), cp1252ToUtf8(year), team};
}

RecordedJersey recordedJersey(const JerseySpec& spec)
{
    auto text = [](const char* field, std::size_t length) {
        std::string bytes(field, length);
        bytes.erase(std::min(bytes.find('\0'), bytes.size()));
        return cp1252ToUtf8(bytes);
    };
    return {text(spec.jerseyName.data(), kJerseyNameLength), text(spec.year.data(), kYearLength),
            std::to_string(spec.teamNumber)};
}

}  // namespace kitloom::cli
