#include "cli/DesktopPrompts.h"

#include "core/TextFile.h"
#include "platform/Environment.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "text/TerminalEscape.h"

#include <algorithm>
#include <cstdint>
#include <ctime>

namespace kitloom::cli {

namespace {

constexpr const char* kAnotherFolder = "Another folder...";
constexpr const char* kChooserTitle = "Kitloom: choose Dunkmere's game folder, the one that holds saves";
constexpr const char* kListText =
    "Dunkmere was found in several places. Which game should Kitloom use, now and from now on?";

// What one dialog program answered: none when it is not there.
std::optional<ProgramRun> show(const std::string& program, const std::vector<std::string>& args)
{
    auto run = runProgram(program, args);
    if (run) {
        while (!run->output.empty() && (run->output.back() == '\n' || run->output.back() == '\r'))
            run->output.pop_back();
    }
    return run;
}

// The folder chosen with `program`; none when the player cancelled. `present` false when the
// program is not there.
// Where the folder chooser opens: where games are, in the first Wine prefix searched, else in
// Steam's folder, else at home. Inside a prefix, its hidden parents (~/.wine, ~/.local) are
// no obstacle: the dialogs show no hidden folders, and offer no switch for them.
std::string chooserStart(const GameSearch& search)
{
    const std::string home = withClosingSeparator(environmentValue("HOME").value_or("/"));
    FileSystem& fileSystem = systemFileSystem();
    for (const std::string& prefix : search.prefixes) {
        if (const auto drive = fileSystem.folderNamed(withClosingSeparator(prefix), "drive_c"))
            return folderIn(withClosingSeparator(prefix), *drive);
    }
    const std::string steam = home + ".local/share/Steam/";
    return fileSystem.exists(steam) ? steam : home;
}

// The folder chosen with `program`; none when the player cancelled. `present` false when the
// program is not there. `refused`: the folder chosen before, which holds no saves.
std::optional<std::string> choose(const std::string& program, const GameSearch& search, bool several,
                                  const std::string& refused, bool& present)
{
    const bool zenity = program == "zenity";
    std::optional<ProgramRun> answer;
    if (several) {
        std::vector<std::string> args;
        if (zenity) {
            args = {"--list",      "--title=Kitloom", std::string("--text=") + kListText, "--column=Game folder",
                    "--width=720", "--height=320"};
        } else {
            args = {"--title", "Kitloom", "--menu", kListText};
        }
        for (std::size_t i = 0; i < search.decidingCount; ++i) {
            const std::string folder = withoutClosingSeparator(search.games[i].folder);
            if (!zenity)
                args.push_back(folder);  // the tag kdialog prints
            args.push_back(folder);
        }
        if (!zenity)
            args.push_back("another");
        args.push_back(kAnotherFolder);
        answer = show(program, args);
        present = answer.has_value();
        if (!answer || answer->exitStatus != 0 || answer->output.empty())
            return std::nullopt;
        if (answer->output != kAnotherFolder && answer->output != "another")
            return answer->output;
    }
    const std::string start = chooserStart(search);
    const std::string title = refused.empty() ? std::string(kChooserTitle)
                                              : escapedText(refused) +
                                                    " holds no saves folder, so it is not the game "
                                                    "folder. " +
                                                    kChooserTitle;
    answer = zenity ? show(program, {"--file-selection", "--directory", "--title=" + title, "--filename=" + start})
                    : show(program, {"--title", title, "--getexistingdirectory", start});
    present = answer.has_value();
    if (!answer || answer->exitStatus != 0 || answer->output.empty())
        return std::nullopt;
    return answer->output;
}

}  // namespace

AskedGame askOnDesktop(const GameChoice& choice, const GameSearch& search)
{
    const bool several = choice.source == GameSource::Several;
    const std::string refused = choice.source == GameSource::Refused ? withoutClosingSeparator(choice.folder)
                                                                     : std::string();
    for (const char* program : {"zenity", "kdialog"}) {
        bool present = false;
        const auto folder = choose(program, search, several, refused, present);
        if (!present)
            continue;
        if (!folder)
            return {AskedGame::Outcome::Stopped, {}};
        return {AskedGame::Outcome::Chosen, *folder};
    }
    return {AskedGame::Outcome::NoWayToAsk, {}};
}

namespace {

// The outcome log keeps the latest outcomes only.
constexpr std::size_t kOutcomeLogSize = 64 * 1024;
constexpr const char* kOutcomeLog = "outcomes.log";
// Beside the log while an outcome in it is one no one was told of.
constexpr const char* kUnseenMark = "outcomes.unseen";

// $XDG_STATE_HOME/kitloom/, by default ~/.local/state/kitloom/; none without a home.
std::optional<std::string> stateFolder()
{
    const auto state = environmentValue("XDG_STATE_HOME");
    if (state && !state->empty() && state->front() == '/')
        return folderIn(withClosingSeparator(*state), "kitloom");
    const auto home = environmentValue("HOME");
    if (!home || home->empty() || home->front() != '/')
        return std::nullopt;
    return folderIn(withClosingSeparator(*home) + ".local/state/", "kitloom");
}

bool shownInDialog(const Notification& notification, bool failed)
{
    const std::vector<std::vector<std::string>> dialogs = {
        {"zenity", failed ? "--warning" : "--info", "--no-markup", "--title=" + notification.summary,
         "--text=" + notification.summary + "\n\n" + notification.body},
        {"kdialog", "--title", notification.summary, failed ? "--sorry" : "--msgbox", notification.body}};
    for (const auto& dialog : dialogs) {
        const auto shown = runProgram(dialog.front(), {dialog.begin() + 1, dialog.end()});
        if (shown && shown->exitStatus == 0)
            return true;
    }
    return false;
}

bool logged(const Notification& notification, std::string& logPath)
{
    const auto folder = stateFolder();
    std::string reason;
    if (!folder || !makeFolders(systemFileSystem(), *folder, reason))
        return false;
    FileSystem& fileSystem = systemFileSystem();
    logPath = *folder + kOutcomeLog;
    std::string text;
    if (readTextFile(fileSystem, logPath, text, SIZE_MAX) == TextFileRead::Unreadable)
        text.clear();
    char when[32] = "";
    const std::time_t now = std::time(nullptr);
    if (const std::tm* local = std::localtime(&now))
        std::strftime(when, sizeof when, "%Y-%m-%d %H:%M", local);
    text += std::string(when) + " " + notification.summary + "\n" + notification.body + "\n\n";
    if (text.size() > kOutcomeLogSize)
        text.erase(0, text.find("\n\n", text.size() - kOutcomeLogSize) + 2);
    return fileSystem.replaceFile(logPath, text) && fileSystem.replaceFile(*folder + kUnseenMark, "");
}

}  // namespace

OutcomeShown showOutcome(const Notification& notification, bool failed, std::string& logPath)
{
    if (showDesktopNotification(notification.summary, notification.body))
        return OutcomeShown::Notified;
    if (shownInDialog(notification, failed))
        return OutcomeShown::InDialog;
    return logged(notification, logPath) ? OutcomeShown::Logged : OutcomeShown::Nowhere;
}

std::optional<std::string> unseenOutcomeNote()
{
    const auto folder = stateFolder();
    if (!folder)
        return std::nullopt;
    FileSystem& fileSystem = systemFileSystem();
    if (fileSystem.kindOf(*folder + kUnseenMark) != EntryKind::RegularFile ||
        !fileSystem.removeFile(*folder + kUnseenMark))
        return std::nullopt;
    return "an install opened from the file manager could not show its outcome on the desktop (no notify-send, "
           "zenity or kdialog); it is in " +
           escapedText(*folder + kOutcomeLog);
}

}  // namespace kitloom::cli
