#include "core/GameSearch.h"

#include "core/GamePaths.h"
#include "core/HeroicGames.h"
#include "core/LutrisGames.h"
#include "core/RememberedGame.h"
#include "core/SteamLibraries.h"
#include "core/TextFile.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "text/AsciiCase.h"

#include <algorithm>
#include <set>
#include <string_view>

namespace kitloom {

namespace {

// Launchers' files are small; a larger one is not theirs.
constexpr std::size_t kMaxLauncherFileSize = 1024 * 1024;
// drive_c/Program Files/Orvanta/Dunkmere, drive_c/Games/Sports/Orvanta/Dunkmere Gold: five
// levels reach every installer's choice, and a player's own folders, without walking a whole
// drive.
constexpr int kGameDepthInDrive = kGameDepthBelowDrive;
// Windows' own folders and the users' profiles hold no game, and are the largest.
constexpr const char* kNotSearchedInDrive[] = {"windows", "users", "ProgramData"};
// Nor do the folders Wine makes in each Program Files of every prefix; they are most of what
// five levels would list.
constexpr const char* kNotSearchedInProgramFiles[] = {"Common Files", "Internet Explorer", "Windows Media Player",
                                                      "Windows NT"};
constexpr std::string_view kProgramFiles = "Program Files";  // and "Program Files (x86)"

template <std::size_t N>
bool namedAmong(const std::string& name, const char* const (&names)[N])
{
    return std::any_of(std::begin(names), std::end(names),
                       [&](const char* skipped) { return equalsIgnoringAsciiCase(name, skipped); });
}
// Lutris keeps each game in a file of its own: NAME.yml; Heroic each game's settings in
// GamesConfig/ID.json.
constexpr std::string_view kLutrisGameSuffix = ".yml";
constexpr std::string_view kHeroicGameSuffix = ".json";

class Searcher {
public:
    Searcher(FileSystem& fileSystem, const SearchPlaces& places, GameSearch& search)
        : fileSystem_(fileSystem), places_(places), search_(search)
    {
        if (places.home && !places.home->empty())
            home_ = withClosingSeparator(*places.home);
    }

    void currentFolder()
    {
        if (holdsSaves(fileSystem_, ""))
            add({withClosingSeparator(fileSystem_.fullPath(".")), GamePlace::CurrentFolder, {}});
    }

    void remembered()
    {
        if (!places_.rememberedFile)
            return;
        std::string folder;
        switch (readRememberedGame(fileSystem_, *places_.rememberedFile, folder)) {
        case RememberedRead::NothingRemembered:
            return;
        case RememberedRead::Unreadable:
            note(SearchNoteKind::RememberedUnreadable, *places_.rememberedFile);
            return;
        case RememberedRead::Read:
            break;
        }
        if (holdsSaves(fileSystem_, folder))
            add({folder, GamePlace::Remembered, {}});
        else
            note(SearchNoteKind::RememberedGone, withoutClosingSeparator(folder));
    }

    void programFolder()
    {
        if (!places_.programFolder)
            return;
        const std::string folder = withClosingSeparator(*places_.programFolder);
        if (firstLookIn(folder) && holdsSaves(fileSystem_, folder))
            add({folder, GamePlace::ProgramFolder, {}});
    }

    void programFiles()
    {
        for (const std::string& programFiles : places_.programFiles) {
            if (programFiles.empty())
                continue;
            const std::string game = folderIn(folderIn(programFiles, kPublisherFolder), kGameFolderName);
            if (firstLookIn(game) && holdsSaves(fileSystem_, game))
                add({game, GamePlace::ProgramFiles, {}});
        }
    }

    void winePrefix()
    {
        if (!places_.winePrefix || places_.winePrefix->empty())
            return;
        const std::string prefix = withClosingSeparator(*places_.winePrefix);
        if (!firstLookIn(prefix))
            return;
        if (!fileSystem_.exists(prefix))
            note(SearchNoteKind::WinePrefixMissing, withoutClosingSeparator(prefix));
        else if (!lookInPrefix(prefix, GamePlace::WinePrefix))
            note(SearchNoteKind::WinePrefixNotWine, withoutClosingSeparator(prefix));
    }

    // ~/.wine and every launcher's prefixes.
    void elsewhere()
    {
        if (home_.empty())
            return;
        const std::string wine = folderIn(home_, ".wine");
        if (firstLookIn(wine))
            lookInPrefix(wine, GamePlace::HomeWine);
        // A launcher none of whose folders exist is told as one, not by every path tried.
        auto launcher = [&](GamePlace place, auto&& look) {
            const std::size_t before = search_.lookedIn.size();
            look();
            if (search_.lookedIn.size() == before)
                search_.launchersAbsent.push_back(place);
        };
        launcher(GamePlace::Steam, [&] { steam(); });
        launcher(GamePlace::Lutris, [&] { lutris(); });
        launcher(GamePlace::Bottles, [&] {
            for (const std::string& bottles :
                 {dataHome() + "bottles/bottles/", home_ + ".var/app/com.usebottles.bottles/data/bottles/bottles/"})
                lookInPrefixesUnder(bottles, GamePlace::Bottles);
        });
        launcher(GamePlace::PlayOnLinux,
                 [&] { lookInPrefixesUnder(home_ + ".PlayOnLinux/wineprefix/", GamePlace::PlayOnLinux); });
        launcher(GamePlace::Heroic, [&] { heroic(); });
    }

    // Below a folder the user named: the game in it when it is a prefix, else any game up to
    // as many levels below it as below a drive.
    void below(const std::string& folder)
    {
        if (lookInPrefix(folder, GamePlace::Given))
            return;
        const std::string real = realKey(folder);
        visited_.insert(real);
        lookForGames(folder, real, 1, {}, GamePlace::Given);
    }

private:
    std::string dataHome() const
    {
        if (places_.dataHome && !places_.dataHome->empty() && places_.dataHome->front() == '/')
            return withClosingSeparator(*places_.dataHome);
        return home_ + ".local/share/";
    }
    std::string configHome() const
    {
        if (places_.configHome && !places_.configHome->empty() && places_.configHome->front() == '/')
            return withClosingSeparator(*places_.configHome);
        return home_ + ".config/";
    }

    void steam()
    {
        std::vector<std::string> libraries;
        std::vector<std::string> seen;
        auto addLibrary = [&](const std::string& library) {
            const std::string real = fileSystem_.realPath(library);
            if (std::find(seen.begin(), seen.end(), real) == seen.end()) {
                seen.push_back(real);
                libraries.push_back(library);
            }
        };
        const std::string flatpak = home_ + ".var/app/com.valvesoftware.Steam/";
        for (const std::string& root : {dataHome() + "Steam/", home_ + ".local/share/Steam/", home_ + ".steam/steam/",
                                        home_ + ".steam/root/", flatpak + ".local/share/Steam/",
                                        flatpak + "data/Steam/", home_ + "snap/steam/common/.local/share/Steam/"}) {
            if (!fileSystem_.exists(root))
                continue;
            addLibrary(root);
            for (const std::string& library : librariesNamedIn(root))
                addLibrary(withClosingSeparator(library));
        }
        for (const std::string& library : libraries)
            lookInSteamLibrary(library);
    }

    // The libraries that a Steam root's steamapps/libraryfolders.vdf names.
    std::vector<std::string> librariesNamedIn(const std::string& root)
    {
        const auto apps = subfolder(root, "steamapps");
        if (!apps)
            return {};
        const std::string file = *apps + gameFileName(fileSystem_, *apps, "libraryfolders.vdf");
        std::string text;
        switch (readTextFile(fileSystem_, file, text, kMaxLauncherFileSize)) {
        case TextFileRead::Missing:
            return {};
        case TextFileRead::Unreadable:
            note(SearchNoteKind::FileUnreadable, file);
            return {};
        case TextFileRead::Read:
            break;
        }
        SteamLibraries named = readSteamLibraries(text);
        if (!named.parsed)
            note(SearchNoteKind::FileMalformed, file);
        return named.paths;
    }

    // Every steamapps/compatdata/*/pfx of a Steam library.
    void lookInSteamLibrary(const std::string& library)
    {
        const auto apps = subfolder(library, "steamapps");
        const auto compat = apps ? subfolder(*apps, "compatdata") : std::nullopt;
        search_.lookedIn.push_back(library + "steamapps/compatdata/*/pfx");
        if (!compat)
            return;
        // An app's folder, and its pfx, may be links: a prefix moved to another drive. The real
        // path of the rest follows from compatdata's, found once.
        const std::string realCompat = realKey(*compat);
        for (const ListedFolder& id : sortedFolders(*compat)) {
            // One listing tells both whether the app's folder can be read and where its pfx is.
            const std::string app = folderIn(*compat, id.name);
            const std::string realApp = realOf(id, app, realCompat);
            for (const ListedFolder& entry : sortedFolders(app)) {
                if (entry.name == "pfx") {
                    const std::string prefix = folderIn(app, entry.name);
                    lookInPrefix(prefix, GamePlace::Steam, realOf(entry, prefix, realApp));
                    break;
                }
            }
        }
    }

    void lutris()
    {
        const std::string flatpak = home_ + ".var/app/net.lutris.Lutris/";
        std::vector<std::string> folders = {configHome() + "lutris/games/", dataHome() + "lutris/games/",
                                            flatpak + "config/lutris/games/", flatpak + "data/lutris/games/"};
        forEachLauncherFile(folders, kLutrisGameSuffix, [&](const std::string& file) { lookInLutrisGame(file); });
    }

    // Each file whose name ends in `suffix`, in any case, in name order, in each of `folders`
    // that is there; a folder reached by two names is read once.
    template <typename Visit>
    void forEachLauncherFile(const std::vector<std::string>& folders, std::string_view suffix, const Visit& visit)
    {
        std::vector<std::string> seen;
        for (const std::string& folder : folders) {
            if (!fileSystem_.exists(folder) ||
                std::find(seen.begin(), seen.end(), fileSystem_.realPath(folder)) != seen.end())
                continue;
            seen.push_back(fileSystem_.realPath(folder));
            search_.lookedIn.push_back(folder + "*" + std::string(suffix));
            const auto files = fileSystem_.fileNames(folder);
            if (!files) {
                note(SearchNoteKind::FolderUnreadable, withoutClosingSeparator(folder));
                continue;
            }
            std::vector<std::string> sorted = *files;
            std::sort(sorted.begin(), sorted.end());
            for (const std::string& name : sorted) {
                if (name.size() > suffix.size() && endsWithIgnoringAsciiCase(name, suffix))
                    visit(folder + name);
            }
        }
    }

    void lookInLutrisGame([[maybe_unused]] const std::string& file)
    {
#ifndef _WIN32
        std::string text;
        switch (readTextFile(fileSystem_, file, text, kMaxLauncherFileSize)) {
        case TextFileRead::Missing:
            return;
        case TextFileRead::Unreadable:
            note(SearchNoteKind::FileUnreadable, file);
            return;
        case TextFileRead::Read:
            break;
        }
        const LutrisGameFile game = readLutrisGameFile(text);
        if (game.read == LutrisFileRead::Malformed) {
            note(SearchNoteKind::FileMalformed, file, game.problem);
            return;
        }
        if (game.read != LutrisFileRead::Prefix)
            return;
        lookInNamedPrefix(game.prefix, GamePlace::Lutris);
#endif
    }

    // Heroic's default prefixes, then the prefix each game's settings name, wherever it is.
    void heroic()
    {
        lookInPrefixesUnder(home_ + "Games/Heroic/Prefixes/", GamePlace::Heroic);
        lookInPrefixesUnder(home_ + "Games/Heroic/Prefixes/default/", GamePlace::Heroic);
#ifndef _WIN32
        forEachLauncherFile({configHome() + "heroic/GamesConfig/",
                             home_ + ".var/app/com.heroicgameslauncher.hgl/config/heroic/GamesConfig/"},
                            kHeroicGameSuffix, [&](const std::string& file) { lookInHeroicGame(file); });
#endif
    }

    void lookInHeroicGame([[maybe_unused]] const std::string& file)
    {
#ifndef _WIN32
        std::string text;
        switch (readTextFile(fileSystem_, file, text, kMaxLauncherFileSize)) {
        case TextFileRead::Missing:
            return;
        case TextFileRead::Unreadable:
            note(SearchNoteKind::FileUnreadable, file);
            return;
        case TextFileRead::Read:
            break;
        }
        const HeroicGameFile game = readHeroicGameFile(text);
        if (!game.parsed) {
            note(SearchNoteKind::FileMalformed, file);
            return;
        }
        for (const std::string& prefix : game.prefixes)
            lookInNamedPrefix(prefix, GamePlace::Heroic);
#endif
    }

    // A prefix a launcher's file names: an absolute path, or one in the home folder written
    // as ~/..., as a launcher keeps it when it was typed so.
    void lookInNamedPrefix(std::string prefix, GamePlace place)
    {
        if (prefix == "~" || prefix.rfind("~/", 0) == 0)
            prefix = home_ + prefix.substr(std::min<std::size_t>(2, prefix.size()));
        if (!prefix.empty() && prefix.front() == '/')
            lookInPrefix(withClosingSeparator(prefix), place);
    }

    // Each folder in `folder` as a prefix: a bottle, a PlayOnLinux or a Heroic prefix.
    void lookInPrefixesUnder(const std::string& folder, GamePlace place)
    {
        if (!fileSystem_.exists(folder))
            return;
        search_.lookedIn.push_back(folder + "*");
        const std::string real = realKey(folder);
        for (const ListedFolder& entry : sortedFolders(folder)) {
            const std::string prefix = folderIn(folder, entry.name);
            lookInPrefix(prefix, place, realOf(entry, prefix, real));
        }
    }

    // The games in a prefix; false when it has no drive_c. A drive searched already, under
    // another name, is not searched again. `realPrefix`: the prefix's realKey(), when known.
    bool lookInPrefix(const std::string& prefix, GamePlace place, std::optional<std::string> realPrefix = std::nullopt)
    {
        const auto driveName = fileSystem_.folderNamed(prefix, "drive_c");
        if (!driveName)
            return false;
        const std::string drive = folderIn(prefix, *driveName);
        const std::string real = realPrefix ? *realPrefix + kPathSeparator + caseKey(*driveName) : realKey(drive);
        if (visited_.insert(real).second) {
            search_.prefixes.push_back(withoutClosingSeparator(prefix));
            lookForGames(drive, real, 1, withoutClosingSeparator(prefix), place);
        }
        return true;
    }

    // `real` is `folder` with every link followed, as realKey() gives it.
    // `inProgramFiles`: `folder` is a Program Files folder of a prefix's drive.
    void lookForGames(const std::string& folder, const std::string& real, int depth, const std::string& prefix,
                      GamePlace place, bool inProgramFiles = false)
    {
        for (const ListedFolder& entry : sortedFolders(folder)) {
            const std::string& name = entry.name;
            if (depth == 1 && !prefix.empty() && namedAmong(name, kNotSearchedInDrive))
                continue;
            if (inProgramFiles && namedAmong(name, kNotSearchedInProgramFiles))
                continue;
            const std::string path = folderIn(folder, name);
            const std::string inner = realOf(entry, path, real);
            // A link to a folder that holds this one is a loop; each real folder is searched once.
            if (entry.link && holdsOrIs(inner, real))
                continue;
            if (!visited_.insert(inner).second)
                continue;
            // Below a folder the user named, a prefix's drive is searched as any prefix's is.
            if (prefix.empty() && equalsIgnoringAsciiCase(name, "drive_c")) {
                lookForGames(path, inner, 1, withoutClosingSeparator(folder), place);
                continue;
            }
            if (isGameFolderName(name) && holdsSaves(fileSystem_, path)) {
                add({path, place, prefix});
                continue;
            }
            if (depth < kGameDepthInDrive)
                lookForGames(path, inner, depth + 1, prefix, place,
                             depth == 1 && !prefix.empty() && startsWithIgnoringAsciiCase(name, kProgramFiles));
        }
    }

    struct ListedFolder {
        std::string name;
        bool link = false;  // a link that leads to a folder
        bool operator<(const ListedFolder& other) const { return name < other.name; }
    };

    // The folders in `folder`, and the links in it that lead to folders, sorted; a folder that
    // cannot be listed is noted.
    std::vector<ListedFolder> sortedFolders(const std::string& folder)
    {
        auto listing = fileSystem_.folderListing(folder);
        if (!listing) {
            note(SearchNoteKind::FolderUnreadable, withoutClosingSeparator(folder));
            return {};
        }
        std::vector<ListedFolder> entries;
        entries.reserve(listing->folders.size() + listing->linkedFolders.size());
        for (std::string& name : listing->folders)
            entries.push_back({std::move(name), false});
        for (std::string& name : listing->linkedFolders)
            entries.push_back({std::move(name), true});
        std::sort(entries.begin(), entries.end());
        return entries;
    }

    // True when real path `path` is `folder` or lies below it.
    static bool holdsOrIs(const std::string& folder, const std::string& path)
    {
        return path.compare(0, folder.size(), folder) == 0 &&
               (path.size() == folder.size() || isPathSeparator(folder.back()) || isPathSeparator(path[folder.size()]));
    }

    // The realKey() of `path`, the entry `entry` of a folder whose realKey() is `realParent`:
    // only a link costs a look-up.
    std::string realOf(const ListedFolder& entry, const std::string& path, const std::string& realParent)
    {
        return entry.link ? realKey(path) : realParent + kPathSeparator + caseKey(entry.name);
    }

    static std::string caseKey(const std::string& name) { return kSystemMatchesAnyCase ? asciiLowered(name) : name; }

    // `path` with every link followed and without its closing separator, in one case where the
    // system matches any: one folder's one name.
    std::string realKey(const std::string& path)
    {
        return caseKey(withoutClosingSeparator(fileSystem_.realPath(path)));
    }

    // `folder`'s entry `name` in any case, as a path prefix; links are not folders here.
    std::optional<std::string> subfolder(const std::string& folder, const std::string& name)
    {
        const auto found = fileSystem_.folderNamed(folder, name);
        if (!found)
            return std::nullopt;
        return folderIn(folder, *found);
    }

    // One game reached by two names (~/.steam/steam is a link to a Steam folder, the current
    // folder may be the game in ~/.wine) counts once, where it was found first.
    void add(FoundGame game)
    {
        if (!seenGames_.insert(realKey(game.folder)).second)
            return;
        search_.games.push_back(std::move(game));
    }

    // True the first time `folder` is met, which names it among the places looked in; a
    // folder is met again under another name (on 64-bit Windows ProgramFiles and ProgramW6432
    // both name C:\Program Files; the program may stand in the game's folder; WINEPREFIX may
    // name ~/.wine) or with a closing separator.
    bool firstLookIn(const std::string& folder)
    {
        std::string real = withoutClosingSeparator(fileSystem_.realPath(folder));
        if (kSystemMatchesAnyCase)
            real = asciiLowered(real);
        if (std::find(lookedInReal_.begin(), lookedInReal_.end(), real) != lookedInReal_.end())
            return false;
        lookedInReal_.push_back(real);
        search_.lookedIn.push_back(withoutClosingSeparator(folder));
        return true;
    }

    void note(SearchNoteKind kind, const std::string& path, const std::string& detail = {})
    {
        search_.notes.push_back({kind, path, detail});
    }

    FileSystem& fileSystem_;
    const SearchPlaces& places_;
    GameSearch& search_;
    std::string home_;
    std::set<std::string> seenGames_;
    std::set<std::string> visited_;  // the real paths of the folders searched for games
    std::vector<std::string> lookedInReal_;
};

}  // namespace

GameSearch searchGamesBelow(FileSystem& fileSystem, const std::string& folder)
{
    GameSearch search;
    Searcher(fileSystem, {}, search).below(withClosingSeparator(folder));
    search.decidingCount = search.games.size();
    return search;
}

GameSearch searchGames(FileSystem& fileSystem, const SearchPlaces& places, bool everyPlace)
{
    GameSearch search;
    Searcher searcher(fileSystem, places, search);
    using Place = void (Searcher::*)();
    constexpr Place kPlaces[] = {&Searcher::currentFolder, &Searcher::remembered, &Searcher::programFolder,
                                 &Searcher::programFiles,  &Searcher::winePrefix, &Searcher::elsewhere};
    for (const Place place : kPlaces) {
        const std::size_t before = search.games.size();
        (searcher.*place)();
        if (search.decidingCount == 0)
            search.decidingCount = search.games.size() - before;
        if (search.decidingCount > 0 && !everyPlace)
            break;
    }
    return search;
}

}  // namespace kitloom
