#include "cli/JerseyOptions.h"

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

struct TextOption {
    std::string_view name;
    std::string JerseyForm::*field;
};

constexpr TextOption kTextOptions[] = {
    {"--team", &JerseyForm::teamNumber}, {"--name", &JerseyForm::jerseyName}, {"--year", &JerseyForm::year}};

std::string lowered(std::string text)
{
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
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

std::vector<OptionSpec> jerseyOptionSpecs()
{
    std::vector<OptionSpec> specs;
    for (const TextOption& option : kTextOptions)
        specs.push_back({option.name});
    for (const ListOption& option : kListOptions)
        specs.push_back({option.name});
    return specs;
}

std::string jerseyOptionsHelp()
{
    std::string help =
        "  --team N           Team Number: 1 or 2 digits\n"
        "  --name NAME        Jersey Name: 4 characters\n"
        "  --year YEAR        Year: 7 characters, eg 1998-99\n";
    for (const ListOption& option : kListOptions) {
        std::string line = "  " + std::string(option.name) + " VALUE";
        line.resize(21, ' ');
        line += listTitle(option.list);
        line += ": ";
        if (option.list == JerseyList::Shoe) {
            line += "0 to " + std::to_string(rowCount(option.list) - 1);
        } else {
            for (int row = 0; row < rowCount(option.list); ++row) {
                std::string entry = (row > 0 ? ", " : "") + std::to_string(row) + " " + rowLabel(option.list, row);
                // Wrapped under the list's first entry, for an 80-column terminal.
                const std::size_t lineStart = line.rfind('\n') == std::string::npos ? 0 : line.rfind('\n') + 1;
                if (line.size() - lineStart + entry.size() > 79) {
                    line += ",\n" + std::string(23, ' ');
                    entry.erase(0, 2);
                }
                line += entry;
            }
        }
        help += line + " (default: " + rowLabel(option.list, initialRow(option.list)) + ")\n";
    }
    help += "A list VALUE is a row number, a label in any case, or the beginning of just one label.\n";
    return help;
}

bool fillJerseyForm(const ParsedArguments& args, JerseyForm& form, std::string& problem)
{
    for (const TextOption& option : kTextOptions)
        form.*option.field = args.value(option.name).value_or("");
    if (!isDigits(form.teamNumber)) {
        problem = "--team takes digits only";
        return false;
    }
    for (const ListOption& option : kListOptions) {
        std::optional<std::string> value = args.value(option.name);
        if (value && !matchRow(option.list, *value, form.row(option.list), problem)) {
            problem = std::string(option.name) + ": " + problem;
            return false;
        }
    }
    return true;
}

}  // namespace kitloom::cli
