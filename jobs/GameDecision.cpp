#include "jobs/GameDecision.h"

#include "core/GamePaths.h"
#include "platform/Paths.h"

namespace kitloom {

namespace {

// A player who chose a folder without saves this often is not finding the game this way.
constexpr int kMostAsks = 5;

}  // namespace

bool gameDecided(const GameChoice& choice)
{
    return choice.source != GameSource::NotFound && choice.source != GameSource::Several &&
           choice.source != GameSource::NotChosen && choice.source != GameSource::Refused;
}

GameChoice decideGame(FileSystem& fileSystem, const JobHooks& hooks, JobObserver* observer, const GamePolicy& policy,
                      const std::string* patchFolder)
{
    GameSearch search;
    GameChoice choice = hooks.findGame(fileSystem, {policy.given ? &*policy.given : nullptr, patchFolder}, search);
    // A folder chosen that holds no saves is asked for again, the refused one in hand, until
    // the player chooses the game or stops; a few refusals in a row end it.
    for (int asks = 0; asks < kMostAsks && !gameDecided(choice) && choice.source != GameSource::NotChosen && observer;
         ++asks) {
        const AskedGame asked = observer->askForGame(choice, search);
        if (asked.outcome == AskedGame::Outcome::NoWayToAsk)
            break;
        if (asked.outcome == AskedGame::Outcome::Stopped) {
            choice.source = GameSource::NotChosen;
            break;
        }
        const std::string folder = withClosingSeparator(asked.folder);
        choice = {holdsSaves(fileSystem, folder) ? GameSource::Asked : GameSource::Refused, folder};
        std::string reason;
        if (choice.source == GameSource::Asked)
            choice.unkept = !hooks.keepChosenGame ||
                            hooks.keepChosenGame(fileSystem, folder, reason) != RememberResult::Remembered;
    }
    if (observer)
        observer->gameChosen(choice, search);
    return choice;
}

}  // namespace kitloom
