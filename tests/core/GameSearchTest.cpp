// The search for the game folder, on a machine held in memory: every launcher's places,
// the order they are searched in, and what the search passes over as notes.
#include "core/GameFolder.h"
#include "core/RememberedGame.h"
#include "platform/Paths.h"
#include "tests/support/MemoryFileSystem.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace kitloom::test {
namespace {

// Adds `path` and every folder above it.
void addFolder(MemoryTree& tree, const std::string& path)
{
    for (std::size_t at = path.find('/', 1); at != std::string::npos; at = path.find('/', at + 1))
        tree.folders.insert(path.substr(0, at));
    tree.folders.insert(path);
}

// A game folder: `path` with a saves folder.
std::string addGame(MemoryTree& tree, const std::string& path)
{
    addFolder(tree, path + "/saves");
    return path + "/";
}

FoundGame found(const std::string& folder, GamePlace place, const std::string& prefix = {})
{
    return {folder, place, prefix};
}

TEST(GameSearch, TheProgramsFolderThenProgramFilesEachOnce)
{
    MemoryTree tree;
    addGame(tree, "/tools");
    addGame(tree, "/Program Files (x86)/Orvanta/Dunkmere");
    MemoryFileSystem fileSystem(tree);
    SearchPlaces places;
    places.programFolder = "/tools";
    places.programFiles = {"/Program Files (x86)", "/Program Files", "/Program Files (x86)/"};
    GameSearch search = searchGames(fileSystem, places, true);
    const std::string x86 = std::string("/Program Files (x86)") + kPathSeparator + "Orvanta" + kPathSeparator +
                            "Dunkmere" + kPathSeparator;
    EXPECT_EQ(search.games,
              (std::vector<FoundGame>{found(std::string("/tools") + kPathSeparator, GamePlace::ProgramFolder),
                                      found(x86, GamePlace::ProgramFiles)}));
    EXPECT_EQ(search.decidingCount, 1u);
    const std::string programFiles = std::string("/Program Files") + kPathSeparator + "Orvanta" + kPathSeparator +
                                     "Dunkmere";
    EXPECT_EQ(search.lookedIn, (std::vector<std::string>{"/tools", x86.substr(0, x86.size() - 1), programFiles}));

    // On 64-bit Windows two of the variables name one folder, and the program may stand in
    // the game's folder: each place is named once, in any case.
    places.programFolder = x86;
    places.programFiles = {"/Program Files", "/PROGRAM FILES", "/Program Files (x86)"};
    std::vector<std::string> once{x86.substr(0, x86.size() - 1), programFiles};
    if (!kSystemMatchesAnyCase)
        once.push_back(std::string("/PROGRAM FILES") + kPathSeparator + "Orvanta" + kPathSeparator + "Dunkmere");
    EXPECT_EQ(searchGames(fileSystem, places, true).lookedIn, once);

    places.programFolder.reset();
    const GameChoice choice = chooseGame(fileSystem, {std::nullopt, std::nullopt, places}, search);
    EXPECT_EQ(choice.source, GameSource::Found);
    EXPECT_EQ(choice.folder, x86);
}

#ifndef _WIN32
void addFile(MemoryTree& tree, const std::string& path, const std::string& text)
{
    addFolder(tree, path.substr(0, path.rfind('/')));
    tree.files[path] = text;
}

TEST(GameSearch, EveryLaunchersPrefixesInOrderWithWhatWasPassedOverAsNotes)
{
    const std::string home = "/home/p";
    MemoryTree tree;
    // ~/.wine, in the installer's case.
    const std::string wine = addGame(tree, home + "/.wine/drive_c/PROGRAM FILES/Orvanta/dunkmere");
    // Steam: a library in today's libraryfolders.vdf, another in the older format (Flatpak),
    // one file that is no library list (snap) and one that cannot be read.
    const std::string steam = home + "/.local/share/Steam";
    const std::string steamGame = addGame(
        tree, steam + "/steamapps/compatdata/10/pfx/drive_c/Program Files/Orvanta/Dunkmere");
    addFile(tree, steam + "/steamapps/libraryfolders.vdf",
            "\"libraryfolders\"\n{\n\t\"contentstatsid\"\t\"-1\"\n\t\"0\"\n\t{\n\t\t\"path\"\t\t\"" + steam +
                "\"\n\t}\n\t\"1\"\n\t{\n\t\t\"path\"\t\t\"/media/sd\"\n\t\t\"apps\"\n\t\t{\n\t\t\t\"2400\"\t\t\"1\"\n"
                "\t\t}\n\t}\n}\n");
    const std::string sdGame = addGame(tree, "/media/sd/steamapps/compatdata/20/pfx/drive_c/GOG Games/Dunkmere");
    const std::string flatpak = home + "/.var/app/com.valvesoftware.Steam/data/Steam";
    addFile(tree, flatpak + "/steamapps/libraryfolders.vdf",
            "\"LibraryFolders\"\n{\n\t\"TimeNextStatsReport\"\t\"1\"\n\t\"1\"\t\"/mnt/old\"\n}\n");
    const std::string oldGame = addGame(tree, "/mnt/old/steamapps/compatdata/30/pfx/drive_c/Games/Sports/DUNKMERE");
    const std::string snap = home + "/snap/steam/common/.local/share/Steam";
    addFile(tree, snap + "/steamapps/libraryfolders.vdf", "\"libraryfolders\" { \"0\" { \"path\" \"/x");
    addFolder(tree, home + "/.var/app/com.valvesoftware.Steam/.local/share/Steam/steamapps");
    tree.others.insert(home + "/.var/app/com.valvesoftware.Steam/.local/share/Steam/steamapps/libraryfolders.vdf");
    // Lutris: a game with a prefix, one without (a native game), one that is no YAML.
    const std::string lutrisGame = addGame(tree, home + "/Games/dunkmere/drive_c/Program Files (x86)/Orvanta/Dunkmere");
    addFile(tree, home + "/.config/lutris/games/dunkmere-1700000000.yml",
            "game:\n  exe: drive_c/Program Files (x86)/Orvanta/Dunkmere/dunkmere.exe\n  prefix: ~/Games/dunkmere\n"
            "name: Dunkmere\nrunner: wine\n");
    addFile(tree, home + "/.local/share/lutris/games/native.yml", "game:\n  exe: /usr/games/other\n");
    addFile(tree, home + "/.local/share/lutris/games/broken.yml", "game: [prefix: \n");
    // Bottles, PlayOnLinux and Heroic: each folder there is a prefix.
    const std::string bottle = addGame(tree, home + "/.local/share/bottles/bottles/Games/drive_c/Dunkmere");
    addFolder(tree, home + "/.local/share/bottles/bottles/Empty/drive_c");
    const std::string pol = addGame(tree,
                                    home + "/.PlayOnLinux/wineprefix/Dunkmere/drive_c/Program Files/Orvanta/Dunkmere");
    const std::string heroic = addGame(tree, home + "/Games/Heroic/Prefixes/default/Dunkmere/drive_c/Dunkmere");
    // Heroic's settings of each game name its own prefix, anywhere; a file that is no JSON is a
    // note, and one that names the default folder's prefix again adds nothing.
    const std::string heroicOwn = addGame(tree, "/mnt/games/gold/drive_c/Games/Sports/Orvanta/Classic/Dunkmere Gold");
    addFile(tree, home + "/.config/heroic/GamesConfig/1207.json",
            "{\"1207\": {\"winePrefix\": \"/mnt/games/gold\", \"wineVersion\": {\"type\": \"wine\"}}, "
            "\"version\": \"v0\", \"explicit\": true}");
    addFile(tree, home + "/.config/heroic/GamesConfig/again.json",
            "{\"again\": {\"winePrefix\": \"~/Games/Heroic/Prefixes/default/Dunkmere\"}}");
    addFile(tree, home + "/.config/heroic/GamesConfig/cut.json", "{\"cut\": {\"winePrefix\": ");
    // Too deep, or where no game is looked for.
    addGame(tree, home + "/.wine/drive_c/a/b/c/d/e/Dunkmere");
    addGame(tree, home + "/.wine/drive_c/users/steamuser/Dunkmere");
    addGame(tree, home + "/.wine/drive_c/windows/Dunkmere");
    addGame(tree, home + "/.wine/drive_c/Program Files/Common Files/Dunkmere");
    // A game reached through a prefix that is also a launcher's is counted once.
    addFile(tree, home + "/.config/lutris/games/again.yml", "game:\n  prefix: " + home + "/.wine\n");

    MemoryFileSystem fileSystem(tree);
    SearchPlaces places;
    places.home = home;
    places.rememberedFile = *rememberedGameFile(std::nullopt, home, std::nullopt);
    EXPECT_EQ(places.rememberedFile, home + "/.config/kitloom/game");
    const std::string prefix10 = steam + "/steamapps/compatdata/10/pfx";
    const std::vector<FoundGame> everyGame = {
        found(wine, GamePlace::HomeWine, home + "/.wine"),
        found(steamGame, GamePlace::Steam, prefix10),
        found(sdGame, GamePlace::Steam, "/media/sd/steamapps/compatdata/20/pfx"),
        found(oldGame, GamePlace::Steam, "/mnt/old/steamapps/compatdata/30/pfx"),
        found(lutrisGame, GamePlace::Lutris, home + "/Games/dunkmere"),
        found(bottle, GamePlace::Bottles, home + "/.local/share/bottles/bottles/Games"),
        found(pol, GamePlace::PlayOnLinux, home + "/.PlayOnLinux/wineprefix/Dunkmere"),
        found(heroic, GamePlace::Heroic, home + "/Games/Heroic/Prefixes/default/Dunkmere"),
        found(heroicOwn, GamePlace::Heroic, "/mnt/games/gold"),
    };
    GameSearch search = searchGames(fileSystem, places, true);
    EXPECT_EQ(search.games, everyGame);
    EXPECT_EQ(search.decidingCount, everyGame.size());
    ASSERT_EQ(search.notes.size(), 4u);
    EXPECT_EQ(search.notes[0], (SearchNote{SearchNoteKind::FileUnreadable,
                                           home + "/.var/app/com.valvesoftware.Steam/.local/share/Steam/steamapps/"
                                                  "libraryfolders.vdf",
                                           ""}));
    EXPECT_EQ(search.notes[1], (SearchNote{SearchNoteKind::FileMalformed, snap + "/steamapps/libraryfolders.vdf", ""}));
    EXPECT_EQ(search.notes[2].kind, SearchNoteKind::FileMalformed);
    EXPECT_EQ(search.notes[2].path, home + "/.local/share/lutris/games/broken.yml");
    EXPECT_FALSE(search.notes[2].detail.empty()) << "the YAML reader's own words";
    EXPECT_EQ(search.notes[3],
              (SearchNote{SearchNoteKind::FileMalformed, home + "/.config/heroic/GamesConfig/cut.json", ""}));

    // A folder above the game, or its prefix, named by the user: the game below it.
    GameChoice given = chooseGame(fileSystem, {"/mnt/games", std::nullopt, places}, search);
    EXPECT_EQ(given.source, GameSource::FoundInGiven);
    EXPECT_EQ(given.folder, heroicOwn);
    EXPECT_EQ(chooseGame(fileSystem, {home + "/.wine", std::nullopt, places}, search).folder, wine);
    EXPECT_EQ(chooseGame(fileSystem, {home + "/Games", std::nullopt, places}, search).source, GameSource::Several);
    given = chooseGame(fileSystem, {home + "/.config", std::nullopt, places}, search);
    EXPECT_EQ(given.source, GameSource::Given) << "no game below: the job says what is missing";

    // Several in one place and none chosen: the choice is the player's.
    EXPECT_EQ(chooseGame(fileSystem, {std::nullopt, std::nullopt, places}, search).source, GameSource::Several);

    // A stale WINEPREFIX is a note, and the search goes on; a WINEPREFIX that holds the game
    // comes before every other prefix.
    for (const auto& [winePrefix, kind] : {std::pair{std::string("/gone"), SearchNoteKind::WinePrefixMissing},
                                           std::pair{home + "/Games", SearchNoteKind::WinePrefixNotWine}}) {
        places.winePrefix = winePrefix;
        const GameChoice choice = chooseGame(fileSystem, {std::nullopt, std::nullopt, places}, search);
        EXPECT_EQ(choice.source, GameSource::Several);
        EXPECT_EQ(search.notes.front(), (SearchNote{kind, winePrefix, ""}));
    }
    places.winePrefix = home + "/.PlayOnLinux/wineprefix/Dunkmere";
    GameChoice choice = chooseGame(fileSystem, {std::nullopt, std::nullopt, places}, search);
    EXPECT_EQ(choice.source, GameSource::Found);
    EXPECT_EQ(choice.folder, pol);
    EXPECT_TRUE(search.notes.empty()) << "the search ended with the first place that held a game";

    // The game chosen once comes before WINEPREFIX; one that is gone is a note.
    std::string reason;
    ASSERT_EQ(rememberGame(fileSystem, *places.rememberedFile, bottle, reason), RememberResult::Remembered);
    EXPECT_EQ(fileSystem.tree.files[*places.rememberedFile], bottle.substr(0, bottle.size() - 1) + "\n");
    choice = chooseGame(fileSystem, {std::nullopt, std::nullopt, places}, search);
    EXPECT_EQ(choice.source, GameSource::Remembered);
    EXPECT_EQ(choice.folder, bottle);
    EXPECT_EQ(rememberGame(fileSystem, *places.rememberedFile, home + "/Games", reason), RememberResult::NoSaves);
    EXPECT_EQ(rememberGame(fileSystem, *places.rememberedFile, "/nowhere", reason), RememberResult::NoFolder);
    fileSystem.tree.folders.erase(bottle + "saves");
    choice = chooseGame(fileSystem, {std::nullopt, std::nullopt, places}, search);
    EXPECT_EQ(choice.source, GameSource::Found);
    EXPECT_EQ(search.notes.front(),
              (SearchNote{SearchNoteKind::RememberedGone, bottle.substr(0, bottle.size() - 1), ""}));
    EXPECT_EQ(forgetGame(fileSystem, *places.rememberedFile, reason), ForgetResult::Forgotten);
    EXPECT_EQ(forgetGame(fileSystem, *places.rememberedFile, reason), ForgetResult::NothingRemembered);

    // The current folder (the root here) and a patch's folder come first.
    addGame(fileSystem.tree, "/saves/..");
    EXPECT_EQ(chooseGame(fileSystem, {std::nullopt, std::nullopt, places}, search).source, GameSource::CurrentFolder);
    EXPECT_EQ(chooseGame(fileSystem, {std::nullopt, steamGame, places}, search).source, GameSource::PatchFolder);
}

// Links as players make them, on the system's own file system: a Steam prefix moved to an SD
// card, a game folder on another drive linked into a prefix, a prefix reached by two names;
// and a link back up, which is not followed.
TEST(GameSearch, LinksAreFollowedToEachRealFolderOnceAndNeverRoundALoop)
{
    namespace fs = std::filesystem;
    TempFolder root;
    const fs::path home = root.path() / "home";
    const fs::path card = root.path() / "card";
    const fs::path compat = home / ".local/share/Steam/steamapps/compatdata";
    fs::create_directories(compat);
    fs::create_directories(card / "2400/pfx/drive_c/Program Files/Orvanta/Dunkmere/saves");
    fs::create_directory_symlink(card / "2400", compat / "2400");
    // ~/.wine's drive holds a link to a game elsewhere, a link back to its own drive, and one
    // to the root of everything.
    const fs::path drive = home / ".wine/drive_c";
    fs::create_directories(card / "games/Dunkmere Gold/saves");
    fs::create_directories(drive / "Games");
    fs::create_directory_symlink(card / "games", drive / "Games/linked");
    fs::create_directory_symlink(drive, drive / "Games/loop");
    fs::create_directory_symlink("/", drive / "Games/everything");
    // A Lutris prefix that is the Steam one by another name.
    const std::string lutris = (home / ".config/lutris/games/steam.yml").string();
    fs::create_directories(fs::path(lutris).parent_path());
    writeBytes(lutris, toBytes("game:\n  prefix: " + (compat / "2400/pfx").string() + "\n"));

    SearchPlaces places;
    places.home = home.string();
    const GameSearch search = searchGames(systemFileSystem(), places, true);
    const std::string steamPrefix = (compat / "2400/pfx").string();
    EXPECT_EQ(search.games,
              (std::vector<FoundGame>{
                  found((drive / "Games/linked/Dunkmere Gold/").string(), GamePlace::HomeWine, (home / ".wine").string()),
                  found(steamPrefix + "/drive_c/Program Files/Orvanta/Dunkmere/", GamePlace::Steam, steamPrefix)}));
    EXPECT_EQ(search.prefixes, (std::vector<std::string>{(home / ".wine").string(), steamPrefix}));
    EXPECT_TRUE(search.notes.empty());
}
#endif

}  // namespace
}  // namespace kitloom::test
