#pragma once

#include "jobs/JobStatus.h"
#include "jobs/journal/JobJournal.h"
#include "jobs/journal/JournalLines.h"

#include <optional>
#include <string>
#include <vector>

namespace kitloom {

class FileSystem;

enum class UndoTableOutcome {
    Restored,         // put back from its copy, exactly
    RecordCut,        // changed since, or its copy gone: the job's own last record went
    AlreadyAsBefore,  // it is what the job started from
    ChangedSince,     // another job or program changed it after: left as it is
    CopyGone,         // its copy was let go for space, and its change cannot be cut alone
    CannotUse,        // it could not be opened, locked, read or written: `reason`
};

struct UndoneTable {
    std::string path;
    UndoTableOutcome outcome = UndoTableOutcome::CannotUse;
    std::optional<int> laterJob;  // ChangedSince: the journal's later job that changed it
    std::string reason;
};

enum class UndoImageOutcome {
    MovedBack,     // back where it came from
    Deleted,       // a copy out of an archive, unchanged: gone again
    AlreadyGone,   // not in the art folder any more
    ChangedSince,  // other bytes under its name now: left
    PlaceTaken,    // something is where it came from: left
    CannotMove,    // `reason`
};

struct UndoneImage {
    RecordedImage image;
    UndoImageOutcome outcome = UndoImageOutcome::CannotMove;
    bool replacedPutBack = false;  // the image it had replaced is in its place again
    std::string reason;
};

enum class UndoTrouble {
    None,
    CannotReadJournal,  // `reason`
    NothingToUndo,      // no job the journal records is left to undo
    NoSuchJob,
    AlreadyUndone,  // see `undoneBy`
    CannotRecord,   // the undo's own start could not be recorded: `reason`
};

struct UndoRequest {
    std::string journalFolder;
    std::optional<int> job;  // none: the latest job that is not undone and is no undo itself
    bool dryRun = false;
    JobJournal* journal = nullptr;     // the undo's own record; none to run unrecorded
    std::vector<std::string> command;  // for that record
};

struct UndoResult {
    UndoTrouble trouble = UndoTrouble::None;
    std::string reason;
    RecordedJob job;  // the job undone
    std::optional<int> undoneBy;
    std::vector<UndoneTable> tables;  // in the order they were taken back: the latest change first
    std::vector<UndoneImage> images;
    std::vector<SkippedLine> skipped;
    JobStatus status = JobStatus::Failed;  // Succeeded only when every table and image went back
};

// Takes a job back: every table it changed put back as it was, where nothing changed it
// since, and every image it placed taken out again.
UndoResult undoJob(FileSystem& fileSystem, const UndoRequest& request);

// The job an undo takes back by default.
const RecordedJob* latestUndoable(const ReadJournal& journal);

}  // namespace kitloom
