// kitloom-cli-reference: what the packages make from kitloom-cli's own command-line definition
// when they are built, so that none of it can drift from what the program takes and says.
//
//   kitloom-cli-reference bash|zsh|fish FILE   writes the completion script for that shell
//   kitloom-cli-reference --help               every help kitloom-cli prints, for help2man
//   kitloom-cli-reference --version            kitloom-cli's version line, for help2man
#include "cli/Cli.h"
#include "cli/Commands.h"
#include "core/JerseyLists.h"

#include <CLI/CLI.hpp>

#include <fstream>
#include <iostream>
#include <map>
#include <sstream>

namespace {

using namespace kitloom;

// What a shell offers for the value of an option, or for a positional argument.
enum class Offer { Nothing, Words, Patches, Tables, Folders };

struct Argument {
    std::vector<std::string> names;  // "-h", "--help"; none for a positional
    std::string help;                // one line
    std::string valueName;           // SLOT, DIR, PATCH: what the help calls its value
    bool takesValue = false;
    bool required = false;
    bool repeats = false;
    Offer offer = Offer::Nothing;
    std::vector<std::string> words;
};

struct Command {
    std::string name;
    std::string summary;
    std::vector<Argument> options;
    std::vector<Argument> positionals;
};

// The list whose row a value names: the option's list check is named by the list's title.
const JerseyList* listOf(CLI::Option& option)
{
    for (const JerseyList& list : kAllJerseyLists) {
        try {
            option.get_validator(listTitle(list));
            return &list;
        } catch (const CLI::OptionNotFound&) {
        }
    }
    return nullptr;
}

std::string firstLine(const std::string& text) { return text.substr(0, text.find('\n')); }

Argument argumentOf(CLI::Option& option, const std::vector<std::string>& commandNames)
{
    Argument argument;
    for (const std::string& name : option.get_snames())
        argument.names.push_back("-" + name);
    for (const std::string& name : option.get_lnames())
        argument.names.push_back("--" + name);
    argument.help = firstLine(option.get_description());
    argument.takesValue = option.get_items_expected_max() > 0;
    argument.required = option.get_required();
    argument.repeats = option.get_items_expected_max() > 1;
    const std::string type = option.get_type_name();
    argument.valueName = type;
    if (const JerseyList* list = listOf(option)) {
        argument.offer = Offer::Words;
        for (int row = 0; row < rowCount(*list); ++row)
            argument.words.push_back(rowLabel(*list, row));
        // The help goes on to list the rows, which are offered themselves.
        const std::string title = listTitle(*list);
        if (argument.help.rfind(title + ":", 0) == 0)
            argument.help = title;
    } else if (option.get_positional() && option.get_name() == "command") {
        argument.offer = Offer::Words;
        argument.words = commandNames;
    } else if (type == "PATCH") {
        argument.offer = Offer::Patches;
    } else if (type == "TABLE") {
        argument.offer = Offer::Tables;
    } else if (type == "DIR") {
        argument.offer = Offer::Folders;
    }
    return argument;
}

struct Definition {
    Command top;  // the program's own options; its positionals stay empty
    std::vector<Command> commands;
};

Definition definitionOf(CLI::App& app)
{
    Definition definition;
    const auto all = [](CLI::App*) { return true; };
    std::vector<std::string> names;
    for (CLI::App* command : app.get_subcommands(all))
        names.push_back(command->get_name());
    for (CLI::Option* option : app.get_options())
        definition.top.options.push_back(argumentOf(*option, names));
    for (CLI::App* sub : app.get_subcommands(all)) {
        Command command{sub->get_name(), sub->get_description(), {}, {}};
        for (CLI::Option* option : sub->get_options()) {
            Argument argument = argumentOf(*option, names);
            (option->get_positional() ? command.positionals : command.options).push_back(argument);
        }
        definition.commands.push_back(command);
    }
    return definition;
}

std::string joined(const std::vector<std::string>& words)
{
    std::string text;
    for (const std::string& word : words)
        text += (text.empty() ? "" : " ") + word;
    return text;
}

std::string replaced(std::string text, const std::string& from, const std::string& to)
{
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

// --- bash -----------------------------------------------------------------------------------

std::string bashQuoted(const std::string& text) { return "'" + replaced(text, "'", "'\\''") + "'"; }

std::vector<std::string> bashQuoted(const std::vector<std::string>& words)
{
    std::vector<std::string> quoted;
    for (const std::string& word : words)
        quoted.push_back(bashQuoted(word));
    return quoted;
}

std::vector<std::string> allNames(const std::vector<Argument>& options)
{
    std::vector<std::string> names;
    for (const Argument& option : options)
        names.insert(names.end(), option.names.begin(), option.names.end());
    return names;
}

// What bash offers for `argument`'s value, the word being completed in $cur.
std::string bashOffer(const Argument& argument)
{
    switch (argument.offer) {
    case Offer::Words:
        return "_kitloom_cli_words \"$cur\" " + joined(bashQuoted(argument.words));
    case Offer::Patches:
        return "_kitloom_cli_files \"$cur\" '*.[jJ][eE][rR]'";
    case Offer::Tables:
        return "_kitloom_cli_files \"$cur\" '*.[dD][bB][fF]'";
    case Offer::Folders:
        return "_kitloom_cli_files \"$cur\" ''";
    case Offer::Nothing:
        break;
    }
    return "";
}

// The helpers every command's case calls: the same whatever the definition.
constexpr const char* kBashHelpers =
    R"sh(# bash completion for kitloom-cli, made from its command-line definition when it was built.

# The word being completed ($1) as the program will get it: no opening quote, no escapes.
_kitloom_cli_unquoted() {
    local word=${1#[\"\']}
    printf '%s' "${word//\\/}"
}

# Those of the words after $1 that begin with the word being completed ($1), in any case,
# each quoted for the command line: a list value may hold spaces and brackets.
_kitloom_cli_words() {
    local typed word
    typed=$(_kitloom_cli_unquoted "$1")
    shift
    COMPREPLY=()
    for word; do
        if [[ ${word,,} == "${typed,,}"* ]]; then
            COMPREPLY+=("$(printf '%q' "$word")")
        fi
    done
}

# The options after $1 that are not on the line yet: each may be given once.
_kitloom_cli_options() {
    local typed=$1 option word
    local -a unused=()
    shift
    for option; do
        for word in "${COMP_WORDS[@]:1:COMP_CWORD-1}"; do
            [[ $word == "$option" ]] && continue 2
        done
        unused+=("$option")
    done
    _kitloom_cli_words "$typed" "${unused[@]}"
}

# Folders, and the files whose names match the pattern $2 (none when it is empty).
_kitloom_cli_files() {
    local typed
    typed=$(_kitloom_cli_unquoted "$1")
    compopt -o filenames 2>/dev/null
    mapfile -t COMPREPLY < <(compgen -d -- "$typed")
    if [[ -n $2 ]]; then
        mapfile -t -O "${#COMPREPLY[@]}" COMPREPLY < <(compgen -f -X "!$2" -- "$typed")
    fi
}

_kitloom_cli() {
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]} command= i
    # bash splits --option=VALUE at the equals sign.
    if [[ $cur == = ]]; then
        cur=
    elif [[ $prev == = ]]; then
        prev=${COMP_WORDS[COMP_CWORD-2]}
    fi
    # The program's own options are flags, so its first other word is the command.
    for ((i = 1; i < COMP_CWORD; i++)); do
        if [[ ${COMP_WORDS[i]} != -* ]]; then
            command=${COMP_WORDS[i]}
            break
        fi
    done
    case $command in
)sh";

// `names` as the pattern of a bash case: --a | --b.
std::string bashPattern(const std::vector<std::string>& names) { return replaced(joined(names), " ", " | "); }

void writeBash(std::ostream& out, const Definition& definition)
{
    std::vector<std::string> commandNames;
    for (const Command& command : definition.commands)
        commandNames.push_back(command.name);
    out << kBashHelpers;
    out << "    '')\n"
           "        if [[ $cur == -* ]]; then\n"
           "            _kitloom_cli_options \"$cur\" "
        << joined(allNames(definition.top.options))
        << "\n        else\n"
           "            _kitloom_cli_words \"$cur\" "
        << joined(commandNames) << "\n        fi\n        ;;\n";
    for (const Command& command : definition.commands) {
        out << "    " << command.name << ")\n";
        std::vector<std::string> typedFreely;
        std::string offers;
        for (const Argument& option : command.options) {
            if (!option.takesValue)
                continue;
            const std::string offer = bashOffer(option);
            if (offer.empty())
                typedFreely.insert(typedFreely.end(), option.names.begin(), option.names.end());
            else
                offers += "        " + bashPattern(option.names) + ")\n            " + offer +
                          "\n            return\n            ;;\n";
        }
        if (!typedFreely.empty() || !offers.empty()) {
            out << "        case $prev in\n" << offers;
            if (!typedFreely.empty())
                out << "        " << bashPattern(typedFreely) << ")\n            return # a value typed freely\n"
                    << "            ;;\n";
            out << "        esac\n";
        }
        const std::string options = "_kitloom_cli_options \"$cur\" " + joined(allNames(command.options));
        const std::string positional = command.positionals.empty() ? "" : bashOffer(command.positionals.front());
        if (positional.empty())
            out << "        " << options << "\n";
        else
            out << "        if [[ $cur == -* ]]; then\n            " << options << "\n        else\n            "
                << positional << "\n        fi\n";
        out << "        ;;\n";
    }
    out << "    esac\n}\n\ncomplete -F _kitloom_cli kitloom-cli\n";
}

// --- zsh ------------------------------------------------------------------------------------

std::string zshQuoted(const std::string& text) { return "'" + replaced(text, "'", "'\\''") + "'"; }

// Text inside an _arguments description in [brackets], or a message between colons.
std::string zshSpecText(const std::string& text)
{
    std::string escaped;
    for (char c : text) {
        if (c == '[' || c == ']' || c == ':' || c == '\\')
            escaped += '\\';
        escaped += c;
    }
    return escaped;
}

// A word in an _arguments list of (words): spaces and brackets behind a backslash.
std::string zshWord(const std::string& word)
{
    std::string escaped;
    for (char c : word) {
        if (c == ' ' || c == '(' || c == ')' || c == '\\' || c == ':' || c == '"')
            escaped += '\\';
        escaped += c;
    }
    return escaped;
}

std::string zshAction(const Argument& argument)
{
    switch (argument.offer) {
    case Offer::Words: {
        std::vector<std::string> words;
        for (const std::string& word : argument.words)
            words.push_back(zshWord(word));
        return "(" + joined(words) + ")";
    }
    case Offer::Patches:
        return "_files -g \"*.(#i)jer(-.)\"";
    case Offer::Tables:
        return "_files -g \"*.(#i)dbf(-.)\"";
    case Offer::Folders:
        return "_files -/";
    case Offer::Nothing:
        break;
    }
    return "";
}

std::vector<std::string> zshSpecs(const Command& command)
{
    std::vector<std::string> specs;
    for (const Argument& option : command.options) {
        for (const std::string& name : option.names) {
            std::string spec = name;
            if (option.takesValue)
                spec += "=";
            spec += "[" + zshSpecText(option.help) + "]";
            if (option.takesValue)
                spec += ":" + zshSpecText(option.valueName) + ":" + zshAction(option);
            specs.push_back(zshQuoted(spec));
        }
    }
    for (const Argument& positional : command.positionals) {
        const std::string count = positional.repeats ? "*:" : positional.required ? ":" : "::";
        specs.push_back(zshQuoted(count + zshSpecText(positional.valueName) + ":" + zshAction(positional)));
    }
    return specs;
}

void writeZsh(std::ostream& out, const Definition& definition)
{
    out << R"sh(#compdef kitloom-cli
# zsh completion for kitloom-cli, made from its command-line definition when it was built.

_kitloom-cli() {
    local curcontext=$curcontext state state_descr line ret=1
    typeset -A opt_args
    _arguments -C \
)sh";
    for (const std::string& spec : zshSpecs(definition.top))
        out << "        " << spec << " \\\n";
    out << R"sh(        ': :->command' \
        '*:: :->argument' && ret=0
    case $state in
    command)
        local -a commands
        commands=(
)sh";
    for (const Command& command : definition.commands)
        out << "            " << zshQuoted(replaced(command.name, ":", "\\:") + ":" + command.summary) << "\n";
    out << R"sh(        )
        _describe -t commands 'kitloom-cli command' commands && ret=0
        ;;
    argument)
        curcontext=${curcontext%:*:*}:kitloom-cli-$words[1]:
        case $words[1] in
)sh";
    for (const Command& command : definition.commands) {
        out << "        " << command.name << ")\n            _arguments";
        for (const std::string& spec : zshSpecs(command))
            out << " \\\n                " << spec;
        out << " && ret=0\n            ;;\n";
    }
    out << R"sh(        esac
        ;;
    esac
    return ret
}

_kitloom-cli "$@"
)sh";
}

// --- fish -----------------------------------------------------------------------------------

std::string fishQuoted(const std::string& text)
{
    return "'" + replaced(replaced(text, "\\", "\\\\"), "'", "\\'") + "'";
}

// The -a argument for `argument`: a list of words that fish splits itself, or a function.
std::string fishArguments(const Argument& argument)
{
    switch (argument.offer) {
    case Offer::Words: {
        std::string words;
        for (const std::string& word : argument.words)
            words += (words.empty() ? "" : " ") + fishQuoted(word);
        return "\"" + replaced(replaced(replaced(words, "\\", "\\\\"), "\"", "\\\""), "$", "\\$") + "\"";
    }
    case Offer::Patches:
        return "'(__kitloom_cli_files .jer)'";
    case Offer::Tables:
        return "'(__kitloom_cli_files .dbf)'";
    case Offer::Folders:
        return "'(__fish_complete_directories)'";
    case Offer::Nothing:
        break;
    }
    return "";
}

void writeFishOptions(std::ostream& out, const std::string& condition, const std::vector<Argument>& options)
{
    for (const Argument& option : options) {
        out << "complete -c kitloom-cli -n " << condition;
        for (const std::string& name : option.names)
            out << (name.rfind("--", 0) == 0 ? " -l " + name.substr(2) : " -s " + name.substr(1));
        if (option.takesValue) {
            out << " -x";
            const std::string arguments = fishArguments(option);
            if (!arguments.empty())
                out << " -a " << arguments;
        }
        out << " -d " << fishQuoted(option.help) << "\n";
    }
}

void writeFish(std::ostream& out, const Definition& definition)
{
    out << "# fish completion for kitloom-cli, made from its command-line definition when it was built.\n\n"
           "# Folders, and the files whose names end in $suffix in any case (fish's own\n"
           "# __fish_complete_suffix offers every other file too).\n"
           "function __kitloom_cli_files --argument-names suffix\n"
           "    set -l pattern (string escape --style=regex -- $suffix)\n"
           "    __fish_complete_suffix $suffix | string match -ri -- \"^.*(?:/|$pattern)\\$\"\n"
           "end\n\n"
           "# No file names but where an option or a command takes them.\n"
           "complete -c kitloom-cli -f\n";
    writeFishOptions(out, "__fish_use_subcommand", definition.top.options);
    for (const Command& command : definition.commands)
        out << "complete -c kitloom-cli -n __fish_use_subcommand -a " << command.name << " -d "
            << fishQuoted(command.summary) << "\n";
    for (const Command& command : definition.commands) {
        const std::string condition = fishQuoted("__fish_seen_subcommand_from " + command.name);
        out << "\n";
        writeFishOptions(out, condition, command.options);
        for (const Argument& positional : command.positionals) {
            const std::string arguments = fishArguments(positional);
            if (!arguments.empty())
                out << "complete -c kitloom-cli -n " << condition << " -a " << arguments << "\n";
        }
    }
}

// --- help -----------------------------------------------------------------------------------

// What kitloom-cli itself prints for `args`; its help is the man page's text.
std::string cliOutput(const std::vector<std::string>& args)
{
    std::ostringstream out;
    std::ostringstream err;
    if (runCli(args, out, err) != kExitSuccess)
        throw std::runtime_error("kitloom-cli failed: " + err.str());
    return out.str();
}

// kitloom-cli's help, then each command's as a part of its own, the way help2man reads them:
// under a "*Commands*" line, a command's usage line ending in a colon heads its options and
// details. The summary, already in the list of commands, and the headings that would start a
// section of their own ("Options:") are left out, and so is each command's --help. The man
// page says what help itself does.
void writeHelp(std::ostream& out, const Definition& definition)
{
    out << cliOutput({"--help"}) << "\n*Commands*\n";
    for (const Command& command : definition.commands) {
        if (command.name == "help")
            continue;
        std::istringstream help(cliOutput({command.name, "--help"}));
        std::string line;
        std::getline(help, line);  // the summary
        bool headed = false;       // the heading must be followed by an indented line
        while (std::getline(help, line)) {
            if (line.rfind("Usage: ", 0) == 0) {
                out << "\n" << line.substr(7) << ":\n";
                headed = true;
                continue;
            }
            const bool leftOut = line == "Options:" || line == "Positionals:" || line.rfind("  -h,--help ", 0) == 0 ||
                                 (line.empty() && headed);
            if (!leftOut) {
                out << line << "\n";
                headed = false;
            }
        }
    }
}

}  // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    std::map<std::string, cli::CommandRun> runs;
    std::string helpTopic;
    const std::unique_ptr<CLI::App> app = cli::makeApp(runs, helpTopic);
    const Definition definition = definitionOf(*app);
    const std::map<std::string, void (*)(std::ostream&, const Definition&)> scripts = {
        {"bash", writeBash}, {"zsh", writeZsh}, {"fish", writeFish}};
    try {
        if (args.size() == 2 && scripts.count(args[0]) != 0) {
            std::ofstream file(args[1], std::ios::binary);
            scripts.at(args[0])(file, definition);
            if (!file.flush())
                throw std::runtime_error("could not write " + args[1]);
        } else if (args.size() == 1 && args[0] == "--help") {
            writeHelp(std::cout, definition);
        } else if (args.size() == 1 && args[0] == "--version") {
            std::cout << cliOutput({"--version"});
        } else {
            std::cerr << "usage: kitloom-cli-reference bash|zsh|fish FILE, or --help, or --version\n";
            return 2;
        }
    } catch (const std::exception& error) {
        std::cerr << "kitloom-cli-reference: " << error.what() << "\n";
        return 1;
    }
    return std::cout.flush() ? 0 : 1;
}
