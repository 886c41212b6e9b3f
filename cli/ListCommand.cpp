// list: the records of a team-gear table, decoded by the positions the installer writes.
#include "cli/Commands.h"
#include "cli/JerseyOptions.h"
#include "cli/TextEscape.h"
#include "core/GamePaths.h"
#include "core/JerseyLists.h"
#include "core/TeamGearFile.h"
#include "core/TeamGearTable.h"
#include "patch/PatchFormat.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"

#include <charconv>
#include <optional>

namespace kitloom::cli {

namespace {

using namespace teamgear;

struct FieldColumn {
    const char* key;
    Field field;
    bool numeric;  // decimal text, shown without the spaces and zero bytes around it
    std::optional<JerseyList> list;
    int offset = 0;  // code = row + offset
};

// The shoe code has no label: the table holds row + 1 after Go! and row + 2 after a patch.
const FieldColumn kColumns[] = {
    {"record", kRecordNumberField, true, std::nullopt},
    {"team", kTeamNumberField, true, std::nullopt},
    {"type", kJerseyTypeField, true, JerseyList::JerseyType},
    {"name", kJerseyNameField, false, std::nullopt},
    {"year", kYearField, false, std::nullopt},
    {"accessory", kAccessoryColourField, true, JerseyList::AccessoryColour, kAccessoryColourCodeOffset},
    {"shoe", kShoeField, true, std::nullopt},
    {"sock", kSockColourField, true, JerseyList::SockColour},
    {"neck", kNeckTypeField, true, JerseyList::NeckType},
    {"lettering", kLetteringTypeField, true, JerseyList::LetteringType},
};

std::string_view fieldText(const TeamGearRecord& record, const FieldColumn& column)
{
    std::string_view text(reinterpret_cast<const char*>(record.data()) + column.field.offset, column.field.size);
    if (column.numeric) {
        const std::size_t first = text.find_first_not_of(std::string_view(" \0", 2));
        if (first == std::string_view::npos)
            return {};
        text = text.substr(first, text.find_last_not_of(std::string_view(" \0", 2)) - first + 1);
    }
    return text;
}

std::string labelOf(const FieldColumn& column, std::string_view text)
{
    long long code = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), code);
    if (!column.list || text.empty() || error != std::errc() || end != text.data() + text.size())
        return {};
    return labelOfCode(*column.list, code, column.offset);
}

bool isDecimal(std::string_view text)
{
    return !text.empty() && isDigits(std::string(text));
}

void printLine(std::ostream& out, std::uint32_t position, const TeamGearRecord& record)
{
    out << position << ":";
    for (const FieldColumn& column : kColumns) {
        const std::string_view text = fieldText(record, column);
        out << ' ' << column.key << '=' << (column.numeric && isDecimal(text) ? std::string(text) : quoted(text));
        const std::string label = labelOf(column, text);
        if (!label.empty())
            out << " (" << label << ")";
    }
    out << '\n';
}

void printJsonLine(std::ostream& out, std::uint32_t position, const TeamGearRecord& record)
{
    out << "{\"position\":" << position;
    for (const FieldColumn& column : kColumns) {
        const std::string_view text = fieldText(record, column);
        out << ",\"" << column.key << "\":" << jsonString(text);
        if (column.list) {
            const std::string label = labelOf(column, text);
            out << ",\"" << column.key << "Label\":" << (label.empty() ? "null" : jsonString(label));
        }
    }
    out << "}\n";
}

int runList(const ParsedArguments& args, const CommandContext& context)
{
    if (args.positionals.size() > 1)
        return context.usage("name at most one table");
    const std::optional<std::string> slot = args.value("--slot");
    if (!args.positionals.empty() && (slot || args.has("--game")))
        return context.usage("name a table, or a save folder with --slot and --game, not both");
    if (slot && !isPlainName(*slot))
        return context.usage("--slot takes the name of a folder under saves");

    const std::string game = withClosingSeparator(args.value("--game").value_or(""));
    const std::string tablePath = !args.positionals.empty() ? args.positionals.front()
                                  : slot                    ? namedSaveTablePath(game, *slot)
                                                            : numberedSaveTablePath(game, 0);
    const bool json = args.has("--json");
    std::uint32_t position = 0;
    const TableCheck check = forEachTeamGearRecord(systemFileSystem(), tablePath, [&](const TeamGearRecord& record) {
        ++position;
        if (json)
            printJsonLine(context.out, position, record);
        else
            printLine(context.out, position, record);
    });
    context.out.flush();

    TerminalMessages messages(context.out, context.err);
    switch (check) {
    case TableCheck::Sound:
    case TableCheck::InterruptedAppend:
        return kExitSuccess;
    case TableCheck::Missing:
        showError(messages, messageFor(ResultCode::NoTable));
        break;
    case TableCheck::Damaged:
        showError(messages, messageFor(ResultCode::TableDamaged));
        break;
    case TableCheck::Unreadable:
        showError(messages, messageFor(ResultCode::TableUnusable));
        break;
    }
    return kExitFailure;
}

std::string listOptionsHelp()
{
    return "  --slot NAME        the table of save folder saves/NAME (default: 000)\n"
           "  --game DIR         the game folder that holds saves (default: the current folder)\n"
           "  --json             one JSON object per record, field texts as strings, with the\n"
           "                     label of each list field (null when the code names none)\n";
}

}  // namespace

Command listCommand()
{
    return {"list", "print the records of a team-gear table",
            "list [--slot NAME | TABLE.dbf] [--game DIR] [--json]",
            "Prints every record of the table, one line each: its position, then the fields at\n"
            "the places Kitloom writes them, each list code with its label. The shoe code is the\n"
            "Shoe row plus 1 after add, plus 2 after installing a patch.\n",
            {{"--slot"}, {"--game"}, {"--json", false}}, listOptionsHelp, runList};
}

}  // namespace kitloom::cli
