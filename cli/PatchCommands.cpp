// install and show: jersey patches, installed as the program's patch mode does, or read.
#include "cli/Cli.h"
#include "cli/Commands.h"
#include "cli/DoubleClick.h"
#include "cli/FindGame.h"
#include "cli/JerseyOptions.h"
#include "cli/SaveReport.h"
#include "core/GamePaths.h"
#include "core/JerseyLists.h"
#include "jobs/InstallJob.h"
#include "jobs/LookJobs.h"
#include "jobs/Notification.h"
#include "platform/Environment.h"
#include "platform/Interrupt.h"
#include "platform/Paths.h"
#include "platform/TerminalText.h"
#include "text/LineCopy.h"
#include "text/TerminalEscape.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <memory>

namespace kitloom::cli {

namespace {

struct InstallOptions {
    std::vector<std::string> patches;
    std::string game;
    CLI::Option* gameOption = nullptr;
    std::string art;
    bool dryRun = false;
    bool notify = false;
    bool again = false;
    GameAsker ask;                                      // when no game is found, or several
    std::function<void(const TableReport&)> tableDone;  // told of each table, after its line
    std::function<void(const std::string&)> patchDone;  // told of each patch installed, or not
};

int runInstall(const InstallOptions& options, const CommandContext& context)
{
    watchForInterrupt();
    bool allInstalled = true;
    bool gameTold = false;  // the game found is named, or its absence told, once
    for (const std::string& patchPath : options.patches) {
        SaveReport report(context, options.dryRun);  // each patch's closing words are its own
        // With several patches, each one's report follows its name.
        if (options.patches.size() > 1)
            context.out << escapedText(patchPath) << ":" << std::endl;
        InstallRequest request;
        request.patchPath = patchPath;
        // Without --game, a patch among the saves names its game's folder, as it always has.
        GameTeller teller(context, context.out, true);
        teller.asker = options.ask;
        request.game = gamePolicy(options.gameOption, options.game, gameTold ? nullptr : &teller);
        if (!options.art.empty())
            request.game.artFolder = options.art;
        request.job = {options.dryRun, report.progress([&](const TableReport& table) {
                           report.say(appendLines(table, options.dryRun));
                           if (options.tableDone)
                               options.tableDone(table);
                       })};
        request.job.install = options.again ? nullptr : installOnce;
        request.details = &kReportedDetails;
        request.imageMoved = [&](const ImageMove& move) { report.say(imageLine(move, options.dryRun)); };
        const InstallResult result = installJersey(context.fileSystem, request);
        if (options.patchDone)
            options.patchDone(patchPath);
        const GameSource source = result.game.source;
        gameTold = gameTold || !result.gameDecided || source == GameSource::Found ||
                   source == GameSource::Remembered || source == GameSource::Asked;
        allInstalled = allInstalled && result.status == JobStatus::Succeeded;
        const PatchInstallReport& installed = result.install;
        if (!result.gameDecided)
            continue;
        if (installed.read != PatchReadResult::Read) {
            showAll(report, result.messages);
            continue;
        }
        if (!installed.missingTable.empty()) {
            report.say(missingTableLine(installed, result.game.folder));
            continue;
        }
        report.say(unvisitedLines(installed.job));
        if (result.status == JobStatus::Stopped)
            return report.stopNow();
        report.say(installClosing(installed.job, options.dryRun, installed.imagesInPlace()));
    }
    return allInstalled ? kExitSuccess : kExitFailure;
}

// Runs an install with its report going to the terminal as usual, then shows its outcome as
// a desktop notification too. With no terminal to read, the game is asked for with the
// desktop's dialogs when it is not found.
int runNotifying(InstallOptions options, const CommandContext& context)
{
    std::vector<std::string> lines;
    LineCopy outCopy(context.out, lines);
    LineCopy errCopy(context.err, lines);
    std::ostream out(&outCopy);
    std::ostream err(&errCopy);
    const CommandContext notifying{
        out, err, context.fileSystem, context.encoding, context.command, context.savesChanged};
    bool cancelled = false;
    options.ask = [&](const GameChoice& choice, const GameSearch& search) {
        return askForGame(notifying, choice, search, cancelled);
    };
    std::vector<TableReport> tables;
    options.tableDone = [&](const TableReport& table) { tables.push_back(table); };
    std::vector<std::string> jerseys;
    options.patchDone = [&](const std::string& patchPath) {
        const ShowResult patch = showPatch(context.fileSystem, patchPath);
        std::string jersey;
        for (const PatchField& field : patch.fields) {
            if (std::string_view(field.key) != "name" && std::string_view(field.key) != "year")
                continue;
            if (!jersey.empty())
                jersey += ' ';
            jersey += context.shown(field.text);
        }
        if (!jersey.empty())
            jerseys.push_back(jersey);
    };
    const int status = runInstall(options, notifying);
    out.flush();
    err.flush();
    if (cancelled)
        return status;  // the player said no: nothing to tell
    const Notification notification = installNotification(status == kExitSuccess, jerseys, tables, lines);
    if (!showDesktopNotification(notification.summary, notification.body))
        context.err << "note: the outcome could not be shown as a desktop notification (notify-send is missing, or there "
                       "is no desktop session)"
                    << std::endl;
    return status;
}

struct ShowOptions {
    std::string patch;
    bool json = false;
};

int runShow(const ShowOptions& options, const CommandContext& context)
{
    const ShowResult result = showPatch(context.fileSystem, options.patch);
    if (result.status != JobStatus::Succeeded) {
        TerminalMessages messages(context.out, context.err);
        showAll(messages, result.messages);
        return exitStatus(result.status);
    }
    if (options.json) {
        nlohmann::ordered_json shown;
        for (const PatchField& field : result.fields) {
            if (!field.code)
                shown[field.key] = fromCodePage1252(field.text, "UTF-8");
            else if (!field.list)
                shown[field.key] = *field.code;
            else
                shown[field.key] = {
                    {"code", *field.code},
                    {"label", field.label.empty() ? nlohmann::ordered_json() : nlohmann::ordered_json(field.label)}};
        }
        context.out << shown.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << std::endl;
        return kExitSuccess;
    }
    std::ostream& out = context.out;
    for (const PatchField& field : result.fields) {
        out << field.title << ": ";
        if (std::string_view(field.key) == "saveSlot" && field.text.empty())
            out << "(none: every numbered save folder)";
        else if (!field.code)
            out << quotedField(context.shown(field.text));
        else if (!field.list)
            out << *field.code;
        else if (field.label.empty())
            out << *field.code << " (not in the list)";
        else
            out << *field.code << " (" << (field.list == JerseyList::Shoe ? "row " : "") << field.label << ")";
        out << '\n';
    }
    out << std::flush;
    return kExitSuccess;
}

}  // namespace

CommandRun addInstallCommand(CLI::App& app)
{
    auto options = std::make_shared<InstallOptions>();
    CLI::App* command = addCommand(
        app, "install", "install jersey patches, as opening them with Kitloom does",
        "Installs each patch in turn: its two images move from the patch's folder into the art\n"
        "folder, and the jersey goes into the save folder the patch names, or into every numbered\n"
        "save folder; the report tells what became of each. A save that holds the jersey already\n"
        "keeps the one it has, so an install can be repeated (after fixing its images, say).");
    command->add_option("patches", options->patches, "the patches (.jer)")->type_name("PATCH")->required();
    options->gameOption = addGameOption(
        *command, options->game,
        "the game folder that holds saves (default: each patch's folder when it holds saves, else the first "
        "found, as 'kitloom-cli where' shows)");
    command
        ->add_option("--art", options->art,
                     "the art folder the images move into, of which only the last level is created "
                     "(default: " +
                         std::string(kArtFolderDescription) + ")")
        ->type_name("DIR")
        ->check([](const std::string& value) { return value.empty() ? std::string("--art needs a folder") : ""; });
    addDryRunFlag(*command, options->dryRun);
    command->add_flag("--again", options->again,
                      "add the jersey to a save that holds it already, too (without it, such a save's line says "
                      "\"already there\")");
#ifndef _WIN32
    command->add_flag("--notify", options->notify,
                      "show the outcome as a desktop notification too (with notify-send), and ask for the game "
                      "folder with zenity or kdialog when none is found, as when opened from a file manager");
#endif
    return [options](const CommandContext& context) {
        return options->notify ? runNotifying(*options, context) : runInstall(*options, context);
    };
}

CommandRun addShowCommand(CLI::App& app)
{
    auto options = std::make_shared<ShowOptions>();
    CLI::App* command = addCommand(
        app, "show", "print what a jersey patch holds",
        "Prints the patch's three lines and its jersey, each code with its label. A patch carries\n"
        "the Shoe row plus 2 and the Accessory Colour row plus 2.");
    command->add_option("patch", options->patch, "the patch (.jer)")->type_name("PATCH")->required();
    command->add_flag("--json", options->json, "one JSON document, texts in UTF-8");
    return [options](const CommandContext& context) { return runShow(*options, context); };
}

}  // namespace kitloom::cli
