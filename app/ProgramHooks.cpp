#include "app/ProgramHooks.h"

#include "core/SaveSweep.h"
#include "platform/Paths.h"

namespace kitloom {

namespace {

GameChoice programsGame(FileSystem&, const GameHints& hints, GameSearch&)
{
    if (hints.given)
        return {GameSource::Given, withClosingSeparator(*hints.given)};
    if (hints.patchFolder)
        return {GameSource::PatchFolder, *hints.patchFolder};
    return {GameSource::CurrentFolder, ""};
}

// The program adds the jersey to every table it visits, as often as it is installed.
SweepReport appendEverywhere(SaveSweep& sweep, const SaveTarget& target, const JerseySpec& spec, bool)
{
    return sweep.append(target, spec);
}

}  // namespace

const JobHooks kProgramHooks = {programsGame, nullptr, appendEverywhere, nullptr, nullptr, nullptr, nullptr, nullptr};

}  // namespace kitloom
