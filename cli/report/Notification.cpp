#include "cli/report/Notification.h"

#include "platform/Paths.h"

#include <algorithm>

namespace kitloom::cli {

namespace {

// Notification servers show a few lines of a body, and wrap long ones.
constexpr std::size_t kReasonLines = 5;
constexpr std::size_t kSavesNamed = 8;
// A folder longer than this loses names from its middle.
constexpr std::size_t kShortFolderLength = 48;
constexpr const char* kLeftOut = "\xE2\x80\xA6";  // U+2026, in UTF-8 as notification servers take text

// "000, 001 and 002", naming the first few.
std::string saveList(const std::vector<std::string>& saves)
{
    std::string text;
    const std::size_t named = std::min(saves.size(), kSavesNamed);
    for (std::size_t i = 0; i < named; ++i)
        text += (i == 0 ? "" : i + 1 == saves.size() ? " and " : ", ") + saves[i];
    if (saves.size() > named)
        text += " and " + std::to_string(saves.size() - named) + " more";
    return text;
}

std::string saveName(const TableReport& table)
{
    const std::string folder = withoutClosingSeparator(folderOfPath(table.tablePath));
    return folder.substr(folderOfPath(folder).size());
}

// "added to saves 000 and 001; already in save 002".
std::string savesText(const std::vector<TableReport>& tables)
{
    std::vector<std::string> added;
    std::vector<std::string> already;
    for (const TableReport& table : tables) {
        if (table.result == ResultCode::Appended)
            added.push_back(saveName(table));
        else if (table.result == ResultCode::AlreadyThere)
            already.push_back(saveName(table));
    }
    std::string text;
    if (!added.empty())
        text += std::string("added to ") + (added.size() == 1 ? "save " : "saves ") + saveList(added);
    if (!already.empty())
        text += std::string(added.empty() ? "already in " : "; already in ") +
                (already.size() == 1 ? "save " : "saves ") + saveList(already);
    return text;
}

void replaceAll(std::string& text, const std::string& from, const std::string& to)
{
    if (from.empty() || from == to)
        return;
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

std::string shortened(std::string text, const LongPaths& paths)
{
    // A folder inside another (the art folder in the game's) is shortened with it, so that
    // what is left of it still says whose it is.
    std::vector<std::string> folders;
    for (const std::string& folder : paths.folders) {
        if (!folder.empty())
            folders.push_back(withClosingSeparator(folder));
    }
    std::sort(folders.begin(), folders.end());
    folders.erase(std::unique(folders.begin(), folders.end()), folders.end());
    std::vector<std::string> outermost;
    for (const std::string& folder : folders) {
        if (outermost.empty() || folder.rfind(outermost.back(), 0) != 0)
            outermost.push_back(folder);
    }
    for (const std::string& folder : outermost)
        replaceAll(text, withoutClosingSeparator(folder), shortenedFolder(folder, paths.home));
    if (!paths.home.empty())
        replaceAll(text, withClosingSeparator(paths.home), "~/");
    return text;
}

// The reason a patch did not go in whole, as its lines said it: each ERROR line, and what is
// listed under one. Hints name terminal commands, which a notification cannot take; a closing
// line that sends the reader to the lines above is left out when those lines are shown.
std::vector<std::string> reasonLines(const ReportLines& said, const LongPaths& paths)
{
    const bool explained = std::count_if(said.begin(), said.end(), [](const ReportLine& line) {
                               return line.tone == Tone::Error && !line.closing;
                           }) > 0;
    std::vector<std::string> lines;
    bool underError = false;
    for (const ReportLine& line : said) {
        if (line.tone == Tone::Error)
            underError = !(explained && line.closing);
        else if (line.tone != Tone::Listed)
            underError = false;
        if (!underError || (line.tone != Tone::Error && line.tone != Tone::Listed))
            continue;
        lines.push_back((line.tone == Tone::Listed ? "  " : "") + shortened(line.text, paths));
    }
    return lines;
}

const char* summaryOf(PatchOutcome outcome)
{
    switch (outcome) {
    case PatchOutcome::Installed:
        return "Kitloom: jersey installed";
    case PatchOutcome::AlreadyThere:
        return "Kitloom: jersey already there";
    case PatchOutcome::WithoutImages:
        return "Kitloom: jersey installed without its images";
    case PatchOutcome::NotInstalled:
        break;
    }
    return "Kitloom: jersey not installed";
}

void addLine(std::string& body, const std::string& line)
{
    if (!body.empty())
        body += '\n';
    body += line;
}

}  // namespace

std::string shortenedFolder(const std::string& folder, const std::string& home)
{
    std::string text = withoutClosingSeparator(folder);
    const std::string homeFolder = withoutClosingSeparator(home);
    if (!homeFolder.empty() && (text == homeFolder || text.rfind(homeFolder + kPathSeparator, 0) == 0))
        text = std::string(1, '~').append(text, homeFolder.size());
    if (text.size() <= kShortFolderLength)
        return text;
    // The last two names say which game folder; the first ones, where it is.
    std::size_t tail = text.rfind(kPathSeparator);
    if (tail == std::string::npos || tail == 0)
        return text;
    tail = text.rfind(kPathSeparator, tail - 1);
    if (tail == std::string::npos)
        return text;
    const std::string end = text.substr(tail);
    std::size_t head = text.find(kPathSeparator, 1);
    for (std::size_t next = head; next != std::string::npos && next < tail &&
                                  next + std::string(kLeftOut).size() + 1 + end.size() <= kShortFolderLength;
         next = text.find(kPathSeparator, next + 1))
        head = next;
    if (head == std::string::npos || head >= tail)
        return text;
    return text.substr(0, head + 1) + kLeftOut + end;
}

Notification installNotification(const std::vector<NotifiedPatch>& patches, const ReportLines& after,
                                 const LongPaths& paths, bool couldNotAsk)
{
    Notification notification;
    std::string& body = notification.body;
    const std::vector<std::string> afterReasons = reasonLines(after, paths);
    if (patches.empty()) {
        notification.summary = "Kitloom: nothing installed";
        for (const std::string& line : afterReasons)
            addLine(body, line);
        return notification;
    }
    if (couldNotAsk) {
        // No game to install into: one reason for every patch.
        notification.summary = patches.size() == 1
                                   ? summaryOf(PatchOutcome::NotInstalled)
                                   : "Kitloom: " + std::to_string(patches.size()) + " jerseys not installed";
        for (const std::string& line : reasonLines(patches.front().said, paths))
            addLine(body, line);
        addLine(body, "With zenity or kdialog installed, Kitloom asks for the game folder when a patch is opened.");
        return notification;
    }
    if (patches.size() == 1) {
        const NotifiedPatch& patch = patches.front();
        notification.summary = summaryOf(patch.outcome);
        if (patch.outcome != PatchOutcome::NotInstalled)
            body = patch.name + ' ' + savesText(patch.tables);
        std::vector<std::string> reasons = patch.outcome == PatchOutcome::Installed ||
                                                   patch.outcome == PatchOutcome::AlreadyThere
                                               ? std::vector<std::string>()
                                               : reasonLines(patch.said, paths);
        reasons.insert(reasons.end(), afterReasons.begin(), afterReasons.end());
        for (std::size_t i = 0; i < reasons.size() && i < kReasonLines; ++i)
            addLine(body, reasons[i]);
        return notification;
    }
    // Several: one line for each, its reason its first.
    std::size_t in = 0;
    std::size_t out = 0;
    for (const NotifiedPatch& patch : patches) {
        in += patch.outcome == PatchOutcome::Installed || patch.outcome == PatchOutcome::AlreadyThere ? 1 : 0;
        out += patch.outcome == PatchOutcome::NotInstalled ? 1 : 0;
        const std::vector<std::string> reasons = reasonLines(patch.said, paths);
        const std::string reason = reasons.empty() ? std::string() : ": " + reasons.front();
        switch (patch.outcome) {
        case PatchOutcome::Installed:
        case PatchOutcome::AlreadyThere:
            addLine(body, patch.name + ": " + savesText(patch.tables));
            break;
        case PatchOutcome::WithoutImages:
            addLine(body, patch.name + ": " + savesText(patch.tables) + ", without its images" + reason);
            break;
        case PatchOutcome::NotInstalled:
            addLine(body, patch.name + ": not installed" + reason);
            break;
        }
    }
    for (const std::string& line : afterReasons)
        addLine(body, line);
    const std::string count = std::to_string(patches.size());
    if (in == patches.size())
        notification.summary = "Kitloom: " + count + " jerseys installed";
    else if (out == patches.size())
        notification.summary = "Kitloom: " + count + " jerseys not installed";
    else
        notification.summary = "Kitloom: " + std::to_string(in) + " of " + count + " jerseys installed";
    return notification;
}

}  // namespace kitloom::cli
