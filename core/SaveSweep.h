#pragma once

#include "core/JerseySpec.h"
#include "core/SaveTarget.h"
#include "core/SweepReport.h"
#include "core/TeamGearTable.h"

#include <string>

namespace kitloom {

class FileSystem;

struct SweepOptions {
    // Nothing is written, yet every table reports what a real run would give it.
    bool dryRun = false;
    TableProgress progress;  // told about every table visited; may stop the job
    // Sees each table before and after it changes; none in a dry run.
    TableWitness* witness = nullptr;
};

// A sweep of a job's target: one table, or every numbered save's in turn. Each call returns
// what became of every table it visited and of the sweep as a whole; telling the user is the
// caller's.
class SaveSweep {
public:
    explicit SaveSweep(FileSystem& fileSystem, SweepOptions options = {});

    // Adds `spec` as a new last record of the table at `tablePath`.
    TableReport appendToTable(const std::string& tablePath, const JerseySpec& spec);
    // Appends to the target's table, or to every numbered save's. Done when at least one
    // table got the jersey.
    SweepReport append(const SaveTarget& target, const JerseySpec& spec);
    // The same, except that a table that holds the jersey already keeps it once
    // (TeamGearTable::appendUnlessThere), which counts as done too.
    SweepReport appendOnce(const SaveTarget& target, const JerseySpec& spec);
    // Takes matching jerseys off the end of the target's tables. Done when at least one went.
    SweepReport removeMatching(const SaveTarget& target, const JerseyMatch& match);
    // Reads every record of the target's tables. Save 000 without a table is reported as
    // one, and a listing of every save goes on past it.
    SweepReport readAll(const SaveTarget& target);

private:
    TableAccess changeAccess() const { return options_.dryRun ? TableAccess::DryRun : TableAccess::Change; }

    FileSystem& fileSystem_;
    SweepOptions options_;
};

}  // namespace kitloom
