#pragma once

#include "core/GameFolder.h"
#include "core/JerseySpec.h"
#include "core/SweepReport.h"
#include "core/RememberedGame.h"
#include "core/SaveTarget.h"
#include "patch/Download.h"
#include "patch/ImageStaging.h"
#include "patch/PatchInstaller.h"

#include <string>
#include <vector>

namespace kitloom {

class FileSystem;
class SaveSweep;
struct PatchInstall;
struct DownloadInstall;

// Where the game might be, as a job knows it before it is decided; null when not known.
struct GameHints {
    const std::string* given;        // a folder the user named
    const std::string* patchFolder;  // an install's patch's own folder
};

// Everything in which kitloom.exe and kitloom-cli do a job differently, as one table of
// functions: each program's table stands in a file only that program links, so the program
// carries none of kitloom-cli's ways. A null entry is the program's own way.
struct JobHooks {
    // The game of a job; `search` receives what a search met.
    GameChoice (*findGame)(FileSystem& fileSystem, const GameHints& hints, GameSearch& search);
    // Keeps a game the player chose when asked, for every later job; null keeps nothing.
    RememberResult (*keepChosenGame)(FileSystem& fileSystem, const std::string& gameFolder, std::string& reason);
    // Puts the jersey into the target's tables: `again` asks for a new record where a table
    // holds the jersey already.
    SweepReport (*putJersey)(SaveSweep& sweep, const SaveTarget& target, const JerseySpec& spec, bool again);

    // The patches a path names: a .jer, or every one in a folder or a zip; null: the path is
    // one patch, its images beside it under its own spelling, which a Windows folder finds in
    // any case by itself.
    OpenedDownload (*openDownload)(FileSystem& fileSystem, const std::string& path);

    // An install's look ahead, which a dry run needs; null for a program that never dry-runs.
    // With it nothing moves unless the jersey has a table to go to.
    std::string (*missingTable)(FileSystem& fileSystem, const std::string& gameFolder, const SaveTarget& target);
    Done (*folderCouldBeMade)(FileSystem& fileSystem, const std::string& folder);

    // A patch goes in whole or not at all: its images are made ready in the art folder before
    // any table changes, and take their names once the tables have the jersey. Null: each
    // image moves at once, before the tables, in the system's order.
    ImageMove (*stageImage)(FileSystem& fileSystem, PatchSource& source, const std::string& image,
                            const ImageDestination& destination, bool dryRun);
    void (*placeStagedImages)(FileSystem& fileSystem, PatchSource& source, std::vector<ImageMove>& images, bool keep);
};

// What asking the player for the game folder gave.
struct AskedGame {
    // Stopped: nothing was chosen (cancelled).
    enum class Outcome { Chosen, Stopped, NoWayToAsk } outcome = Outcome::NoWayToAsk;
    std::string folder;  // Chosen: the game folder, a path prefix
};

// Told of a job as it goes, as a front end tells its user. Every call has a default that
// tells no one, so that an observer overrides only what it shows.
class JobObserver {
public:
    virtual ~JobObserver() = default;
    // A table the job visited, right after it; false stops the job there.
    virtual bool tableVisited(const TableReport&) { return true; }
    // One of a patch's images, as it went (or, in a dry run, would go).
    virtual void imageMoved(const ImageMove&) {}
    // The game the job decided, usable or not, with what the search met, before anything is
    // touched.
    virtual void gameChosen(const GameChoice&, const GameSearch&) {}
    // When the way to the game gave none, or several: the player's choice, if there is a way
    // to ask. A folder chosen is checked by the job, which asks again with the choice Refused
    // (its folder the one refused) when it holds no saves.
    virtual AskedGame askForGame(const GameChoice&, const GameSearch&) { return {}; }
    // An install's patches: each one as it starts, and what became of it; then what became of
    // the download they came in, a folder's or an archive's patches all done, or none of them
    // to be found.
    virtual void patchStarted(const PatchSource&) {}
    virtual void patchDone(const PatchInstall&) {}
    virtual void downloadDone(const DownloadInstall&, const std::vector<PatchInstall>& /*patches*/) {}
};

// A sweep's progress told to `observer`, which may be null.
inline TableProgress tablesToldTo(JobObserver* observer)
{
    return [observer](const TableReport& table) { return !observer || observer->tableVisited(table); };
}

}  // namespace kitloom
