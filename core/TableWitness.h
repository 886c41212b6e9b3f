#pragma once

#include "core/SweepReport.h"
#include "platform/FileSystem.h"

#include <string>

namespace kitloom {

// Sees every change a job makes to a table, under the writers' lock: what the table was
// before its first byte changed, and what became of it. A journal keeps both, so that the
// change can be taken back exactly.
class TableWitness {
public:
    virtual ~TableWitness() = default;
    // Before the table at `path` changes; `table` is exactly what the change starts from. A
    // failure refuses the change: nothing is written, and its words are the table's reason.
    virtual Done beforeChange(const std::string& path, OpenFile& table) = 0;
    // After the change, or its failure; the table is still open and locked.
    virtual void afterChange(const std::string& path, OpenFile& table, const TableReport& report) = 0;
};

}  // namespace kitloom
