#include "cli/CliHooks.h"

#include "core/TableJobs.h"
#include "jobs/SearchedGame.h"
#include "patch/ImageLookAhead.h"

namespace kitloom::cli {

namespace {

// A save that holds the jersey already keeps the one it has, unless asked again.
JobReport putOnce(TableJobs& tables, const SaveTarget& target, const JerseySpec& spec, bool again)
{
    return again ? tables.installJersey(target, spec) : tables.installJerseyOnce(target, spec);
}

}  // namespace

const JobHooks kCliHooks = {searchedGame,      keepChosenGame, putOnce,     missingTable,
                            folderCouldBeMade, foreseeMove,    explainImage};

}  // namespace kitloom::cli
