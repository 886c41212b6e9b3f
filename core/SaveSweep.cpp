#include "core/SaveSweep.h"

namespace kitloom {

SaveSweep::SaveSweep(FileSystem& fileSystem, SweepOptions options)
    : fileSystem_(fileSystem), options_(std::move(options))
{
}

TableReport SaveSweep::appendToTable(const std::string& tablePath, const JerseySpec& spec)
{
    return TeamGearTable(fileSystem_, tablePath, changeAccess(), options_.witness).append(spec);
}

SweepReport SaveSweep::append(const SaveTarget& target, const JerseySpec& spec)
{
    return sweepSaves(
        fileSystem_, target, {ResultCode::Appended},
        [&](const std::string& tablePath) { return appendToTable(tablePath, spec); }, options_.progress);
}

SweepReport SaveSweep::appendOnce(const SaveTarget& target, const JerseySpec& spec)
{
    SweepReport job = sweepSaves(
        fileSystem_, target, {ResultCode::Appended},
        [&](const std::string& tablePath) {
            return TeamGearTable(fileSystem_, tablePath, changeAccess(), options_.witness).appendUnlessThere(spec);
        },
        options_.progress);
    // A table that holds the jersey already is one done, too.
    for (const TableReport& table : job.tables) {
        if (job.outcome == SweepOutcome::NothingDone && gotTheJersey(table))
            job.outcome = SweepOutcome::Done;
    }
    return job;
}

SweepReport SaveSweep::removeMatching(const SaveTarget& target, const JerseyMatch& match)
{
    return sweepSaves(
        fileSystem_, target, {ResultCode::Removed},
        [&](const std::string& tablePath) {
            return TeamGearTable(fileSystem_, tablePath, changeAccess(), options_.witness).removeLastWhile(match);
        },
        options_.progress);
}

SweepReport SaveSweep::readAll(const SaveTarget& target)
{
    return sweepSaves(
        fileSystem_, target, {ResultCode::Read, MissingFirstSave::IsReported},
        [&](const std::string& tablePath) {
            return TeamGearTable(fileSystem_, tablePath, TableAccess::Read).readRecords();
        },
        options_.progress);
}

}  // namespace kitloom
