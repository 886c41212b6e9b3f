#include "cli/CliHooks.h"

#include "core/SaveSweep.h"
#include "jobs/SearchedGame.h"
#include "patch/ImageLookAhead.h"
#include "patch/OpenDownload.h"

namespace kitloom::cli {

namespace {

// A save that holds the jersey already keeps the one it has, unless asked again.
SweepReport putOnce(SaveSweep& sweep, const SaveTarget& target, const JerseySpec& spec, bool again)
{
    return again ? sweep.append(target, spec) : sweep.appendOnce(target, spec);
}

}  // namespace

const JobHooks kCliHooks = {searchedGame, keepChosenGame,    putOnce,    openDownload,
                            missingTable, folderCouldBeMade, stageImage, placeStagedImages};

}  // namespace kitloom::cli
