#pragma once

#include "core/SweepReport.h"

#include <functional>
#include <optional>
#include <string>

namespace kitloom {

class FileSystem;

// Where a job goes: one table (a named save folder, as typed, or a table's own path), or
// every numbered save folder from 000 up to the first one without a table.
class SaveTarget {
public:
    static SaveTarget namedSave(const std::string& gameFolder, const std::string& saveFolder);
    static SaveTarget oneTable(const std::string& tablePath);
    static SaveTarget everyNumberedSave(const std::string& gameFolder);
    // What a Save Slot (or a patch's first line) names: that save folder; empty, every
    // numbered save.
    static SaveTarget ofSaveSlot(const std::string& gameFolder, const std::string& saveSlot)
    {
        return saveSlot.empty() ? everyNumberedSave(gameFolder) : namedSave(gameFolder, saveSlot);
    }

    bool named() const { return !tablePath_.empty(); }
    const std::string& tablePath() const { return tablePath_; }    // named() only
    const std::string& gameFolder() const { return gameFolder_; }  // a path prefix, empty for the current folder
    const std::optional<std::string>& saveFolder() const { return saveFolder_; }  // namedSave() only

private:
    std::string tablePath_;
    std::string gameFolder_;
    std::optional<std::string> saveFolder_;  // a named save's, found in any case when swept
};

// What a sweep does when save 000 has no table: the jobs that change saves refuse at once;
// a listing reports that table and goes on, as it always has.
enum class MissingFirstSave { EndsTheJob, IsReported };

struct SweepRules {
    ResultCode success;  // the result that makes a table count as done
    MissingFirstSave missingFirstSave = MissingFirstSave::EndsTheJob;
};

// Visits the target's tables in order with `visit`, telling `progress` of each one. A sweep
// ends before the first numbered save without a table, which is not reported as visited,
// and names the numbered save folders past it that hold a table. A path too long for the
// system ends it too, reported as save 000's table when it is that one's.
SweepReport sweepSaves(FileSystem& fileSystem, const SaveTarget& target, const SweepRules& rules,
                       const std::function<TableReport(const std::string& tablePath)>& visit,
                       const TableProgress& progress);

}  // namespace kitloom
