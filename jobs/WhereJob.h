#pragma once

#include "core/GameSearch.h"
#include "core/RememberedGame.h"
#include "jobs/JobStatus.h"

#include <string>

namespace kitloom {

class FileSystem;

// where: the games this machine holds, or the game chosen for every later job.
enum class WhereAsk { Search, Use, Forget };

struct WhereRequest {
    WhereAsk ask = WhereAsk::Search;
    std::string folder;  // Use: the folder to choose
};

struct WhereResult {
    SearchPlaces places;
    GameSearch search;  // Search: every place's games
    // Use: what became of the choice. Without a place to keep it (`noPlace`), CannotWrite for
    // a game folder, NoFolder or NoSaves for the rest.
    RememberResult remembered = RememberResult::CannotWrite;
    // Forget: what became of the choice kept; NothingRemembered also when there is no place.
    ForgetResult forgotten = ForgetResult::NothingRemembered;
    bool noPlace = false;  // the environment names no place to keep a choice
    std::string folder;    // Use: the full path chosen; Forget: the folder that was kept
    std::string reason;    // the system's words when the choice could not be kept or removed
    JobStatus status = JobStatus::Failed;
};
WhereResult whereIsTheGame(FileSystem& fileSystem, const WhereRequest& request);

}  // namespace kitloom
