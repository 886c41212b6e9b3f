#include "core/GameSearch.h"

#include "core/GamePaths.h"
#include "core/LutrisGames.h"
#include "core/RememberedGame.h"
#include "core/SteamLibraries.h"
#include "core/TextFile.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "text/AsciiCase.h"

#include <algorithm>
#include <string_view>

namespace kitloom {

namespace {

// Launchers' files are small; a larger one is not theirs.
constexpr std::size_t kMaxLauncherFileSize = 1024 * 1024;
// drive_c/GOG Games/Dunkmere, drive_c/Program Files/Orvanta/Dunkmere: three levels reach
// every installer's choice without walking a whole drive.
constexpr int kGameDepthInDrive = 3;
// Windows' own folders and the users' profiles hold no game, and are the largest.
constexpr const char* kNotSearchedInDrive[] = {"windows", "users", "ProgramData"};
// Lutris keeps each game in a file of its own: NAME.yml.
constexpr std::string_view kLutrisGameSuffix = ".yml";

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
        steam();
        lutris();
        for (const std::string& bottles :
             {dataHome() + "bottles/bottles/", home_ + ".var/app/com.usebottles.bottles/data/bottles/bottles/"})
            lookInPrefixesUnder(bottles, GamePlace::Bottles);
        lookInPrefixesUnder(home_ + ".PlayOnLinux/wineprefix/", GamePlace::PlayOnLinux);
        lookInPrefixesUnder(home_ + "Games/Heroic/Prefixes/", GamePlace::Heroic);
        lookInPrefixesUnder(home_ + "Games/Heroic/Prefixes/default/", GamePlace::Heroic);
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
        for (const std::string& id : sortedFolderNames(*compat)) {
            // One listing tells both whether the app's folder can be read and where its pfx is.
            const std::string app = folderIn(*compat, id);
            for (const std::string& name : sortedFolderNames(app)) {
                if (name == "pfx") {
                    lookInPrefix(folderIn(app, name), GamePlace::Steam);
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
        std::vector<std::string> seen;
        for (const std::string& folder : folders) {
            if (!fileSystem_.exists(folder) ||
                std::find(seen.begin(), seen.end(), fileSystem_.realPath(folder)) != seen.end())
                continue;
            seen.push_back(fileSystem_.realPath(folder));
            search_.lookedIn.push_back(folder + "*.yml");
            const auto files = fileSystem_.fileNames(folder);
            if (!files) {
                note(SearchNoteKind::FolderUnreadable, withoutClosingSeparator(folder));
                continue;
            }
            std::vector<std::string> sorted = *files;
            std::sort(sorted.begin(), sorted.end());
            for (const std::string& name : sorted) {
                if (name.size() > kLutrisGameSuffix.size() && endsWithIgnoringAsciiCase(name, kLutrisGameSuffix))
                    lookInLutrisGame(folder + name);
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
        // Lutris writes a prefix in the home folder as ~/... when it was typed so.
        std::string prefix = game.prefix;
        if (prefix == "~" || prefix.rfind("~/", 0) == 0)
            prefix = home_ + prefix.substr(std::min<std::size_t>(2, prefix.size()));
        if (!prefix.empty() && prefix.front() == '/')
            lookInPrefix(withClosingSeparator(prefix), GamePlace::Lutris);
#endif
    }

    // Each folder in `folder` as a prefix: a bottle, a PlayOnLinux or a Heroic prefix.
    void lookInPrefixesUnder(const std::string& folder, GamePlace place)
    {
        if (!fileSystem_.exists(folder))
            return;
        search_.lookedIn.push_back(folder + "*");
        for (const std::string& name : sortedFolderNames(folder))
            lookInPrefix(folderIn(folder, name), place);
    }

    // The games in a prefix; false when it has no drive_c.
    bool lookInPrefix(const std::string& prefix, GamePlace place)
    {
        const auto drive = subfolder(prefix, "drive_c");
        if (!drive)
            return false;
        lookForGames(*drive, 1, withoutClosingSeparator(prefix), place);
        return true;
    }

    void lookForGames(const std::string& folder, int depth, const std::string& prefix, GamePlace place)
    {
        for (const std::string& name : sortedFolderNames(folder)) {
            if (depth == 1 && std::any_of(std::begin(kNotSearchedInDrive), std::end(kNotSearchedInDrive),
                                          [&](const char* skipped) { return equalsIgnoringAsciiCase(name, skipped); }))
                continue;
            const std::string path = folderIn(folder, name);
            if (equalsIgnoringAsciiCase(name, kGameFolderName) && holdsSaves(fileSystem_, path)) {
                add({path, place, prefix});
                continue;
            }
            if (depth < kGameDepthInDrive)
                lookForGames(path, depth + 1, prefix, place);
        }
    }

    // The folders (never links) in `folder`, sorted; a folder that cannot be listed is noted.
    std::vector<std::string> sortedFolderNames(const std::string& folder)
    {
        auto names = fileSystem_.folderNames(folder);
        if (!names) {
            note(SearchNoteKind::FolderUnreadable, withoutClosingSeparator(folder));
            return {};
        }
        std::sort(names->begin(), names->end());
        return *names;
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
        std::string real = withoutClosingSeparator(fileSystem_.realPath(game.folder));
        if (kSystemMatchesAnyCase)
            real = asciiLowered(real);
        if (std::find(seenGames_.begin(), seenGames_.end(), real) != seenGames_.end())
            return;
        seenGames_.push_back(real);
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
    std::vector<std::string> seenGames_;
    std::vector<std::string> lookedInReal_;
};

}  // namespace

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
