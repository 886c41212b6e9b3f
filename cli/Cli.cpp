#include "cli/Cli.h"

#include "cli/Commands.h"
#include "cli/DesktopPrompts.h"
#include "cli/JerseyOptions.h"
#include "patch/PatchFormat.h"
#include "platform/FileSystem.h"
#include "platform/SystemError.h"
#include "platform/TerminalText.h"
#include "text/AsciiCase.h"
#include "cli/WatchedOutput.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <map>

namespace kitloom {

namespace cli {

namespace {

// How each tone of a report line is printed.
struct TonePrint {
    Tone tone;
    const char* prefix;
    bool onErrorStream;
};
constexpr TonePrint kTonePrints[] = {
    {Tone::Line, "", false},      {Tone::Error, "ERROR: ", true}, {Tone::Success, "SUCCESS: ", false},
    {Tone::Note, "note: ", true}, {Tone::Hint, "hint: ", true},   {Tone::Listed, "  ", true},
};

const TonePrint& printOf(Tone tone)
{
    for (const TonePrint& print : kTonePrints) {
        if (print.tone == tone)
            return print;
    }
    return kTonePrints[0];
}

}  // namespace

const char* tonePrefix(Tone tone) { return printOf(tone).prefix; }

void TerminalMessages::say(const ReportLine& line)
{
    const TonePrint& print = printOf(line.tone);
    (print.onErrorStream ? err_ : out_) << print.prefix << line.text << std::endl;
    errors_ += line.tone == Tone::Error ? 1 : 0;
    if (transcript_)
        transcript_->push_back(line);
}

int CommandContext::usage(const std::string& problem) const
{
    err << "usage: " << problem << "; see 'kitloom-cli " << (command.empty() ? "" : command + " ") << "--help'"
        << std::endl;
    return kExitUsage;
}

std::optional<std::string> CommandContext::toTableText(std::string& text, const std::string& option) const
{
    if (hasControlCharacter(text))
        return option + ": a control character has no place in a team-gear table or a patch";
    std::string converted;
    std::string missing;
    if (!toCodePage1252(text, encoding, converted, missing))
        return option + ": names and years are stored in code page 1252, which has no \"" + missing + "\"";
    text = converted;
    return std::nullopt;
}

std::string CommandContext::shown(const std::string& bytes) const { return fromCodePage1252(bytes, encoding); }

CLI::App* addCommand(CLI::App& app, const char* name, const char* summary, const std::string& details)
{
    CLI::App* command = app.add_subcommand(name, summary);
    command->footer(details);
    return command;
}

CLI::Option* addSlotOption(CLI::App& command, std::string& slot, const char* help)
{
    return command.add_option("--slot", slot, help)->type_name("SLOT")->check(plainSaveFolder());
}

CLI::Option* addGameOption(CLI::App& command, std::string& game, const char* help)
{
    return command.add_option("--game", game, help)->type_name("DIR");
}

void addDryRunFlag(CLI::App& command, bool& dryRun)
{
    command.add_flag("--dry-run", dryRun, "tell what would change, and change nothing");
}

GamePolicy gamePolicy(const CLI::Option* gameOption, const std::string& game)
{
    GamePolicy policy;
    if (gameOption->count() > 0)
        policy.given = game;
    return policy;
}

std::unique_ptr<CLI::App> makeApp(std::map<std::string, CommandRun>& commands, std::string& helpTopic)
{
    auto app = std::make_unique<CLI::App>("kitloom-cli " KITLOOM_VERSION
                                          ": custom jerseys for Dunkmere's saved seasons, from a terminal.",
                                          "kitloom-cli");
    app->set_version_flag("--version", "kitloom-cli " KITLOOM_VERSION);
    app->require_subcommand(1);
    // An option given twice is a mistake, not a choice between two values.
    app->option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::Throw);
    app->get_formatter()->column_width(26);
    app->footer(std::string(gameSearchOrder()) +
                "\n\n'kitloom-cli PATCH.jer...' installs patches, as 'kitloom-cli install PATCH.jer...' does, and a\n"
                "zip archive or a folder of patches as readily.\n"
                "'kitloom-cli help COMMAND' describes a command.\n"
                "Exit status: 0 when every job succeeded, 1 when one failed (its ERROR line says why),\n"
                "2 for a mistake on the command line, which changes nothing, 130 after Ctrl-C.");

    commands["add"] = addAddCommand(*app);
    commands["make-patch"] = addMakePatchCommand(*app);
    commands["install"] = addInstallCommand(*app);
    commands["remove"] = addRemoveCommand(*app);
    commands["show"] = addShowCommand(*app);
    commands["pack"] = addPackCommand(*app);
    commands["list"] = addListCommand(*app);
    commands["where"] = addWhereCommand(*app);
    commands["history"] = addHistoryCommand(*app);
    commands["undo"] = addUndoCommand(*app);
    CLI::App* help = app->add_subcommand("help", "describe kitloom-cli, or one of its commands");
    help->add_option("command", helpTopic, "the command to describe");
    return app;
}

}  // namespace cli

int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    return runCli(args, out, err, systemFileSystem(), terminalEncoding());
}

namespace {

// True for a patch's name: a patch opened with the program ("Open with", a double-click)
// comes alone, without the command that installs it.
bool isPatchName(const std::string& arg)
{
    return arg.size() > std::string_view(patchformat::kExtension).size() &&
           endsWithIgnoringAsciiCase(arg, patchformat::kExtension);
}

int runCommand(std::vector<std::string> args, std::ostream& out, std::ostream& err, FileSystem& fileSystem,
               const std::string& terminalEncoding, int& savesChanged)
{
    using namespace cli;
    std::map<std::string, CommandRun> commands;
    std::string helpTopic;
    const std::unique_ptr<CLI::App> definition = makeApp(commands, helpTopic);
    // A download dropped onto the program, or opened with it, comes alone too: a zip or a
    // folder as readily as a patch.
    if (!args.empty() && commands.count(args.front()) == 0 && args.front() != "help" &&
        (isPatchName(args.front()) || endsWithIgnoringAsciiCase(args.front(), ".zip") ||
         (!args.front().empty() && args.front().front() != '-' && fileSystem.exists(args.front()))))
        args.insert(args.begin(), "install");
    CLI::App& app = *definition;

    // Every mistake on the command line, whatever the parser calls it, is exit status 2.
    CommandContext context{out, err, fileSystem, terminalEncoding, "", savesChanged};
    if (!args.empty() && !args.front().empty() && args.front().front() != '-' && commands.count(args.front()) == 0 &&
        args.front() != "help")
        return context.usage("no command is called \"" + args.front() + "\"");
    // Nothing asked: the help, which says what can be asked; still a mistake for a script.
    if (args.empty()) {
        out << app.get_formatter()->make_help(&app, "kitloom-cli", CLI::AppFormatMode::Normal);
        return kExitUsage;
    }
    try {
        // CLI11's vector form wants the arguments last first, since it pops them from the
        // back, and no program name (unlike parse(argc, argv)); it consumes the copy.
        app.parse(std::vector<std::string>(args.rbegin(), args.rend()));
    } catch (const CLI::ParseError& error) {
        if (error.get_exit_code() == static_cast<int>(CLI::ExitCodes::Success))
            return app.exit(error, out, err);  // --help or --version
        if (app.get_subcommands().empty())
            return context.usage(error.what());
        const CLI::App* command = app.get_subcommands().front();
        context.command = command->get_name();
        // The parser names a missing argument by its variable; a player knows it by what it is.
        if (dynamic_cast<const CLI::RequiredError*>(&error)) {
            for (const CLI::Option* option : command->get_options()) {
                if (option->get_positional() && option->get_required() && option->count() == 0)
                    return context.usage(option->get_type_name() + " is missing: " + option->get_description());
            }
        }
        return context.usage(error.what());
    }

    const std::string chosen = app.get_subcommands().front()->get_name();
    if (chosen == "help") {
        if (helpTopic.empty()) {
            // app.help() would describe the help command itself, the one chosen.
            out << app.get_formatter()->make_help(&app, "kitloom-cli", CLI::AppFormatMode::Normal);
            return kExitSuccess;
        }
        if (helpTopic == "help") {
            out << "kitloom-cli help describes kitloom-cli and its commands; 'kitloom-cli help COMMAND' describes one "
                   "command, as 'kitloom-cli COMMAND --help' does.\n";
            return kExitSuccess;
        }
        if (commands.count(helpTopic) == 0)
            return context.usage("no command is called \"" + helpTopic + "\"");
        out << app.get_subcommand(helpTopic)->help("kitloom-cli");
        return kExitSuccess;
    }
    context.command = chosen;
    context.args = &args;
#ifndef _WIN32
    // An install from the file manager that could not show its outcome left it in the log:
    // the next command from a terminal says so, once.
    if (std::find(args.begin(), args.end(), "--notify") == args.end()) {
        if (const auto note = unseenOutcomeNote())
            err << "note: " << *note << std::endl;
    }
#endif
    return commands.at(chosen)(context);
}

}  // namespace

int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, FileSystem& fileSystem,
           const std::string& terminalEncoding)
{
    WatchedOutput watched(*out.rdbuf());
    std::ostream watchedOut(&watched);
    int savesChanged = 0;
    const int status = runCommand(args, watchedOut, err, fileSystem, terminalEncoding, savesChanged);
    // What was printed is part of the job: a report that never reached its reader (a full
    // disk, a closed output) fails it, and what it would have told is told here instead.
    if (watchedOut.flush() && !watched.failed())
        return status;
    err << "ERROR: The output could not be written" << (watched.reason().empty() ? "" : ": " + watched.reason()) << "; "
        << (savesChanged == 0 ? std::string("no save was changed")
                              : std::to_string(savesChanged) + (savesChanged == 1 ? " save was" : " saves were") +
                                    " changed all the same")
        << std::endl;
    return status == kExitSuccess ? kExitFailure : status;
}

}  // namespace kitloom
