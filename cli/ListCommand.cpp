// list: the records of team-gear tables, decoded by the positions the installer writes.
#include "cli/Cli.h"
#include "cli/CliHooks.h"
#include "cli/Commands.h"
#include "cli/JerseyOptions.h"
#include "cli/JobReporter.h"
#include "core/Digits.h"
#include "jobs/ListJob.h"
#include "jobs/SystemMessages.h"
#include "platform/TerminalText.h"
#include "text/TerminalEscape.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <memory>

namespace kitloom::cli {

namespace {

using Json = nlohmann::ordered_json;

void printRecord(std::ostream& out, std::size_t position, const TeamGearRecord& record, const CommandContext& context)
{
    out << position << ":";
    for (const RecordField& field : decodeRecord(record)) {
        out << ' ' << field.key << '='
            << (field.numeric && isNumeral(field.text)
                    ? field.text
                    : quotedField(field.numeric ? field.text : context.shown(field.text)));
        if (field.label && !field.label->empty())
            out << " (" << *field.label << ")";
    }
    out << '\n';
}

Json recordJson(std::size_t position, const TeamGearRecord& record)
{
    Json object = {{"position", position}};
    for (const RecordField& field : decodeRecord(record)) {
        object[field.key] = field.numeric ? field.text : fromCodePage1252(field.text, "UTF-8");
        if (field.label)
            object[std::string(field.key) + "Label"] = field.label->empty() ? Json(nullptr) : Json(*field.label);
    }
    return object;
}

Json tableJson(const TableReport& table)
{
    Json records = Json::array();
    for (std::size_t i = 0; i < table.records.size(); ++i)
        records.push_back(recordJson(i + 1, table.records[i]));
    Json shown = {{"path", table.tablePath}, {"records", records}};
    if (table.result != ResultCode::Read)
        shown["error"] = systemMessage(messageFor(table.result)).text;
    return shown;
}

struct ListOptions {
    std::string table;
    std::string slot;
    std::string game;
    CLI::Option* gameOption = nullptr;
    bool json = false;
};

// Every table's records as it is read, each under its path when there are several; a JSON
// document is printed whole at the end.
class ListReporter final : public JobReporter {
public:
    ListReporter(const CommandContext& context, const ListOptions& options)
        // A JSON document stays one: the game found is named on the error stream.
        : JobReporter(context, false, options.json ? context.err : context.out), options_(options)
    {
    }
    bool tableVisited(const TableReport& table) override
    {
        if (options_.json)
            return true;
        std::ostream& out = context_.out;
        if (options_.table.empty() && options_.slot.empty())
            out << escapedText(table.tablePath) << ":" << std::endl;
        for (std::size_t i = 0; i < table.records.size(); ++i)
            printRecord(out, i + 1, table.records[i], context_);
        out.flush();
        say(readLines(table));
        return true;
    }

private:
    const ListOptions& options_;
};

int runList(const ListOptions& options, const CommandContext& context)
{
    ListReporter report(context, options);
    ListRequest request;
    request.tablePath = options.table;
    request.saveSlot = options.slot;
    request.game = gamePolicy(options.gameOption, options.game);
    request.hooks = &kCliHooks;
    request.observer = &report;
    const ListResult result = listTables(context.fileSystem, request);
    if (!result.gameDecided)
        return kExitFailure;
    const SweepReport& job = result.job;
    if (options.json) {
        Json tables = Json::array();
        for (const TableReport& table : job.tables) {
            tables.push_back(tableJson(table));
            report.say(readLines(table));
        }
        Json document = {{"tables", tables}};
        if (!result.oneTable)
            document["unvisited"] = job.unvisited;
        context.out << document.dump(2, ' ', false, Json::error_handler_t::replace) << std::endl;
    }
    report.say(unvisitedLines(job));
    report.say(slotHint(result.slotWrittenShort));
    return exitStatus(result.status);
}

}  // namespace

CommandRun addListCommand(CLI::App& app)
{
    return defineCommand<ListOptions>(
        app, "list", "print the records of team-gear tables",
        "Prints every record of the table, one line each: its position, then the fields at the\n"
        "places Kitloom writes them, each list code with its label. Without a table or --slot, every\n"
        "numbered save's table in turn. The shoe code is the Shoe row plus 1 after add, plus 2 after\n"
        "installing a patch.",
        [](CLI::App& command, ListOptions& options) {
            CLI::Option* table =
                command.add_option("table", options.table, "a team-gear table (.dbf) to list")->type_name("TABLE");
            CLI::Option* slot = addSlotOption(command, options.slot, "the table of save folder saves/SLOT");
            CLI::Option* game = options.gameOption = addGameOption(command, options.game);
            table->excludes(slot)->excludes(game);
            command.add_flag("--json", options.json,
                             "one JSON document: {\"tables\": [{\"path\", \"records\", \"error\"}], \"unvisited\": [...]}, "
                             "texts in UTF-8, each list field with its label (null when the code names none)");
        },
        runList);
}

}  // namespace kitloom::cli
