#include "core/SaveTarget.h"
#include "platform/FileSystem.h"

#include <gtest/gtest.h>

#include <string>

namespace kitloom::test {
namespace {

struct FromTheCallback {};

// kitloom-cli's callbacks may throw (its argument parser reports by throwing): core's frames
// between the callback and its caller must let the exception through, not end the program.
TEST(CallbackExceptions, PassThroughASweepToItsCaller)
{
    const SaveTarget target = SaveTarget::oneTable("teamgear.dbf");
    const SweepRules rules{ResultCode::Read};
    const auto readTable = [](const std::string& path) {
        TableReport table;
        table.tablePath = path;
        table.result = ResultCode::Read;
        return table;
    };
    const auto throwing = [](const std::string&) -> TableReport { throw FromTheCallback{}; };
    const TableProgress throwingProgress = [](const TableReport&) -> bool { throw FromTheCallback{}; };

    EXPECT_THROW(sweepSaves(systemFileSystem(), target, rules, throwing, {}), FromTheCallback);
    EXPECT_THROW(sweepSaves(systemFileSystem(), target, rules, readTable, throwingProgress), FromTheCallback);
}

}  // namespace
}  // namespace kitloom::test
