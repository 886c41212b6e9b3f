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

// A copy file keeps one table or several, each as a line that names the table and its size,
// then the table's bytes.
struct CopiedTable {
    std::string path;
    std::string bytes;
};
std::string tableCopyBytes(const std::vector<CopiedTable>& tables);
// The tables a copy file keeps, in order; none when it is not one. A table cut short (a crash
// while the copy was written) ends the list.
std::vector<CopiedTable> readTableCopies(const std::string& copy);
// The copy of the table at `tablePath` in a copy file; false when it keeps none.
bool readTableCopy(const std::string& copy, const std::string& tablePath, std::string& table);

std::string hexOf(const std::string& bytes);
bool bytesOfHex(const std::string& hex, std::string& bytes);

}  // namespace kitloom
