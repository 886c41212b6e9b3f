#pragma once

#include "core/TableWitness.h"
#include "jobs/journal/RecordedJob.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace kitloom {

class FileSystem;

// What the journal says of a job before it changes anything.
struct JobStart {
    std::vector<std::string> command;
    std::string game;
    std::vector<std::string> patchPaths;  // each is named with its SHA-256
    std::optional<int> undoes;
};

// One job's record in the journal: its start, a copy of each table taken under the writers'
// lock before the table's first change, what became of each table and image, and its end.
// A job cut short leaves its start and copies, from which it can still be undone.
class JobJournal final : public TableWitness {
public:
    JobJournal(FileSystem& fileSystem, std::string folder, std::int64_t now, JobStart job = {});

    // Gives the job a number no other job has and records its start, on the disk before it
    // returns: a job whose start cannot be recorded changes nothing. Called by the first
    // change when not before, so that a job that changes nothing leaves no record.
    Done start();
    Done start(const JobStart& job);
    bool started() const { return id_ > 0; }
    // Why the start could not be recorded, once it was tried.
    const std::string& startTrouble() const { return startTrouble_; }
    int id() const { return id_; }
    const std::string& folder() const { return folder_; }

    Done beforeChange(const std::string& path, OpenFile& table) override;
    void afterChange(const std::string& path, OpenFile& table, const TableReport& report) override;
    // An undo's own change: `path` was put back from a copy (its own copy taken first, by
    // beforeChange).
    void tableRestored(const std::string& path, FileSystem& fileSystem);

    // Where an image replaced by this job's install is kept, so that its undo brings it back.
    std::string replacedImagesPrefix() const;
    void imagePlaced(const RecordedImage& image);

    void finish(bool succeeded, const std::vector<RecordedJersey>& jerseys);
    // Whether the journal's folders are there, or can be made, and written in: a job asks
    // before it begins, so that it changes nothing it could not record.
    Done ready();
    // The first line that could not be written after the start, if any: the job's record is
    // then incomplete, and the job says so.
    const std::string& troubled() const { return trouble_; }

private:
    void appendLine(const std::string& line, bool flush);
    std::string copiesFolder() const;
    int lastCopiedJob() const;

    FileSystem& fileSystem_;
    std::string folder_;
    std::int64_t now_;
    int id_ = 0;
    int copies_ = 0;
    JobStart job_;
    std::string startTrouble_;
    // The copy each table got, and the records it held, for the removed ones' bytes.
    std::map<std::string, std::pair<std::string, std::string>> copyOf_;
    std::string trouble_;
};

// The journal's folder: kitloom under $XDG_STATE_HOME (~/.local/state when unset or not
// absolute), or %LOCALAPPDATA%\kitloom on Windows; none when the environment names none.
std::optional<std::string> journalFolder();

// Time as the journal writes it: 2026-12-10T19:00:00Z.
std::string utcTime(std::int64_t secondsSince1970);
std::int64_t secondsNow();

}  // namespace kitloom
