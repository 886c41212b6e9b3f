#include "cli/DoubleClick.h"

#include "jobs/LookJobs.h"
#include "platform/Environment.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "text/TerminalEscape.h"

#include <algorithm>

namespace kitloom::cli {

namespace {

constexpr const char* kAnotherFolder = "Another folder...";
constexpr const char* kChooserTitle = "Kitloom: choose Dunkmere's game folder, the one that holds saves";
constexpr const char* kListText =
    "Dunkmere was found in several places. Which game should Kitloom use, now and from now on?";
// Notification servers show a few short lines of a body; the rest is cut off unseen.
constexpr std::size_t kNotificationLines = 5;
constexpr std::size_t kNotificationLineLength = 160;
constexpr std::size_t kSavesNamed = 8;

struct Dialog {
    const char* program;
    std::vector<std::string> listArgs;    // followed by the rows
    std::vector<std::string> folderArgs;  // asks for a folder
};

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
std::optional<std::string> choose(const std::string& program, const GameSearch& search, bool several, bool& present)
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
    const std::string start = withClosingSeparator(environmentValue("HOME").value_or("/"));
    answer = zenity ? show(program, {"--file-selection", "--directory", std::string("--title=") + kChooserTitle,
                                     "--filename=" + start})
                    : show(program, {"--title", kChooserTitle, "--getexistingdirectory", start});
    present = answer.has_value();
    if (!answer || answer->exitStatus != 0 || answer->output.empty())
        return std::nullopt;
    return answer->output;
}

std::string cut(const std::string& line)
{
    return line.size() <= kNotificationLineLength ? line : line.substr(0, kNotificationLineLength - 3) + "...";
}

// "000, 001 and 002", naming the first few.
std::string saveList(const std::vector<std::string>& saves)
{
    std::string text;
    const std::size_t named = std::min(saves.size(), kSavesNamed);
    for (std::size_t i = 0; i < named; ++i)
        text += (i == 0 ? "" : i + 1 == saves.size() ? " and " : ", ") + saves[i];
    if (saves.size() > named)
        text += " and " + std::to_string(saves.size() - named) + " more";
    return text;
}

std::string saveName(const TableReport& table)
{
    const std::string folder = withoutClosingSeparator(folderOfPath(table.tablePath));
    return folder.substr(folderOfPath(folder).size());
}

}  // namespace

AskedGame askForGame(const CommandContext& context, const GameChoice& choice, const GameSearch& search, bool& cancelled)
{
    cancelled = false;
    const bool several = choice.source == GameSource::Several;
    for (const char* program : {"zenity", "kdialog"}) {
        bool present = false;
        const auto folder = choose(program, search, several, present);
        if (!present)
            continue;
        if (!folder) {
            cancelled = true;
            return {AskedGame::Outcome::Stopped, {}};
        }
        const std::string chosen = withClosingSeparator(*folder);
        const RememberResult kept = whereIsTheGame(context.fileSystem, {WhereAsk::Use, chosen}).remembered;
        if (kept == RememberResult::NoFolder || kept == RememberResult::NoSaves) {
            context.err << "ERROR: " << escapedText(*folder) << " holds no saves folder, so it is not the game folder"
                        << std::endl;
            return {AskedGame::Outcome::Stopped, {}};
        }
        if (kept == RememberResult::CannotWrite)
            context.err << "note: the choice could not be kept; it is used for this install only" << std::endl;
        return {AskedGame::Outcome::Chosen, chosen};
    }
    return {AskedGame::Outcome::NoWayToAsk, {}};
}

Notification installNotification(bool succeeded, const std::vector<std::string>& jerseys,
                                 const std::vector<TableReport>& tables, const std::vector<std::string>& lines)
{
    if (!succeeded) {
        std::string body;
        std::size_t shown = 0;
        for (const std::string& line : lines) {
            const bool told = line.rfind("ERROR: ", 0) == 0 || line.rfind("hint: ", 0) == 0 ||
                              (line.rfind("  ", 0) == 0 && shown > 0);
            if (!told || shown == kNotificationLines)
                continue;
            if (shown++ > 0)
                body += '\n';
            body += cut(line.rfind("ERROR: ", 0) == 0 ? line.substr(7) : line);
        }
        return {"Kitloom: install failed", body};
    }
    std::vector<std::string> added;
    std::vector<std::string> already;
    for (const TableReport& table : tables) {
        if (table.result == ResultCode::Appended)
            added.push_back(saveName(table));
        else if (table.result == ResultCode::AlreadyThere)
            already.push_back(saveName(table));
    }
    std::string body = saveList(jerseys);
    if (!added.empty())
        body += std::string(" added to ") + (added.size() == 1 ? "save " : "saves ") + saveList(added);
    if (!already.empty())
        body += std::string(added.empty() ? " already in " : "; already in ") +
                (already.size() == 1 ? "save " : "saves ") + saveList(already);
    return {"Kitloom: jersey installed", cut(body)};
}

}  // namespace kitloom::cli
