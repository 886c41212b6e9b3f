#include "core/TableJobs.h"

namespace kitloom {

TableJobs::TableJobs(FileSystem& fileSystem, JobOptions options)
    : fileSystem_(fileSystem), options_(std::move(options))
{
}

TableReport TableJobs::appendJersey(const std::string& tablePath, const JerseySpec& spec)
{
    return TeamGearTable(fileSystem_, tablePath, changeAccess()).append(spec);
}

JobReport TableJobs::installJersey(const SaveTarget& target, const JerseySpec& spec)
{
    return sweepSaves(
        fileSystem_, target, {ResultCode::Appended},
        [&](const std::string& tablePath) { return appendJersey(tablePath, spec); }, options_.progress);
}

JobReport TableJobs::installJerseyOnce(const SaveTarget& target, const JerseySpec& spec)
{
    JobReport job = sweepSaves(
        fileSystem_, target, {ResultCode::Appended},
        [&](const std::string& tablePath) {
            return TeamGearTable(fileSystem_, tablePath, changeAccess()).appendUnlessThere(spec);
        },
        options_.progress);
    // A table that holds the jersey already is one done, too.
    for (const TableReport& table : job.tables) {
        if (job.outcome == JobOutcome::NothingDone && gotTheJersey(table))
            job.outcome = JobOutcome::Done;
    }
    return job;
}

JobReport TableJobs::removeJerseys(const SaveTarget& target, const JerseyMatch& match)
{
    return sweepSaves(
        fileSystem_, target, {ResultCode::Removed},
        [&](const std::string& tablePath) {
            return TeamGearTable(fileSystem_, tablePath, changeAccess()).removeLastWhile(match);
        },
        options_.progress);
}

JobReport TableJobs::readTables(const SaveTarget& target)
{
    return sweepSaves(
        fileSystem_, target, {ResultCode::Read, MissingFirstSave::IsReported},
        [&](const std::string& tablePath) {
            return TeamGearTable(fileSystem_, tablePath, TableAccess::Read).readRecords();
        },
        options_.progress);
}

}  // namespace kitloom
