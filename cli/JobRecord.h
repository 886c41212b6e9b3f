#pragma once

#include "cli/CommandContext.h"
#include "jobs/journal/JobJournal.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace CLI {
class App;
}

namespace kitloom {
struct InstallResult;
}

namespace kitloom::cli {

// Where the journal is kept, for help and notes.
extern const char* const kJournalPlaceText;

void addNoJournalFlag(CLI::App& command, bool& noJournal);

// The journal a command's job is recorded in, so that `undo` can take it back: none for a dry
// run, which changes nothing, or with --no-journal, which is said once.
class JobRecord {
public:
    JobRecord(const CommandContext& context, bool dryRun, bool noJournal, JobStart start = {});

    JobJournal* journal() { return journal_.get(); }
    // True, with the reason told, when the journal cannot be written: the job must not run.
    bool refused() const;
    // The images an install placed, each with where it came from.
    void recordImages(const InstallResult& installed);
    // The job's end; then the oldest jobs' copies go as the journal's limits say. Tells the
    // player when the job could not be recorded.
    void finish(bool succeeded, const std::vector<RecordedJersey>& jerseys);

private:
    const CommandContext& context_;
    std::unique_ptr<JobJournal> journal_;
    std::string refusal_;
};

// A jersey as the journal shows it: its texts in UTF-8, and its Team Number.
RecordedJersey recordedJersey(const JerseySpec& spec);
// The same from the texts typed, as a table holds them.
RecordedJersey recordedJersey(const std::string& name, const std::string& year, const std::string& team);

}  // namespace kitloom::cli
