#pragma once

#include "jobs/journal/RecordedJob.h"
#include "platform/FileSystem.h"

#include <string>
#include <vector>

namespace kitloom {

// A line of the journal that was passed over: damaged (a crash cut it, an editor broke it),
// or of a kind this version does not know.
struct SkippedLine {
    std::size_t number = 0;  // from 1
    bool unknown = false;    // it reads, but says nothing this version knows
};

struct ReadJournal {
    std::vector<RecordedJob> jobs;  // oldest first
    std::vector<SkippedLine> skipped;
    Done read;  // the journal could not be read: then there is nothing else
    const RecordedJob* job(int id) const;
};

// Every job the journal in `folder` records, with what it changed, each table's copy found
// even where the job was cut short before its line.
ReadJournal readJournal(FileSystem& fileSystem, const std::string& folder);

// A kept table: its first line names the table, the table's bytes follow.
std::string tableCopyBytes(const std::string& tablePath, const std::string& table);
// The table's path and bytes from a copy; false when it is not one.
bool readTableCopy(const std::string& copy, std::string& tablePath, std::string& table);

std::string hexOf(const std::string& bytes);
bool bytesOfHex(const std::string& hex, std::string& bytes);

}  // namespace kitloom
