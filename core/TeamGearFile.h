#pragma once

#include "core/JerseySpec.h"

#include <cstdint>
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

// What became of one table.
struct TableReport {
    std::string tablePath;
    ResultCode result = ResultCode::NoTable;
    std::uint32_t recordNumber = 0;  // Appended: the new record's number (a dry run's: what it would be)
    std::string reason;              // the system's words for why the table could not be used, if it gave any
    bool namedSave = false;          // the one save asked for, whose outcome the user is then told of too
    bool operator==(const TableReport&) const = default;
};

// Told about every table an install tried.
class TableObserver {
public:
    virtual ~TableObserver() = default;
    // False stops the install after this table, without a closing message.
    virtual bool tableDone(const TableReport& report) = 0;
};

// Appends jerseys to team-gear tables. One is made per installing command.
class TeamGearFile {
public:
    // Generated save paths start with `gameFolder` (empty: the current folder).
    TeamGearFile(FileSystem& fileSystem, Messages& messages, std::string gameFolder = {});

    // Null for none; it has to outlive the installs.
    void setObserver(TableObserver* observer) { observer_ = observer; }
    // A dry run changes nothing, yet gives the results and messages a real run would.
    void setDryRun(bool dryRun) { dryRun_ = dryRun; }

    // Adds `spec` as a new last record of the table at `tablePath`. With `reportErrors`
    // every failure is also shown to the user. A table that is not appended to is left
    // byte for byte as it was.
    ResultCode appendJersey(const std::string& tablePath, JerseySpec spec, bool reportErrors);

    // With `reportErrors`: the one table at `tablePath`. Without: every numbered save
    // folder from 000 up to the first one missing; `tablePath` then receives each path
    // tried. The observer hears of every table tried but that first missing one, before
    // the outcome is shown. True when at least one table got the jersey.
    bool installJersey(std::string& tablePath, JerseySpec spec, bool reportErrors);

private:
    TableReport append(const std::string& tablePath, JerseySpec spec);
    bool goOn(const TableReport& report) { return !observer_ || observer_->tableDone(report); }

    FileSystem& fileSystem_;
    Messages& messages_;
    std::string gameFolder_;
    TableObserver* observer_ = nullptr;
    bool dryRun_ = false;
};

// What the user is told when appendJersey returns `result` (empty for Appended).
const char* messageFor(ResultCode result);

}  // namespace kitloom
