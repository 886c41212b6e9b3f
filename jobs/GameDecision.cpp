#include "jobs/GameDecision.h"

#include "core/GamePaths.h"
#include "platform/Paths.h"

namespace kitloom {

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
    if (!gameDecided(choice) && observer) {
        const AskedGame asked = observer->askForGame(choice, search);
        if (asked.outcome == AskedGame::Outcome::Chosen) {
            const std::string folder = withClosingSeparator(asked.folder);
            choice = {holdsSaves(fileSystem, folder) ? GameSource::Asked : GameSource::Refused, folder};
            std::string reason;
            if (choice.source == GameSource::Asked)
                choice.unkept = !hooks.keepChosenGame ||
                                hooks.keepChosenGame(fileSystem, folder, reason) != RememberResult::Remembered;
        } else if (asked.outcome == AskedGame::Outcome::Stopped) {
            choice.source = GameSource::NotChosen;
        }
    }
    if (observer)
        observer->gameChosen(choice, search);
    return choice;
}

}  // namespace kitloom
