#include "jobs/GamePolicy.h"

#include "platform/Paths.h"

namespace kitloom {

GameChoice programsGame(FileSystem&, const GameHints& hints, GameListener*)
{
    if (hints.given)
        return {GameSource::Given, withClosingSeparator(*hints.given)};
    if (hints.patchFolder)
        return {GameSource::PatchFolder, *hints.patchFolder};
    return {GameSource::CurrentFolder, ""};
}

bool gameDecided(const GameChoice& choice)
{
    return choice.source != GameSource::NotFound && choice.source != GameSource::Several &&
           choice.source != GameSource::NotChosen;
}

GameChoice decideGame(FileSystem& fileSystem, const GamePolicy& policy, const std::string* patchFolder)
{
    GameChoice choice = policy.find(fileSystem, {policy.given ? &*policy.given : nullptr, patchFolder}, policy.listener);
    if (!gameDecided(choice) && policy.listener) {
        const AskedGame asked = policy.listener->ask(choice);
        if (asked.outcome == AskedGame::Outcome::Chosen) {
            choice.source = GameSource::Asked;
            choice.folder = asked.folder;
        } else if (asked.outcome == AskedGame::Outcome::Stopped) {
            choice.source = GameSource::NotChosen;
        }
    }
    if (policy.listener)
        policy.listener->chosen(choice);
    return choice;
}

}  // namespace kitloom
