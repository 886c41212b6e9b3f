#pragma once

#include "core/JerseySpec.h"

#include <string>

namespace kitloom {

class FileSystem;
class Messages;

enum class ResultCode : int {
    Appended = 0,
    NoTable = 1,
    TableFull = 2,      // exactly 999 records
    TableDamaged = 3,   // record count and size disagree, or no record to copy
    TableUnusable = 4,  // found, but it could not be opened, read or written
};

// Appends jerseys to team-gear tables. One is made per installing command.
class TeamGearFile {
public:
    // Generated save paths start with `gameFolder` (empty: the current folder).
    TeamGearFile(FileSystem& fileSystem, Messages& messages, std::string gameFolder = {});

    // Adds `spec` as a new last record of the table at `tablePath`. With `reportErrors`
    // every failure is also shown to the user. A table that is not appended to is left
    // byte for byte as it was.
    ResultCode appendJersey(const std::string& tablePath, JerseySpec spec, bool reportErrors);

    // With `reportErrors`: the one table at `tablePath`. Without: every numbered save
    // folder from 000 up to the first one missing; `tablePath` then receives each path
    // tried. Shows the outcome; true when at least one table got the jersey.
    bool installJersey(std::string& tablePath, JerseySpec spec, bool reportErrors);

private:
    ResultCode append(const std::string& tablePath, JerseySpec spec);

    FileSystem& fileSystem_;
    Messages& messages_;
    std::string gameFolder_;
};

// What the user is told when appendJersey returns `result` (empty for Appended).
const char* messageFor(ResultCode result);

}  // namespace kitloom
