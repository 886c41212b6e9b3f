// install and show: jersey patches, installed as the program's patch mode does, or read.
#include "cli/Cli.h"
#include "cli/CliHooks.h"
#include "cli/Commands.h"
#include "cli/DesktopPrompts.h"
#include "cli/JerseyOptions.h"
#include "cli/JobRecord.h"
#include "cli/JobReporter.h"
#include "cli/report/DownloadLines.h"
#include "cli/report/InstallJson.h"
#include "cli/report/Notification.h"
#include "core/GamePaths.h"
#include "core/JerseyLists.h"
#include "jobs/InstallJob.h"
#include "jobs/ShowJob.h"
#include "platform/Environment.h"
#include "platform/Interrupt.h"
#include "platform/Paths.h"
#include "platform/TerminalText.h"
#include "text/Cp1252.h"
#include "text/TerminalEscape.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <algorithm>
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
    bool imagesLater = false;
    bool json = false;
    bool noJournal = false;
    bool replaceImages = false;
};

// Each patch's report follows its name when there are several, and closes with its own
// words; the game is asked for on the desktop when the install came from there.
class InstallReporter final : public JobReporter {
public:
    InstallReporter(const CommandContext& context, const InstallOptions& options)
        : JobReporter(context, options.dryRun, context.out, TableWords::Append, true), options_(options)
    {
    }
    AskedGame askForGame(const GameChoice& choice, const GameSearch& search) override
    {
        const AskedGame asked = options_.notify ? askOnDesktop(choice, search) : AskedGame{};
        couldNotAsk = asked.outcome == AskedGame::Outcome::NoWayToAsk;
        return asked;
    }
    void patchStarted(const PatchSource& patch) override
    {
        if (context_.transcript)
            patchLines.push_back(context_.transcript->size());
        if (options_.patches.size() > 1 || !patch.inner().empty())
            context_.out << inDownload(patch.download(), patch.inner()) << ":" << std::endl;
    }
    void patchDone(const PatchInstall& patch) override;
    void downloadDone(const DownloadInstall& download, const std::vector<PatchInstall>& patches) override
    {
        if (context_.transcript)
            afterPatches = context_.transcript->size();
        say(downloadTroubleLines(download));
        say(packClosing(download, patches, dryRun()));
    }

    int stopStatus = 0;  // after a stop: the exit status it gives
    // With a transcript: where each patch's lines start in it, and where the download's
    // closing lines do (none: at its end).
    std::vector<std::size_t> patchLines;
    std::optional<std::size_t> afterPatches;
    bool couldNotAsk = false;  // the game was asked for, with no way to ask

private:
    const InstallOptions& options_;
};

void InstallReporter::patchDone(const PatchInstall& patch)
{
    const PatchInstallReport& installed = patch.install;
    if (!gameDecided(patch.game))
        return;
    if (installed.damage) {
        say(patchDamageLine(patch));
        return;
    }
    if (installed.read != PatchReadResult::Read) {
        say(unreadPatchLines(patch.messages, patch.patchPath, installed.damage.reason));
        return;
    }
    if (!installed.missingTable.empty()) {
        say(missingTableLine(installed, patch.game.folder));
        return;
    }
    const bool imagesMissing = std::any_of(installed.images.begin(), installed.images.end(), [](const ImageMove& move) {
        return move.trouble == ImageTrouble::NotBesidePatch;
    });
    const ReportLines extracted = imagesMissing && patch.inner.empty()
                                      ? extractedCopyHint(folderOfPath(context_.fileSystem.fullPath(patch.patchPath)))
                                      : ReportLines();
    if (installed.refused) {
        say(refusedLines(installed, dryRun()));
        say(extracted);
        return;
    }
    say(unvisitedLines(installed.job));
    if (patch.status == JobStatus::Stopped) {
        stopStatus = stopNow();
        return;
    }
    say(installClosing(installed.job, dryRun(), installed.imagesInPlace()));
    say(extracted);
}

// What became of an install, and of each of its patches, as the lines said it; for its
// notification.
struct SaidInstall {
    std::vector<ReportLines> patches;
    ReportLines after;
    bool couldNotAsk = false;
};

InstallResult install(const InstallOptions& options, const CommandContext& context, int& status,
                      SaidInstall* said = nullptr)
{
    watchForInterrupt();
    InstallReporter report(context, options);
    // Each patch's lines apart, once the job is done.
    struct Split {
        InstallReporter& report;
        const CommandContext& context;
        SaidInstall* said;
        ~Split()
        {
            if (!said || !context.transcript)
                return;
            const ReportLines& all = *context.transcript;
            const std::size_t end = report.afterPatches.value_or(all.size());
            for (std::size_t i = 0; i < report.patchLines.size(); ++i) {
                const std::size_t next = i + 1 < report.patchLines.size() ? report.patchLines[i + 1] : end;
                said->patches.emplace_back(all.begin() + report.patchLines[i], all.begin() + next);
            }
            said->after.assign(all.begin() + std::min(end, all.size()), all.end());
            said->couldNotAsk = report.couldNotAsk;
        }
    } split{report, context, said};
    InstallRequest request;
    request.patchPaths = options.patches;
    // Without --game, a patch among the saves names its game's folder, as it always has.
    request.game = gamePolicy(options.gameOption, options.game);
    if (!options.art.empty())
        request.game.artFolder = options.art;
    request.dryRun = options.dryRun;
    request.again = options.again;
    request.imagesLater = options.imagesLater;
    request.hooks = &kCliHooks;
    request.observer = &report;
    JobStart start;
    start.patchPaths = options.patches;
    JobRecord record(context, options.dryRun, options.noJournal, start);
    if (record.refused()) {
        status = kExitFailure;
        InstallResult notRun;
        notRun.status = JobStatus::Failed;
        return notRun;
    }
    request.witness = record.journal();
    if (options.replaceImages && record.journal()) {
        // The images replaced are kept in the job's record: its number is needed first.
        if (Done started = record.journal()->start(); started)
            request.replacedImagesPrefix = record.journal()->replacedImagesPrefix();
    } else if (options.replaceImages && options.dryRun) {
        request.replacedImagesPrefix = "-";  // a dry run says what would be replaced
    }
    InstallResult result = installJerseys(context.fileSystem, request);
    record.recordImages(result);
    std::vector<RecordedJersey> jerseys;
    for (const PatchInstall& patch : result.patches) {
        if (patch.install.read == PatchReadResult::Read)
            jerseys.push_back(recordedJersey(patch.install.jersey));
    }
    record.finish(result.status == JobStatus::Succeeded, jerseys);
    status = result.status == JobStatus::Stopped ? report.stopStatus : exitStatus(result.status);
    return result;
}

PatchOutcome outcomeOf(const PatchInstall& patch)
{
    const PatchInstallReport& installed = patch.install;
    const bool inSaves = std::any_of(installed.job.tables.begin(), installed.job.tables.end(), [](const TableReport& t) {
        return t.result == ResultCode::Appended || t.result == ResultCode::AlreadyThere;
    });
    if (!gameDecided(patch.game) || installed.read != PatchReadResult::Read || installed.refused || !inSaves)
        return PatchOutcome::NotInstalled;
    if (!installed.imagesInPlace())
        return PatchOutcome::WithoutImages;
    if (patch.status != JobStatus::Succeeded)
        return PatchOutcome::NotInstalled;
    const bool added = std::any_of(installed.job.tables.begin(), installed.job.tables.end(),
                                   [](const TableReport& t) { return t.result == ResultCode::Appended; });
    return added ? PatchOutcome::Installed : PatchOutcome::AlreadyThere;
}

// Runs an install with its report going to the terminal as usual, then shows its outcome on
// the desktop too. With no terminal to read, the game is asked for with the desktop's
// dialogs when it is not found.
int runNotifying(const InstallOptions& options, const CommandContext& context)
{
    ReportLines transcript;
    CommandContext notifying = context;
    notifying.transcript = &transcript;
    int status = kExitFailure;
    SaidInstall said;
    const InstallResult result = install(options, notifying, status, &said);
    std::vector<NotifiedPatch> patches;
    LongPaths paths;
    paths.home = environmentValue("HOME").value_or("");
    for (std::size_t i = 0; i < result.patches.size(); ++i) {
        const PatchInstall& patch = result.patches[i];
        if (patch.game.source == GameSource::NotChosen)
            return status;  // the player said no: nothing to tell
        NotifiedPatch notified;
        if (patch.install.read == PatchReadResult::Read) {
            const JerseySpec& jersey = patch.install.jersey;
            notified.name = context.shown(std::string(jersey.jerseyName.data(), kJerseyNameLength)) + ' ' +
                            context.shown(std::string(jersey.year.data(), kYearLength));
        } else {
            notified.name = escapedText(
                inDownload(patch.patchPath.substr(folderOfPath(patch.patchPath).size()), patch.inner));
        }
        notified.outcome = outcomeOf(patch);
        notified.tables = patch.install.job.tables;
        if (i < said.patches.size())
            notified.said = said.patches[i];
        patches.push_back(std::move(notified));
        paths.folders.push_back(patch.game.folder);
        paths.folders.push_back(folderOfPath(context.fileSystem.fullPath(patch.patchPath)));
        for (const ImageMove& image : patch.install.images)
            paths.folders.push_back(folderOfPath(image.to));
    }
    const Notification notification = installNotification(patches, said.after, paths, said.couldNotAsk);
    std::string log;
    switch (showOutcome(notification, status != kExitSuccess, log)) {
    case OutcomeShown::Notified:
    case OutcomeShown::InDialog:
        break;
    case OutcomeShown::Logged:
        context.err << "note: the outcome could not be shown on the desktop (no notify-send, zenity or kdialog); it "
                       "was written to "
                    << escapedText(log) << std::endl;
        break;
    case OutcomeShown::Nowhere:
        context.err << "note: the outcome could not be shown on the desktop (no notify-send, zenity or kdialog), nor "
                       "written to a log"
                    << std::endl;
        break;
    }
    return status;
}

int runInstall(const InstallOptions& options, const CommandContext& context)
{
    if (options.replaceImages && options.noJournal)
        return context.usage(
            "--replace-images keeps the images it replaces in the journal, so it cannot go with "
            "--no-journal");
    if (options.notify)
        return runNotifying(options, context);
    int status = kExitFailure;
    if (!options.json) {
        install(options, context, status);
        return status;
    }
    // The document stays one: the report's lines go to the error stream.
    const CommandContext toErrors{context.err,     context.err,          context.fileSystem, context.encoding,
                                  context.command, context.savesChanged, context.transcript, context.args};
    const InstallResult result = install(options, toErrors, status);
    context.out << installJson(result, options.dryRun).dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace)
                << std::endl;
    return status;
}

struct ShowOptions {
    std::string patch;
    bool json = false;
};

nlohmann::ordered_json fieldsJson(const std::vector<PatchField>& fields)
{
    nlohmann::ordered_json shown;
    for (const PatchField& field : fields) {
        if (!field.code)
            shown[field.key] = fromCodePage1252(field.text, "UTF-8");
        else if (!field.list)
            shown[field.key] = *field.code;
        else
            shown[field.key] = {
                {"code", *field.code},
                {"label", field.label.empty() ? nlohmann::ordered_json() : nlohmann::ordered_json(field.label)}};
    }
    return shown;
}

void printFields(const std::vector<PatchField>& fields, const CommandContext& context)
{
    std::ostream& out = context.out;
    for (const PatchField& field : fields) {
        out << field.title << ": ";
        if (std::string_view(field.key) == "saveSlot" && field.text.empty())
            out << "(none: every numbered save folder)";
        else if (!field.code)
            out << quotedField(context.shown(field.text));
        else if (!field.list)
            out << *field.code;
        else if (field.label.empty())
            out << *field.code << " (not in the list)";
        else if (field.list == JerseyList::Shoe)
            out << "row " << field.label << " of the form's Shoe list (stored as " << *field.code << ")";
        else
            out << *field.code << " (" << field.label << ")";
        out << '\n';
    }
    out << std::flush;
}

void printJson(const nlohmann::ordered_json& shown, const CommandContext& context)
{
    context.out << shown.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << std::endl;
}

// Where a patch's image is in its download, as show tells it.
std::string imageWhere(const ImageSource& image, const std::string& archive)
{
    auto inArchive = [&](const std::string& path) { return archive.empty() ? path : archive + ": " + path; };
    switch (image.found) {
    case ImageSource::Found::Here:
        return inArchive(image.path);
    case ImageSource::Found::Several: {
        std::string places;
        for (const std::string& candidate : image.candidates)
            places += (places.empty() ? "" : ", ") + inArchive(candidate);
        return "in several places, so none is taken: " + places;
    }
    case ImageSource::Found::Missing:
        break;
    }
    return "not found";
}

int showEachPatch(const ShowDownloadResult& result, bool json, const CommandContext& context)
{
    TerminalMessages messages = context.messages();
    const std::string archive = result.download.kind == DownloadKind::Zip ? result.download.path : std::string();
    nlohmann::ordered_json all = nlohmann::ordered_json::array();
    for (const ShownPatch& patch : result.patches) {
        if (!json)
            context.out << inDownload(result.download.path, patch.inner) << ":" << std::endl;
        if (patch.show.status != JobStatus::Succeeded) {
            if (patch.show.damage)
                messages.say({Tone::Error, damageText(patch.show.damage, archive, true)});
            else
                messages.say({Tone::Error, systemMessage(messageFor(patch.show.read)).text + " (" +
                                               inDownload(result.download.path, patch.inner) + ")"});
            continue;
        }
        nlohmann::ordered_json images = nlohmann::ordered_json::array();
        for (const auto& [name, image] : patch.images) {
            const bool found = image.found == ImageSource::Found::Here;
            if (!json)
                context.out << "Image " << escapedText(cp1252ToUtf8(name)) << ": "
                            << escapedText(imageWhere(image, archive)) << '\n';
            images.push_back({{"name", cp1252ToUtf8(name)},
                              {"found", found},
                              {"path", found ? nlohmann::ordered_json(image.path) : nlohmann::ordered_json()}});
        }
        if (json) {
            nlohmann::ordered_json shown = {{"patch", patch.inner}};
            shown.update(fieldsJson(patch.show.fields));
            shown["images"] = images;
            all.push_back(shown);
        } else {
            printFields(patch.show.fields, context);
        }
    }
    messages.say(downloadTroubleLines(result.download));
    if (json)
        printJson(all, context);
    return exitStatus(result.status);
}

int runShow(const ShowOptions& options, const CommandContext& context)
{
    const ShowDownloadResult download = showDownload(context.fileSystem, kCliHooks, options.patch);
    if (download.download.kind != DownloadKind::Patch)
        return showEachPatch(download, options.json, context);
    const ShowResult result = showPatch(context.fileSystem, options.patch);
    if (result.status != JobStatus::Succeeded) {
        context.messages().say(unreadPatchLines(result.messages, options.patch, result.damage.reason));
        return exitStatus(result.status);
    }
    if (options.json)
        printJson(fieldsJson(result.fields), context);
    else
        printFields(result.fields, context);
    return kExitSuccess;
}

}  // namespace

CommandRun addInstallCommand(CLI::App& app)
{
    return defineCommand<InstallOptions>(
        app, "install", "install jersey patches, as opening them with Kitloom does",
        "Installs each patch in turn: its two images go from the patch's folder into the art\n"
        "folder, and the jersey goes into the save folder the patch names, or into every numbered\n"
        "save folder; the report tells what became of each. A zip archive or a folder (a download\n"
        "as it came, packed or unpacked) installs every patch in it, each taking its images from\n"
        "its own folder in it, or else from the one place in it with a file of that name; a zip is\n"
        "never changed. A patch goes in whole or not at all: when an image cannot go into the art\n"
        "folder, no save changes. A save that holds the jersey already keeps the one it has, so an\n"
        "install can be repeated (after fixing its images, say).",
        [](CLI::App& command, InstallOptions& options) {
            command.add_option("patches", options.patches, "the patches (.jer), zip archives or folders of patches")
                ->type_name("PATCH")
                ->required();
            options.gameOption = addGameOption(
                command, options.game,
                "the game folder that holds saves (default: each patch's folder when it holds saves, else the first "
                "found, as 'kitloom-cli where' shows)");
            command
                .add_option("--art", options.art,
                            "the art folder the images move into, of which only the last level is created "
                            "(default: " +
                                std::string(kArtFolderDescription) + ")")
                ->type_name("DIR")
                ->check(
                    [](const std::string& value) { return value.empty() ? std::string("--art needs a folder") : ""; });
            addDryRunFlag(command, options.dryRun);
            command.add_flag("--json", options.json,
                             "one JSON document of what became of each patch, its tables and its images (texts in "
                             "UTF-8); the report's lines go to the error stream");
            command.add_flag("--images-later", options.imagesLater,
                             "put the jersey into the saves even when an image cannot go into the art folder, for "
                             "copying the images there by hand (a damaged download still changes nothing)");
            command.add_flag("--replace-images", options.replaceImages,
                             "put the patches' images over the art folder's images of the same name with other bytes "
                             "(an updated jersey); the old ones are kept in the journal, so 'kitloom-cli undo' brings "
                             "them back");
            addNoJournalFlag(command, options.noJournal);
            command.add_flag("--again", options.again,
                             "add the jersey to a save that holds it already, too (without it, such a save's line says "
                             "\"already there\")");
#ifndef _WIN32
            command.add_flag("--notify", options.notify,
                             "show the outcome as a desktop notification too (with notify-send), and ask for the game "
                             "folder with zenity or kdialog when none is found, as when opened from a file manager");
#endif
        },
        runInstall);
}

CommandRun addShowCommand(CLI::App& app)
{
    return defineCommand<ShowOptions>(
        app, "show", "print what a jersey patch holds",
        "Prints the patch's three lines and its jersey, each code with its label. A patch carries\n"
        "the Shoe row plus 2 and the Accessory Colour row plus 2. For a zip archive or a folder:\n"
        "each patch in it, and where its images are, as an install would take them.",
        [](CLI::App& command, ShowOptions& options) {
            command.add_option("patch", options.patch, "the patch (.jer), a zip archive or a folder of patches")
                ->type_name("PATCH")
                ->required();
            command.add_flag("--json", options.json, "one JSON document, texts in UTF-8");
        },
        runShow);
}

}  // namespace kitloom::cli
