// list: the records of a team-gear table, decoded by the positions the installer writes.
#include "cli/Cli.h"
#include "cli/Commands.h"
#include "cli/JerseyOptions.h"
#include "cli/SaveReport.h"
#include "cli/TextEscape.h"
#include "core/GamePaths.h"
#include "core/JerseyLists.h"
#include "core/TeamGearFile.h"
#include "core/TeamGearTable.h"
#include "patch/PatchFormat.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "platform/TerminalText.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <charconv>
#include <memory>
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
    {"name", kJerseyNameField, false, std::nullopt},  // code page 1252 text
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

// Text fields are code page 1252: shown in `encoding`.
std::string shownText(const FieldColumn& column, std::string_view text, const std::string& encoding)
{
    return column.numeric ? std::string(text) : fromCodePage1252(std::string(text), encoding);
}

void printLine(std::ostream& out, std::uint32_t position, const TeamGearRecord& record, const std::string& encoding)
{
    out << position << ":";
    for (const FieldColumn& column : kColumns) {
        const std::string_view text = fieldText(record, column);
        out << ' ' << column.key << '='
            << (column.numeric && isDecimal(text) ? std::string(text) : quotedField(shownText(column, text, encoding)));
        const std::string label = labelOf(column, text);
        if (!label.empty())
            out << " (" << label << ")";
    }
    out << '\n';
}

nlohmann::ordered_json recordJson(std::uint32_t position, const TeamGearRecord& record)
{
    nlohmann::ordered_json object = {{"position", position}};
    for (const FieldColumn& column : kColumns) {
        const std::string_view text = fieldText(record, column);
        object[column.key] = shownText(column, text, "UTF-8");
        if (column.list) {
            const std::string label = labelOf(column, text);
            object[std::string(column.key) + "Label"] = label.empty() ? nlohmann::ordered_json(nullptr) : nlohmann::ordered_json(label);
        }
    }
    return object;
}

struct ListOptions {
    std::string table;
    std::string slot;
    std::string game;
    bool json = false;
};

// Lists one table: its records as lines, or into `tables` as one JSON object. False when
// it is missing or could not be read, which `report` then tells.
bool listTable(const std::string& path, const ListOptions& options, const CommandContext& context, SaveReport& report,
               nlohmann::ordered_json& tables)
{
    nlohmann::ordered_json records = nlohmann::ordered_json::array();
    std::uint32_t position = 0;
    const TableCheck check = forEachTeamGearRecord(context.fileSystem, path, [&](const TeamGearRecord& record) {
        ++position;
        if (options.json)
            records.push_back(recordJson(position, record));
        else
            printLine(context.out, position, record, context.encoding);
    });
    context.out.flush();
    ResultCode problem = ResultCode::Appended;
    switch (check) {
    case TableCheck::Sound:
    case TableCheck::InterruptedAppend:
        break;
    case TableCheck::Missing:
        problem = ResultCode::NoTable;
        break;
    case TableCheck::Damaged:
        problem = ResultCode::TableDamaged;
        break;
    case TableCheck::Unreadable:
        problem = ResultCode::TableUnusable;
        break;
    }
    nlohmann::ordered_json table = {{"path", path}, {"records", records}};
    if (problem != ResultCode::Appended) {
        table["error"] = messageFor(problem);
        report.tableError(messageFor(problem), path);
    }
    tables.push_back(table);
    return problem == ResultCode::Appended;
}

int runList(const ListOptions& options, const CommandContext& context)
{
    SaveReport report(context.out, context.err, false);
    const std::string game = withClosingSeparator(options.game);
    nlohmann::ordered_json tables = nlohmann::ordered_json::array();
    if (!options.table.empty() || !options.slot.empty()) {
        const std::string path = !options.table.empty() ? options.table : namedSaveTablePath(game, options.slot);
        if (!listTable(path, options, context, report, tables))
            report.hintAtSlot(options.slot);
    } else {
        // Every numbered save, each table under its path.
        for (int number = 0; number <= kHighestSaveFolder; ++number) {
            const std::string path = numberedSaveTablePath(game, number);
            if (number > 0 && !context.fileSystem.exists(path))
                break;
            if (!options.json)
                context.out << path << ":" << std::endl;
            listTable(path, options, context, report, tables);
        }
    }
    if (options.json)
        context.out << nlohmann::ordered_json{{"tables", tables}}.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace)
                    << std::endl;
    return report.anyError() ? kExitFailure : kExitSuccess;
}

}  // namespace

CommandRun addListCommand(CLI::App& app)
{
    auto options = std::make_shared<ListOptions>();
    CLI::App* command = addCommand(
        app, "list", "print the records of team-gear tables",
        "Prints every record of the table, one line each: its position, then the fields at the\n"
        "places Kitloom writes them, each list code with its label. Without a table or --slot, every\n"
        "numbered save's table in turn. The shoe code is the Shoe row plus 1 after add, plus 2 after\n"
        "installing a patch.");
    CLI::Option* table =
        command->add_option("table", options->table, "a team-gear table (.dbf) to list")->type_name("TABLE");
    CLI::Option* slot = addSlotOption(*command, options->slot, "the table of save folder saves/SLOT");
    CLI::Option* game = addGameOption(*command, options->game);
    table->excludes(slot)->excludes(game);
    command->add_flag("--json", options->json,
                      "one JSON document: {\"tables\": [{\"path\", \"records\", \"error\"}]}, texts in UTF-8, each "
                      "list field with its label (null when the code names none)");
    return [options](const CommandContext& context) { return runList(*options, context); };
}

}  // namespace kitloom::cli
