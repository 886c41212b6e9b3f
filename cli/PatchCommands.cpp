// install and show: jersey patches, installed as the program's patch mode does, or read.
#include "cli/Cli.h"
#include "cli/Commands.h"
#include "cli/DoubleClick.h"
#include "cli/FindGame.h"
#include "cli/JerseyOptions.h"
#include "cli/SaveReport.h"
#include "core/GamePaths.h"
#include "core/JerseyLists.h"
#include "form/SystemMessages.h"
#include "patch/PatchInstaller.h"
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
};

// What became of one image: moved, already there, another image there, or not moved.
void printImage(const ImageMove& move, SaveReport& report)
{
    if (move.result == MoveResult::Moved) {
        report.tableLine(move.from, (report.dryRun() ? "would move to " : "moved to ") + escapedText(move.to));
    } else if (move.otherImageThere) {
        showError(report, escapedText(move.to) + " is another image than " + escapedText(move.from) +
                              ": both are kept, and the jersey would show the one in the art folder");
    } else if (move.inArtFolder) {
        report.tableLine(move.from, "already in the art folder (" + escapedText(move.to) + ")");
    } else {
        std::string why;
        switch (move.trouble) {
        case ImageTrouble::NotBesidePatch:
            why = "not beside the patch at " + escapedText(move.from);
            break;
        case ImageTrouble::NoArtFolder:
            why = "the art folder could not be made";
            break;
        case ImageTrouble::NotAFileThere:
            why = escapedText(move.to) + " is there and is not a file";
            break;
        case ImageTrouble::None:
        case ImageTrouble::MoveFailed:
            why = "the move failed";
            break;
        }
        if (!move.reason.empty())
            why += ": " + move.reason;
        const std::string artFolder = escapedText(move.to.substr(0, move.to.size() - move.image.size()));
        show(report, {MessageKind::Error,
                      systemMessage(MessageId::CannotMoveImage, {move.image, artFolder}).text + " (" + why + ")"});
    }
}

int runInstall(const InstallOptions& options, const CommandContext& context)
{
    watchForInterrupt();
    bool allInstalled = true;
    bool wineTold = false;  // the game under Wine is named, or its absence told, once
    for (const std::string& patchPath : options.patches) {
        SaveReport report(context, options.dryRun);  // each patch's closing words are its own
        // With several patches, each one's report follows its name.
        if (options.patches.size() > 1)
            context.out << escapedText(patchPath) << ":" << std::endl;
        // Without --game, a patch among the saves names its game's folder, as it always has.
        const auto game = gameForCommand(context, options.gameOption, options.game, context.out,
                                         folderOfPath(patchPath), !wineTold, wineTold ? GameAsker() : options.ask);
        wineTold = wineTold || !game || game->source == GameSource::Found || game->source == GameSource::Remembered;
        if (!game) {
            allInstalled = false;
            continue;
        }
        PatchInstallOptions install;
        install.job = {options.dryRun, report.progress([&](const TableReport& table) {
                           report.printAppend(table);
                           if (options.tableDone)
                               options.tableDone(table);
                       })};
        install.job.install = options.again ? nullptr : installOnce;
        if (game->source != GameSource::PatchFolder)
            install.gameFolder = game->folder;
        const std::string art = options.art.empty() ? gameArtFolder(context.fileSystem, game->folder) : options.art;
        install.artFolderBesideSaves = options.art.empty();
        install.savesBeforeImages = true;
        install.imageMoved = [&](const ImageMove& move) { printImage(move, report); };
        const PatchInstallReport installed = installPatch(patchPath, art, context.fileSystem, install);
        if (installed.read != PatchReadResult::Read) {
            show(report, systemMessage(messageFor(installed.read)));
            allInstalled = false;
            continue;
        }
        if (!installed.missingTable.empty()) {
            const bool named = installed.job.namedSave;
            report.tableError(systemMessage(named ? MessageId::NoTable : MessageId::InvalidSaveSlot).text,
                              installed.missingTable,
                              "not in the game folder " + (game->folder.empty() ? std::string(".") : game->folder) +
                                  ", so nothing was moved; name the game folder with --game");
            allInstalled = false;
            continue;
        }
        report.noteUnvisited(installed.job);
        if (installed.job.outcome == JobOutcome::Stopped)
            return report.stopNow();
        report.closeInstall(installed.job, installed.imagesInPlace());
        allInstalled = allInstalled && installed.imagesInPlace() && jobStatus(installed.job) == kExitSuccess;
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
    options.ask = [&](const GameChoice& choice) { return askForGame(notifying, choice, cancelled); };
    std::vector<TableReport> tables;
    options.tableDone = [&](const TableReport& table) { tables.push_back(table); };
    const int status = runInstall(options, notifying);
    out.flush();
    err.flush();
    if (cancelled)
        return status;  // the player said no: nothing to tell
    std::vector<std::string> jerseys;
    for (const std::string& patchPath : options.patches) {
        Patch patch;
        if (readPatch(context.fileSystem, patchPath, patch) == PatchReadResult::Read)
            jerseys.push_back(context.shown(std::string(patch.spec.jerseyName.data(), kJerseyNameLength) + " " +
                                            std::string(patch.spec.year.data(), kYearLength)));
    }
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

// A list field of the patch: its code, and its row's label (none for a code outside the list).
nlohmann::ordered_json codeJson(JerseyList list, long long code)
{
    const std::string label = labelOfCode(list, code, ShoeCode::InPatch);
    nlohmann::ordered_json field = {{"code", code}, {"label", nullptr}};
    if (!label.empty())
        field["label"] = label;
    return field;
}

// "code (label)"; a code that names no row says so.
std::string codeWithLabel(JerseyList list, long long code)
{
    const std::string label = labelOfCode(list, code, ShoeCode::InPatch);
    if (label.empty())
        return std::to_string(code) + " (not in the list)";
    return std::to_string(code) + " (" + (list == JerseyList::Shoe ? "row " + label : label) + ")";
}

int runShow(const ShowOptions& options, const CommandContext& context)
{
    TerminalMessages messages(context.out, context.err);
    Patch patch;
    if (const PatchReadResult read = readPatch(context.fileSystem, options.patch, patch); read != PatchReadResult::Read) {
        show(messages, systemMessage(messageFor(read)));
        return kExitFailure;
    }
    const JerseySpec& spec = patch.spec;
    auto textOf = [&](const patchformat::TrailerField& field) {
        return std::string(reinterpret_cast<const char*>(&spec) + field.textOffset, field.size);
    };
    if (options.json) {
        nlohmann::ordered_json shown = {{"saveSlot", fromCodePage1252(patch.lines[0], "UTF-8")},
                                        {"image", fromCodePage1252(patch.lines[1], "UTF-8")},
                                        {"numberImage", fromCodePage1252(patch.lines[2], "UTF-8")}};
        for (const patchformat::TrailerField& field : patchformat::kTrailerFields) {
            if (!field.code)
                shown[field.key] = fromCodePage1252(textOf(field), "UTF-8");
            else if (field.list)
                shown[field.key] = codeJson(*field.list, spec.*field.code);
            else
                shown[field.key] = spec.*field.code;
        }
        context.out << shown.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << std::endl;
        return kExitSuccess;
    }
    auto text = [&](const std::string& bytes) { return quotedField(context.shown(bytes)); };
    std::ostream& out = context.out;
    out << "Save Slot: " << (patch.lines[0].empty() ? "(none: every numbered save folder)" : text(patch.lines[0]))
        << '\n'
        << "Image: " << text(patch.lines[1]) << '\n'
        << "Number image: " << text(patch.lines[2]) << '\n';
    for (const patchformat::TrailerField& field : patchformat::kTrailerFields) {
        out << field.title << ": ";
        if (!field.code)
            out << text(textOf(field));
        else if (field.list)
            out << codeWithLabel(*field.list, spec.*field.code);
        else
            out << spec.*field.code;
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
                         std::string(kDefaultArtFolderText) + ")")
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
