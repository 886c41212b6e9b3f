#include "core/WineGames.h"

#include "platform/FileSystem.h"
#include "platform/Paths.h"

#include <algorithm>

namespace kitloom {

namespace {

// `folder`'s entry `name` in any case, as a path prefix; links are not folders here.
std::optional<std::string> subfolder(FileSystem& fileSystem, const std::string& folder, const std::string& name)
{
    const auto found = fileSystem.folderNamed(folder, name);
    if (!found)
        return std::nullopt;
    return folder + *found + kPathSeparator;
}

class Search {
public:
    Search(FileSystem& fileSystem, WineSearch& search) : fileSystem_(fileSystem), search_(search) {}

    // The games in a prefix; false when it has no drive_c.
    bool lookInPrefix(const std::string& prefix, std::vector<std::string>& games)
    {
        search_.lookedIn.push_back(withoutClosingSeparator(prefix));
        const auto drive = subfolder(fileSystem_, prefix, "drive_c");
        if (!drive)
            return false;
        for (const char* programFiles : {"Program Files", "Program Files (x86)"}) {
            auto game = subfolder(fileSystem_, *drive, programFiles);
            for (const char* level : {"Orvanta", "Dunkmere"}) {
                if (game)
                    game = subfolder(fileSystem_, *game, level);
            }
            if (game && fileSystem_.folderNamed(*game, "saves"))
                add(*game, games);
        }
        return true;
    }

    // Every compatdata/*/pfx of a Steam library.
    void lookInSteam(const std::string& steam, std::vector<std::string>& games)
    {
        const auto apps = subfolder(fileSystem_, steam, "steamapps");
        const auto compat = apps ? subfolder(fileSystem_, *apps, "compatdata") : std::nullopt;
        if (!compat)
            return;
        auto ids = fileSystem_.folderNames(*compat);
        if (!ids) {
            skip(*compat);
            return;
        }
        std::sort(ids->begin(), ids->end());
        for (const std::string& id : *ids) {
            const std::string app = *compat + id + kPathSeparator;
            if (!fileSystem_.folderNames(app)) {
                skip(app);
                continue;
            }
            if (const auto prefix = subfolder(fileSystem_, app, "pfx"))
                lookInPrefix(*prefix, games);
        }
    }

private:
    // One game reached by two names (~/.steam/steam is a link to a Steam folder) counts once.
    void add(const std::string& game, std::vector<std::string>& games)
    {
        const std::string real = fileSystem_.realPath(game);
        if (std::find(seen_.begin(), seen_.end(), real) != seen_.end())
            return;
        seen_.push_back(real);
        games.push_back(game);
    }
    void skip(const std::string& folder)
    {
        search_.skipped.push_back(withoutClosingSeparator(folder) + ": could not be read");
    }

    FileSystem& fileSystem_;
    WineSearch& search_;
    std::vector<std::string> seen_;
};

}  // namespace

WineSearch findWineGames(FileSystem& fileSystem, const WinePlaces& places)
{
    WineSearch search;
    Search look(fileSystem, search);
    std::vector<std::string> chosen;
    if (places.winePrefix && !places.winePrefix->empty()) {
        const std::string prefix = withClosingSeparator(*places.winePrefix);
        if (!fileSystem.exists(prefix)) {
            search.outcome = WineSearchOutcome::WinePrefixMissing;
            search.lookedIn.push_back(withoutClosingSeparator(prefix));
            return search;
        }
        if (!look.lookInPrefix(prefix, chosen)) {
            search.outcome = WineSearchOutcome::WinePrefixNotWine;
            return search;
        }
    }
    std::vector<std::string> others;
    if (places.home && !places.home->empty()) {
        const std::string home = withClosingSeparator(*places.home);
        const std::string wine = home + ".wine" + kPathSeparator;
        if (!fileSystem.exists(wine))
            search.lookedIn.push_back(withoutClosingSeparator(wine));
        else if (!look.lookInPrefix(wine, others))
            search.skipped.push_back(withoutClosingSeparator(wine) + ": not a Wine prefix (no drive_c)");
        for (const std::string& steam : {home + ".local/share/Steam/", home + ".steam/steam/"}) {
            if (fileSystem.exists(steam)) {
                search.lookedIn.push_back(withoutClosingSeparator(steam) + "/steamapps/compatdata/*/pfx");
                look.lookInSteam(steam, others);
            }
        }
    }
    search.games = chosen;
    search.games.insert(search.games.end(), others.begin(), others.end());
    const std::vector<std::string>& candidates = chosen.empty() ? others : chosen;
    if (candidates.size() == 1)
        search.outcome = WineSearchOutcome::Found;
    else if (candidates.size() > 1)
        search.outcome = WineSearchOutcome::Several;
    return search;
}

}  // namespace kitloom
