#include "cli/report/ReportLines.h"

#include "core/GamePaths.h"
#include "jobs/RemoveJob.h"
#include "jobs/SystemMessages.h"
#include "cli/report/DownloadLines.h"
#include "patch/PatchFile.h"
#include "platform/TerminalText.h"
#include "text/Cp1252.h"
#include "text/TerminalEscape.h"

#include <algorithm>

namespace kitloom::cli {

namespace {

// A patch's name, spelt in code page 1252, as the terminal shows it: in UTF-8, unless
// kitloom-cli.exe's console takes the code page's bytes.
std::string shownName(const std::string& name) { return escapedText(systemTextIsUtf8() ? cp1252ToUtf8(name) : name); }

// A line about the table at `path`.
ReportLine tableLine(const std::string& path, const std::string& what)
{
    return {Tone::Line, escapedText(path) + ": " + what};
}

// An ERROR line about `path`: "text (path: reason)".
ReportLine tableError(const std::string& text, const std::string& path, const std::string& reason = {})
{
    std::string line = text + " (" + escapedText(path);
    if (!reason.empty())
        line += ": " + reason;
    return {Tone::Error, line + ")"};
}

// Why a table could not be used: the system's words, if any.
std::string tableProblem(const TableReport& table)
{
    // Every numbered save's path is as long, so the system's words would read as this one's alone.
    return table.nameTooLong ? "name too long" : table.reason;
}

// An interrupted append's record, which went before the table was changed.
ReportLine cutLine(const TableReport& table, bool dryRun)
{
    return tableLine(table.tablePath, std::string("an unfinished record past the count ") +
                                          (dryRun ? "would be cut back" : "was cut back"));
}

std::string counted(std::size_t count, const char* one, const char* several)
{
    return std::to_string(count) + (count == 1 ? one : several);
}

std::string positions(const std::vector<std::uint32_t>& records)
{
    std::string text;
    for (std::uint32_t record : records) {
        if (!text.empty())
            text += ", ";
        text += std::to_string(record);
    }
    return text;
}

}  // namespace

ReportLines appendLines(const TableReport& table, bool dryRun)
{
    ReportLines lines;
    if (table.unfinishedRecordCut)
        lines.push_back(cutLine(table, dryRun));
    if (table.result == ResultCode::Appended)
        lines.push_back(tableLine(table.tablePath, (dryRun ? "would be added as record " : "added as record ") +
                                                       std::to_string(table.recordNumber)));
    else if (table.result == ResultCode::AlreadyThere)
        lines.push_back(tableLine(table.tablePath, "already there as record " + std::to_string(table.recordNumber)));
    else
        lines.push_back(tableError(systemMessage(messageFor(table.result)).text, table.tablePath, tableProblem(table)));
    return lines;
}

ReportLines removalLines(const TableReport& table, bool dryRun)
{
    ReportLines lines;
    if (table.unfinishedRecordCut)
        lines.push_back(cutLine(table, dryRun));
    const TableRemoval removal = removalOf(table);
    if (!removal.searched) {
        lines.push_back(tableError(systemMessage(messageFor(table.result)).text, table.tablePath, tableProblem(table)));
        return lines;
    }
    if (table.removed > 0)
        lines.push_back(tableLine(table.tablePath, std::string(dryRun ? "would remove " : "removed ") +
                                                       counted(table.removed, " jersey (", " jerseys (") +
                                                       std::to_string(table.countAfter) + " records left)"));
    else if (table.matchesLeft.empty())
        lines.push_back(tableLine(table.tablePath, "no matching jersey"));
    if (removal.onlyRecordStays)
        lines.push_back(
            tableError("A matching jersey stays as the table's only record, which it cannot lose", table.tablePath));
    if (!removal.behindOthers.empty())
        lines.push_back(tableError(
            "A matching jersey behind others stays, at position " + positions(removal.behindOthers), table.tablePath));
    return lines;
}

ReportLines readLines(const TableReport& table)
{
    if (table.result == ResultCode::Read)
        return {};
    return {tableError(systemMessage(messageFor(table.result)).text, table.tablePath, table.reason)};
}

namespace {

// Where an image comes from, as the player finds it: a file, or an entry of the archive.
std::string imageSource(const ImageMove& move)
{
    return move.archive.empty() ? escapedText(move.from) : escapedText(move.archive) + ": " + escapedText(move.from);
}

}  // namespace

ReportLines imageLines(const ImageMove& move, bool dryRun)
{
    const std::string from = imageSource(move);
    const char* moved = move.archive.empty() ? (dryRun ? "would move to " : "moved to ")
                                             : (dryRun ? "would be copied to " : "copied to ");
    if (move.withdrawn)
        return {};
    if (move.result == MoveResult::Moved && move.sourceKept)
        return {{Tone::Line, from + ": copied to " + escapedText(move.to) +
                                 ", but it could not be removed from beside the patch" +
                                 (move.reason.empty() ? std::string() : " (" + move.reason + ")") +
                                 "; the jersey has its image all the same, and this copy can be deleted"}};
    if (move.result == MoveResult::Moved && !move.replacedKeptAs.empty())
        return {{Tone::Line, from + ": " + moved + escapedText(move.to) +
                                 ", over the image of that name there, which the journal keeps for an undo"}};
    if (move.result == MoveResult::Moved)
        return {{Tone::Line, from + ": " + moved + escapedText(move.to)}};
    if (move.otherImageThere)
        return {{Tone::Error, escapedText(move.to) + " is another image than " + from +
                                  ": both are kept, and the jersey would show the one in the art folder"}};
    if (move.inArtFolder)
        return {{Tone::Line, from + ": already in the art folder (" + escapedText(move.to) + ")"}};
    std::string why;
    ReportLines listed;
    switch (move.trouble) {
    case ImageTrouble::NotBesidePatch:
        why = (move.archive.empty() ? "not beside the patch at " : "not in the archive, nor beside the patch at ") +
              from;
        break;
    case ImageTrouble::SeveralFound:
        why = "not beside the patch, and in " + std::to_string(move.candidates.size()) +
              " other places, so none is taken; put the right one beside the patch";
        for (const std::string& candidate : move.candidates)
            listed.push_back({Tone::Listed, move.archive.empty()
                                                ? escapedText(candidate)
                                                : escapedText(move.archive) + ": " + escapedText(candidate)});
        break;
    case ImageTrouble::Damaged:
        return {{Tone::Error, damageText(move.damage, move.archive, false)}};
    case ImageTrouble::NoArtFolder:
        why = "the art folder could not be made";
        break;
    case ImageTrouble::ArtFolderReadOnly:
        why = "the art folder cannot be written in";
        break;
    case ImageTrouble::NotAFileThere:
        why = escapedText(move.to) + " is there and is not a file";
        break;
    case ImageTrouble::PathTooLongBeside:
        why = "name too long: " + from;
        break;
    case ImageTrouble::PathTooLongThere:
        why = "name too long: " + escapedText(move.to);
        break;
    case ImageTrouble::None:
    case ImageTrouble::MoveFailed:
        why = move.archive.empty() ? "the move failed" : "the copy failed";
        break;
    }
    if (!move.reason.empty())
        why += ": " + move.reason;
    const std::string artFolder = escapedText(move.to.substr(0, move.to.size() - artFolderName(move.image).size()));
    ReportLines lines = {{Tone::Error, systemMessage(MessageId::CannotMoveImage, {shownName(move.image), artFolder}).text +
                                           " (" + why + ")"}};
    lines.insert(lines.end(), listed.begin(), listed.end());
    return lines;
}

ReportLines unreadPatchLines(const std::vector<SystemMessage>& messages, const std::string& path,
                             const std::string& reason)
{
    ReportLines lines;
    for (const SystemMessage& message : messages) {
        const Tone tone = message.kind == MessageKind::Error ? Tone::Error : Tone::Success;
        lines.push_back(reason.empty() ? ReportLine{tone, message.text} : tableError(message.text, path, reason));
    }
    return lines;
}

ReportLine missingTableLine(const PatchInstallReport& install, const std::string& gameFolder)
{
    return tableError(systemMessage(install.job.namedSave ? MessageId::NoTable : MessageId::InvalidSaveSlot).text,
                      install.missingTable,
                      "not in the game folder " + (gameFolder.empty() ? std::string(".") : gameFolder) +
                          ", so nothing was moved; name the game folder with --game");
}

ReportLines unvisitedLines(const SweepReport& job)
{
    if (job.unvisited.empty())
        return {};
    const std::size_t more = job.unvisited.size() - 1;
    std::string line = escapedText(job.unvisited.front());
    if (more == 0)
        line += " was";
    else
        line += " and " + counted(more, " more save folder were", " more save folders were");
    line += " not visited: the sweep stops at the first missing save folder, " + escapedText(job.firstMissing);
    return {{Tone::Note, line}};
}

ReportLines installClosing(const SweepReport& job, bool dryRun, bool imagesInPlace)
{
    // A named save that failed has said why in its table's line.
    if (job.namedSave && job.outcome == SweepOutcome::NothingDone)
        return {};
    if (job.outcome == SweepOutcome::Done && (job.anyTableFailed() || !imagesInPlace)) {
        const auto added = std::count_if(job.tables.begin(), job.tables.end(), gotTheJersey);
        const std::size_t saves = job.tables.size();
        std::string done = dryRun ? "The jersey would go into " : "The jersey went into ";
        if (job.namedSave)
            done += "its save";
        else if (static_cast<std::size_t>(added) == saves)
            done += saves == 1 ? std::string("the one save") : "all " + std::to_string(saves) + " saves";
        else
            done += std::to_string(added) + " of " + std::to_string(saves) + " saves";
        if (!imagesInPlace)
            done += std::string(job.anyTableFailed() ? ", and" : ", but") + " its images are not all in the art folder";
        return {{Tone::Error, done + ": the ERROR lines above say why", true}};
    }
    ReportLines lines;
    for (const SystemMessage& message : installMessages(job)) {
        if (message.kind == MessageKind::Error)
            lines.push_back({Tone::Error, message.text});
        else
            lines.push_back({Tone::Success, message.text + (dryRun ? " (dry run: nothing was changed)" : "")});
    }
    return lines;
}

ReportLines removeClosing(const RemoveResult& result, bool dryRun)
{
    const SweepReport& job = result.job;
    if (job.outcome == SweepOutcome::NoSaves)
        return {{Tone::Error, systemMessage(MessageId::InvalidSaveSlot).text}};
    if (job.namedSave && job.tables.front().result == ResultCode::NoTable)
        return {};  // its table's line said so
    // Saves that could not be read were never searched: "none found" would not be true of them.
    std::string unread;
    if (result.unsearched > 0)
        unread = "; " + counted(result.unsearched, " save", " saves") + " could not be searched";
    if (result.removed == 0) {
        const char* nothing = result.anyMatch ? "No matching jersey was the last of its table: nothing was removed"
                              : result.unsearched > 0 ? "No jersey was removed"
                                                      : "No matching jersey was found: nothing was removed";
        return {{Tone::Error, nothing + unread}};
    }
    const std::string done = std::string(dryRun ? "Would remove " : "Removed ") +
                             counted(result.removed, " jersey", " jerseys") + " from " +
                             counted(static_cast<std::size_t>(result.savesChanged), " save", " saves");
    ReportLines lines;
    if (result.status == JobStatus::Failed)
        lines.push_back({Tone::Error, done + unread + ": the ERROR lines above say what stayed", true});
    else
        lines.push_back({Tone::Success, done});
    return lines;
}

ReportLines behindOthersHint(const RemoveResult& result)
{
    const bool behind = std::any_of(result.job.tables.begin(), result.job.tables.end(),
                                    [](const TableReport& table) { return !removalOf(table).behindOthers.empty(); });
    if (!behind)
        return {};
    return {{Tone::Hint,
             "a jersey comes out only from the end of its table, so the jerseys after it go first: "
             "'kitloom-cli list' shows them, and removing them, newest first, lets this one out too"}};
}

ReportLine stopLine(const std::string& signalName, const std::string& lastTable)
{
    return {Tone::Error, "Stopped by " + signalName +
                             (lastTable.empty() ? std::string(" before any save") : " after " + escapedText(lastTable)) +
                             "; the lines above tell every save that changed"};
}

ReportLines slotHint(const std::optional<std::string>& numbered)
{
    if (numbered)
        return {{Tone::Hint, "numbered save folders have three digits: --slot " + *numbered}};
    return {};
}

}  // namespace kitloom::cli
