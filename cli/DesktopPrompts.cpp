#include "cli/DesktopPrompts.h"

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

}  // namespace

AskedGame askOnDesktop(const GameChoice& choice, const GameSearch& search)
{
    const bool several = choice.source == GameSource::Several;
    for (const char* program : {"zenity", "kdialog"}) {
        bool present = false;
        const auto folder = choose(program, search, several, present);
        if (!present)
            continue;
        if (!folder)
            return {AskedGame::Outcome::Stopped, {}};
        return {AskedGame::Outcome::Chosen, *folder};
    }
    return {AskedGame::Outcome::NoWayToAsk, {}};
}

}  // namespace kitloom::cli
