#include "cli/JerseyOptions.h"

#include "cli/CommandContext.h"
#include "core/Digits.h"
#include "core/GamePaths.h"

#include <CLI/CLI.hpp>

namespace kitloom::cli {

namespace {

struct ListOption {
    std::string_view name;
    JerseyList list;
};

constexpr ListOption kListOptions[] = {
    {"--type", JerseyList::JerseyType}, {"--accessory", JerseyList::AccessoryColour},
    {"--shoe", JerseyList::Shoe},       {"--sock", JerseyList::SockColour},
    {"--neck", JerseyList::NeckType},   {"--lettering", JerseyList::LetteringType}};

// Wrapped for an 80-column terminal: the help's second column is 52 wide.
constexpr std::size_t kHelpWidth = 52;

std::string listOptionHelp(JerseyList list)
{
    std::string help = std::string(listTitle(list)) + ": ";
    std::size_t lineStart = 0;
    if (list == JerseyList::Shoe) {
        help += "0 to " + std::to_string(rowCount(list) - 1);
    } else {
        for (int row = 0; row < rowCount(list); ++row) {
            const std::string entry = std::to_string(row) + " " + rowLabel(list, row);
            if (row > 0 && help.size() - lineStart + entry.size() + 2 > kHelpWidth) {
                help += ",\n";
                lineStart = help.size();
            } else if (row > 0) {
                help += ", ";
            }
            help += entry;
        }
    }
    const std::string fallback = "(default: " + rowLabel(list, initialRow(list)) + ")";
    return help + (help.size() - lineStart + fallback.size() + 1 > kHelpWidth ? "\n" : " ") + fallback;
}

}  // namespace

bool matchRow(JerseyList list, const std::string& value, int& row, std::string& problem)
{
    const RowMatch match = findRow(list, value);
    if (match.row) {
        row = *match.row;
        return true;
    }
    if (isNumeral(value)) {
        problem = std::string(listTitle(list)) + " has rows 0 to " + std::to_string(rowCount(list) - 1) + ", not " +
                  value;
    } else if (match.candidates.empty()) {
        problem = "no " + std::string(listTitle(list)) + " is called \"" + value + "\"; the choices are ";
        for (int choice = 0; choice < rowCount(list); ++choice)
            problem += (choice == 0                    ? ""
                        : choice + 1 == rowCount(list) ? " and "
                                                       : ", ") +
                       std::to_string(choice) + " " + rowLabel(list, choice);
    } else {
        problem = "\"" + value + "\" could be";
        for (std::size_t i = 0; i < match.candidates.size(); ++i)
            problem += (i == 0                             ? " "
                        : i + 1 == match.candidates.size() ? " or "
                                                           : ", ") +
                       rowLabel(list, match.candidates[i]);
    }
    return false;
}

CLI::Validator digitsOnly()
{
    return CLI::Validator(
        [](std::string& value) -> std::string { return isDigits(value) ? std::string() : "digits only, not " + value; },
        "");
}

CLI::Validator listRow(JerseyList list)
{
    return CLI::Validator(
        [list](std::string& value) -> std::string {
            int row = 0;
            std::string problem;
            if (!matchRow(list, value, row, problem))
                return problem;
            value = std::to_string(row);
            return {};
        },
        "", listTitle(list));
}

CLI::Validator plainSaveFolder()
{
    return CLI::Validator(
        [](std::string& value) -> std::string {
            if (value.empty())
                return "a save folder's name, not nothing (without --slot: every numbered save)";
            return isPlainName(value) ? std::string() : "the name of a folder under saves, not a path";
        },
        "");
}

void addJerseyOptions(CLI::App& command, JerseyForm& form)
{
    command
        .add_option("--team", form.teamNumber, "Team Number: 1 or " + std::to_string(kTeamNumberDigits) + " digits")
        ->type_name("N")
        ->check(digitsOnly());
    command.add_option("--name", form.jerseyName, "Jersey Name: " + std::to_string(kJerseyNameLength) + " characters")
        ->type_name("NAME");
    command.add_option("--year", form.year, "Year: " + std::to_string(kYearLength) + " characters, eg 1998-99")
        ->type_name("YEAR");
    for (const ListOption& option : kListOptions)
        command.add_option(std::string(option.name), form.row(option.list), listOptionHelp(option.list))
            ->type_name("VALUE")
            ->transform(listRow(option.list));
}

namespace {

struct FieldOption {
    FormField field;
    const char* option;
};
constexpr FieldOption kFieldOptions[] = {
    {FormField::SaveSlot, "--slot"}, {FormField::TeamNumber, "--team"}, {FormField::JerseyName, "--name"},
    {FormField::Year, "--year"},     {FormField::Prefix, "--prefix"},   {FormField::FileStem, "--file"},
};

}  // namespace

const char* optionOf(FormField field)
{
    for (const FieldOption& named : kFieldOptions) {
        if (named.field == field)
            return named.option;
    }
    return "";
}

std::string refusalText(const FormProblem& problem)
{
    // The prefix is judged with the Jersey Name, which the images are named after too.
    const char* with = problem.field == FormField::Prefix ? " (with --name, the images' names)" : "";
    return std::string(optionOf(problem.field)) + with + ": " + systemMessage(problem.message).text;
}

std::optional<std::string> toTableTexts(JerseyForm& form, const CommandContext& context)
{
    if (auto problem = context.toTableText(form.jerseyName, optionOf(FormField::JerseyName)))
        return problem;
    return context.toTableText(form.year, optionOf(FormField::Year));
}

}  // namespace kitloom::cli
