#pragma once

#include "core/TeamGearLayout.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kitloom {

// How a job changed a table, as the journal says.
enum class TableChangeKind {
    Appended,  // one record went on at the end
    Removed,   // records went from the end
    Restored,  // an undo put the table back from a copy
    Other,     // the table changed otherwise (an interrupted append's tail was cut)
};

struct RecordedRecord {
    std::uint32_t position = 0;  // 1 for the first record
    std::string bytes;           // its 29 bytes
};

// One table a job changed. A job cut short may have kept a table's copy without its line:
// then `finished` is false and only the copy says what the table was.
struct RecordedTable {
    std::string path;
    std::string copy;  // the copy's file name in the copies folder
    bool finished = false;
    TableChangeKind change = TableChangeKind::Other;
    RecordedRecord appended;              // Appended
    std::vector<RecordedRecord> removed;  // Removed, from the last up
    std::uint64_t sizeAfter = 0;
    std::string sha256After;
};

// One image a job put into the art folder.
struct RecordedImage {
    std::string from;     // the file it came from, or an archive's entry
    std::string archive;  // the archive it was copied out of; empty when it was moved
    std::string to;
    std::string sha256;
    std::string replacedKeptAs;  // the image of that name it replaced, kept here
};

struct RecordedPatch {
    std::string path;
    std::string sha256;
};

struct RecordedJersey {
    std::string name;  // UTF-8
    std::string year;
    std::string team;
};

// One job, from every line of the journal that names it.
struct RecordedJob {
    int id = 0;
    std::string time;            // when it started, UTC, as 2026-12-10T19:00:00Z
    std::int64_t startedAt = 0;  // seconds since 1970
    std::vector<std::string> command;
    std::string game;
    std::vector<RecordedPatch> patches;
    std::optional<int> undoes;          // an undo: the job it took back
    std::vector<RecordedTable> tables;  // in the order they changed
    std::vector<RecordedImage> images;
    std::vector<RecordedJersey> jerseys;
    bool ended = false;  // false: cut short (Ctrl-C, a crash, the power)
    bool succeeded = false;
    std::optional<int> undoneBy;
};

}  // namespace kitloom
