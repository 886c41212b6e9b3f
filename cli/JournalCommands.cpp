// history and undo: the jobs the journal recorded, and taking one back.
#include "cli/Cli.h"
#include "cli/Commands.h"
#include "cli/JobRecord.h"
#include "jobs/UndoJob.h"
#include "jobs/journal/CopySpace.h"
#include "jobs/journal/JournalFile.h"
#include "platform/Interrupt.h"
#include "text/TerminalEscape.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <set>

namespace kitloom::cli {

namespace {

using nlohmann::ordered_json;

void noteSkipped(const std::vector<SkippedLine>& skipped, const std::string& folder, const CommandContext& context)
{
    for (const SkippedLine& line : skipped)
        context.err << "note: line " << line.number << " of the journal (" << folder << kJournalFileName << ") "
                    << (line.unknown ? "is of a kind this version does not know" : "is damaged") << ", and was skipped"
                    << std::endl;
}

std::string commandText(const RecordedJob& job)
{
    std::string text;
    for (const std::string& arg : job.command)
        text += (text.empty() ? "" : " ") + arg;
    return text.empty() ? "(no command recorded)" : text;
}

std::string jerseysText(const RecordedJob& job)
{
    std::string text;
    for (const RecordedJersey& jersey : job.jerseys)
        text += (text.empty() ? "" : ", ") + jersey.name + " " + jersey.year + " (team " + jersey.team + ")";
    return text;
}

std::size_t savesChanged(const RecordedJob& job)
{
    std::set<std::string> tables;
    for (const RecordedTable& table : job.tables)
        tables.insert(table.path);
    return tables.size();
}

// Whether and how the job can still be undone, in words and as the JSON's state.
std::pair<std::string, const char*> undoState(FileSystem& fileSystem, const std::string& folder, const RecordedJob& job)
{
    if (job.undoneBy)
        return {"undone by job " + std::to_string(*job.undoneBy), "undone"};
    if (job.tables.empty() && job.images.empty())
        return {"changed nothing", "nothing"};
    std::string state = job.ended ? "" : "cut short; ";
    if (!copiesKept(fileSystem, folder, job))
        return {state + "can only be undone record by record (its copies were let go for space)", "record-by-record"};
    return {state + "can be undone", job.ended ? "undoable" : "cut-short"};
}

struct HistoryOptions {
    int count = 20;
    bool json = false;
};

int runHistory(const HistoryOptions& options, const CommandContext& context)
{
    const auto folder = journalFolder();
    if (!folder) {
        context.err << "ERROR: No place for the journal is set (" << kJournalPlaceText << ")" << std::endl;
        return kExitFailure;
    }
    const ReadJournal journal = readJournal(context.fileSystem, *folder);
    if (!journal.read) {
        context.err << "ERROR: The journal could not be read (" << *folder << kJournalFileName
                    << "): " << journal.read.reason() << std::endl;
        return kExitFailure;
    }
    noteSkipped(journal.skipped, *folder, context);
    ordered_json jobs = ordered_json::array();
    int shown = 0;
    for (auto job = journal.jobs.rbegin(); job != journal.jobs.rend() && shown < options.count; ++job, ++shown) {
        const auto [state, stateName] = undoState(context.fileSystem, *folder, *job);
        if (options.json) {
            ordered_json patches = ordered_json::array();
            for (const RecordedPatch& patch : job->patches)
                patches.push_back({{"path", patch.path}, {"sha256", patch.sha256}});
            ordered_json jerseys = ordered_json::array();
            for (const RecordedJersey& jersey : job->jerseys)
                jerseys.push_back({{"name", jersey.name}, {"year", jersey.year}, {"team", jersey.team}});
            ordered_json entry = {{"id", job->id},
                                  {"time", job->time},
                                  {"command", job->command},
                                  {"game", job->game},
                                  {"patches", patches},
                                  {"jerseys", jerseys},
                                  {"saves", savesChanged(*job)},
                                  {"images", job->images.size()},
                                  {"ended", job->ended},
                                  {"succeeded", job->succeeded},
                                  {"state", stateName}};
            entry["undoneBy"] = job->undoneBy ? ordered_json(*job->undoneBy) : ordered_json();
            entry["undoes"] = job->undoes ? ordered_json(*job->undoes) : ordered_json();
            jobs.push_back(entry);
            continue;
        }
        const std::string jerseys = jerseysText(*job);
        const std::size_t saves = savesChanged(*job);
        const std::string takesBack = job->undoes ? "  (takes back job " + std::to_string(*job->undoes) + ")" : "";
        context.out << "job " << job->id << "  " << job->time << "  " << escapedText(commandText(*job)) << takesBack
                    << (jerseys.empty() ? "" : "  " + escapedText(jerseys)) << "  " << saves
                    << (saves == 1 ? " save" : " saves") << " changed  " << state << '\n';
    }
    if (options.json)
        context.out << jobs.dump(2, ' ', false, ordered_json::error_handler_t::replace) << '\n';
    else if (journal.jobs.empty())
        context.out << "The journal records no job yet (" << *folder << kJournalFileName << ")\n";
    context.out << std::flush;
    return kExitSuccess;
}

std::string tableLine(const UndoneTable& table, int job, bool dryRun)
{
    const std::string would = dryRun ? "would be " : "";
    switch (table.outcome) {
    case UndoTableOutcome::Restored:
        return table.path + ": " + (dryRun ? "would be put back" : "put back") + " as it was before job " +
               std::to_string(job);
    case UndoTableOutcome::RecordCut:
        return table.path + ": changed since, so only the job's own record " + would + "cut off the end";
    case UndoTableOutcome::AlreadyAsBefore:
        return table.path + ": already as it was before job " + std::to_string(job);
    case UndoTableOutcome::ChangedSince:
        return table.path + ": changed since: " +
               (table.laterJob ? "undo job " + std::to_string(*table.laterJob) + " first"
                               : std::string("by another program (kitloom.exe or the game), so it is left as it is"));
    case UndoTableOutcome::CopyGone:
        return table.path +
               ": its copy was let go for space, and the job's change cannot be cut off alone: left "
               "as it is";
    case UndoTableOutcome::CannotUse:
        break;
    }
    return table.path + ": could not be put back" + (table.reason.empty() ? "" : ": " + table.reason);
}

std::string imageLine(const UndoneImage& image, bool dryRun)
{
    const std::string& to = image.image.to;
    std::string line;
    switch (image.outcome) {
    case UndoImageOutcome::MovedBack:
        line = to + ": " + (dryRun ? "would move" : "moved") + " back to " + image.image.from;
        break;
    case UndoImageOutcome::Deleted:
        line = to + ": " + (dryRun ? "would be deleted" : "deleted") + " (a copy out of " + image.image.archive + ")";
        break;
    case UndoImageOutcome::AlreadyGone:
        line = to + ": not in the art folder any more";
        break;
    case UndoImageOutcome::ChangedSince:
        return to + ": changed since, so it is left as it is";
    case UndoImageOutcome::PlaceTaken:
        return to + ": left in the art folder, since " + image.image.from + " is there again";
    case UndoImageOutcome::CannotMove:
        return to + ": could not be taken back" + (image.reason.empty() ? "" : ": " + image.reason);
    }
    if (!image.image.replacedKeptAs.empty())
        line += std::string(", and the image it replaced ") + (dryRun ? "would be" : "is") + " back in its place";
    return line;
}

bool lineIsError(const UndoneTable& table)
{
    return table.outcome != UndoTableOutcome::Restored && table.outcome != UndoTableOutcome::RecordCut &&
           table.outcome != UndoTableOutcome::AlreadyAsBefore;
}

struct UndoOptions {
    int job = 0;
    CLI::Option* jobOption = nullptr;
    bool dryRun = false;
    bool noJournal = false;
};

int runUndo(const UndoOptions& options, const CommandContext& context)
{
    const auto folder = journalFolder();
    if (!folder) {
        context.err << "ERROR: No place for the journal is set (" << kJournalPlaceText
                    << "), so there is nothing to undo" << std::endl;
        return kExitFailure;
    }
    watchForInterrupt();
    JobRecord record(context, options.dryRun, options.noJournal);
    if (record.refused())
        return kExitFailure;
    UndoRequest request;
    request.journalFolder = *folder;
    if (options.jobOption->count() > 0)
        request.job = options.job;
    request.dryRun = options.dryRun;
    request.journal = record.journal();
    if (context.args)
        request.command = *context.args;
    const UndoResult result = undoJob(context.fileSystem, request);
    noteSkipped(result.skipped, *folder, context);
    switch (result.trouble) {
    case UndoTrouble::None:
        break;
    case UndoTrouble::CannotReadJournal:
        context.err << "ERROR: The journal could not be read (" << *folder << kJournalFileName
                    << "): " << result.reason << std::endl;
        return kExitFailure;
    case UndoTrouble::NothingToUndo:
        context.err << "ERROR: There is no job to undo: 'kitloom-cli history' lists what the journal recorded"
                    << std::endl;
        return kExitFailure;
    case UndoTrouble::NoSuchJob:
        context.err << "ERROR: The journal records no job " << options.job
                    << ": 'kitloom-cli history' lists the jobs it does" << std::endl;
        return kExitFailure;
    case UndoTrouble::AlreadyUndone:
        context.err << "ERROR: Job " << result.job.id << " was undone already, by job " << *result.undoneBy
                    << " ('kitloom-cli undo " << *result.undoneBy << "' takes that back)" << std::endl;
        return kExitFailure;
    case UndoTrouble::CannotRecord:
        context.err << "ERROR: The undo could not be recorded in the journal, so nothing was changed ("
                    << result.reason << "); --no-journal runs it without one" << std::endl;
        return kExitFailure;
    }
    const int id = result.job.id;
    context.out << "Undoing job " << id << " (" << escapedText(commandText(result.job)) << ", " << result.job.time
                << (result.job.ended ? "" : ", cut short") << "):" << std::endl;
    int tablesLeft = 0;
    for (const UndoneTable& table : result.tables) {
        const bool error = lineIsError(table);
        tablesLeft += error ? 1 : 0;
        (error ? context.err : context.out)
            << (error ? "ERROR: " : "") << escapedText(tableLine(table, id, options.dryRun)) << std::endl;
    }
    int imagesLeft = 0;
    for (const UndoneImage& image : result.images) {
        const bool error = image.outcome == UndoImageOutcome::ChangedSince ||
                           image.outcome == UndoImageOutcome::PlaceTaken ||
                           image.outcome == UndoImageOutcome::CannotMove ||
                           (image.outcome == UndoImageOutcome::AlreadyGone && image.image.archive.empty());
        imagesLeft += error ? 1 : 0;
        (error ? context.err : context.out)
            << (error ? "ERROR: " : "") << escapedText(imageLine(image, options.dryRun)) << std::endl;
    }
    if (result.status == JobStatus::Succeeded) {
        context.out << "SUCCESS: Job " << id << (options.dryRun ? " would be undone" : " is undone")
                    << ": every save and image it changed " << (options.dryRun ? "would be" : "is")
                    << " as it was before it" << std::endl;
        if (!options.dryRun)
            context.savesChanged += static_cast<int>(result.tables.size());
    } else {
        context.err << "ERROR: Job " << id << (options.dryRun ? " would be undone" : " is undone")
                    << " only in part: " << tablesLeft << (tablesLeft == 1 ? " save" : " saves") << " and "
                    << imagesLeft << (imagesLeft == 1 ? " image" : " images")
                    << " could not be put back, as the lines above say" << std::endl;
    }
    record.finish(result.status == JobStatus::Succeeded, result.job.jerseys);
    return exitStatus(result.status);
}

}  // namespace

CommandRun addHistoryCommand(CLI::App& app)
{
    return defineCommand<HistoryOptions>(
        app, "history", "list the jobs that changed saves, newest first",
        "Lists what the journal recorded of each job that changed a save (add, install, remove, undo):\n"
        "its number, when, the command, its jerseys, how many saves it changed, and whether it can\n"
        "still be undone. The journal lives in " +
            std::string(kJournalPlaceText) + ".",
        [](CLI::App& command, HistoryOptions& options) {
            command.add_option("-n", options.count, "show the newest N jobs (default: 20)")
                ->type_name("N")
                ->check(CLI::PositiveNumber);
            command.add_flag("--json", options.json, "one JSON document, texts in UTF-8");
        },
        runHistory);
}

CommandRun addUndoCommand(CLI::App& app)
{
    return defineCommand<UndoOptions>(
        app, "undo", "take a job back: every save and image it changed as it was",
        "Puts back every table the job changed (by default the latest job not undone), from the copy\n"
        "the journal took just before the change, when the table is still what the job left. A table\n"
        "changed since keeps that change: only the job's own record is cut off when it is still the\n"
        "last, and otherwise the table is left as it is, and its line says why. Images the job moved\n"
        "go back where they came from; copies out of a zip are deleted. An undo is a job too: it is\n"
        "recorded, and can be undone in turn.",
        [](CLI::App& command, UndoOptions& options) {
            options.jobOption = command
                                    .add_option("job", options.job,
                                                "the job's number, as 'kitloom-cli history' "
                                                "shows it (default: the latest not undone)")
                                    ->type_name("ID")
                                    ->check(CLI::PositiveNumber);
            addDryRunFlag(command, options.dryRun);
            addNoJournalFlag(command, options.noJournal);
        },
        runUndo);
}

}  // namespace kitloom::cli
