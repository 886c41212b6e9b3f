#include "cli/JerseyOptions.h"

#include "patch/PatchFormat.h"
#include "platform/TerminalText.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <charconv>

namespace kitloom::cli {

namespace {

struct ListOption {
    std::string_view name;
    JerseyList list;
};

constexpr ListOption kListOptions[] = {
    {"--type", JerseyList::JerseyType},
    {"--accessory", JerseyList::AccessoryColour},
    {"--shoe", JerseyList::Shoe},
    {"--sock", JerseyList::SockColour},
    {"--neck", JerseyList::NeckType},
    {"--lettering", JerseyList::LetteringType}};

std::string lowered(std::string text)
{
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

std::string listOptionHelp(JerseyList list)
{
    std::string help = std::string(listTitle(list)) + ": ";
    std::size_t lineStart = 0;
    if (list == JerseyList::Shoe) {
        help += "0 to " + std::to_string(rowCount(list) - 1);
    } else {
        // Wrapped for an 80-column terminal: the help's second column is 52 wide.
        for (int row = 0; row < rowCount(list); ++row) {
            const std::string entry = std::to_string(row) + " " + rowLabel(list, row);
            if (row > 0 && help.size() - lineStart + entry.size() + 2 > 52) {
                help += ",\n";
                lineStart = help.size();
            } else if (row > 0) {
                help += ", ";
            }
            help += entry;
        }
    }
    const std::string fallback = "(default: " + rowLabel(list, initialRow(list)) + ")";
    return help + (help.size() - lineStart + fallback.size() + 1 > 52 ? "\n" : " ") + fallback;
}

}  // namespace

bool isDigits(const std::string& text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string labelOfCode(JerseyList list, long long code, int offset)
{
    const long long row = code - offset;
    if (row < 0 || row >= rowCount(list))
        return {};
    return rowLabel(list, static_cast<int>(row));
}

bool matchRow(JerseyList list, const std::string& value, int& row, std::string& problem)
{
    const int rows = rowCount(list);
    if (!value.empty() && isDigits(value)) {
        int number = 0;
        auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
        if (error == std::errc() && end == value.data() + value.size() && number < rows) {
            row = number;
            return true;
        }
        problem = std::string(listTitle(list)) + " has rows 0 to " + std::to_string(rows - 1) + ", not " + value;
        return false;
    }

    const std::string wanted = lowered(value);
    std::vector<int> starts;
    for (int candidate = 0; candidate < rows && !wanted.empty(); ++candidate) {
        const std::string label = lowered(rowLabel(list, candidate));
        if (label == wanted) {
            row = candidate;
            return true;
        }
        if (label.compare(0, wanted.size(), wanted) == 0)
            starts.push_back(candidate);
    }
    if (starts.size() == 1) {
        row = starts.front();
        return true;
    }
    if (starts.empty()) {
        problem = "no " + std::string(listTitle(list)) + " is called \"" + value + "\"";
    } else {
        problem = "\"" + value + "\" could be";
        for (std::size_t i = 0; i < starts.size(); ++i)
            problem += (i == 0 ? " " : i + 1 == starts.size() ? " or " : ", ") + rowLabel(list, starts[i]);
    }
    return false;
}


CLI::Validator digitsOnly()
{
    return CLI::Validator(
        [](std::string& value) -> std::string { return isDigits(value) ? std::string() : "digits only, not " + value; },
        "");
}

CLI::Validator codePage1252Text(const std::string& encoding)
{
    return CLI::Validator(
        [encoding](std::string& value) -> std::string {
            std::string converted;
            std::string missing;
            if (!toCodePage1252(value, encoding, converted, missing))
                return "names and years are stored in code page 1252, which has no \"" + missing + "\"";
            value = converted;
            return {};
        },
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
        "");
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

void addJerseyOptions(CLI::App& command, JerseyForm& form, const std::string& encoding)
{
    command.add_option("--team", form.teamNumber, "Team Number: 1 or 2 digits")->type_name("N")->check(digitsOnly());
    command.add_option("--name", form.jerseyName, "Jersey Name: 4 characters")
        ->type_name("NAME")
        ->transform(codePage1252Text(encoding));
    command.add_option("--year", form.year, "Year: 7 characters, eg 1998-99")
        ->type_name("YEAR")
        ->transform(codePage1252Text(encoding));
    for (const ListOption& option : kListOptions)
        command.add_option(std::string(option.name), form.row(option.list), listOptionHelp(option.list))
            ->type_name("VALUE")
            ->transform(listRow(option.list));
}

}  // namespace kitloom::cli
