#pragma once

#include "platform/FileSystem.h"

#include <functional>
#include <string>
#include <vector>

namespace kitloom {

// The journal folder's files: one line of JSON for each thing a job did, appended to
// kJournalFileName, and the tables and images it kept, in kCopiesFolderName.
inline constexpr const char* kJournalFileName = "journal.jsonl";
inline constexpr const char* kCopiesFolderName = "copies";

// Makes `folder` (a path prefix) and every folder on its way that is missing.
Done makeFolders(FileSystem& fileSystem, const std::string& folder);

// Appends `line` and a newline to the journal in `folder`, made when missing, under the
// journal's own lock, so that two jobs at once write whole lines. `flush` waits until the line
// is on the disk. `beforeAppend`, when given, reads the journal as it is under the same lock
// first (a new job's number comes from it).
Done appendJournalLine(FileSystem& fileSystem, const std::string& folder, const std::string& line, bool flush,
                       const std::function<std::string(const std::string& journal)>& lineFromJournal = {});

// The journal's lines in order; none (and no failure) when there is no journal yet.
Done readJournalLines(FileSystem& fileSystem, const std::string& folder, std::vector<std::string>& lines);

// The whole of a small file, open or at `path`: a table, a copy, an image.
Done readOpenFile(OpenFile& file, std::string& bytes);
Done readWholeFile(FileSystem& fileSystem, const std::string& path, std::string& bytes);

}  // namespace kitloom
