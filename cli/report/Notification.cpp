#include "cli/report/Notification.h"

#include "platform/Paths.h"

#include <algorithm>

namespace kitloom::cli {

namespace {

// Notification servers show a few short lines of a body; the rest is cut off unseen.
constexpr std::size_t kNotificationLines = 5;
constexpr std::size_t kNotificationLineLength = 160;
constexpr std::size_t kSavesNamed = 8;

std::string cut(const std::string& line)
{
    return line.size() <= kNotificationLineLength ? line : line.substr(0, kNotificationLineLength - 3) + "...";
}

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

}  // namespace

Notification installNotification(bool succeeded, const std::vector<std::string>& jerseys,
                                 const std::vector<TableReport>& tables, const ReportLines& said)
{
    if (!succeeded) {
        std::string body;
        std::size_t shown = 0;
        for (const ReportLine& line : said) {
            const bool told = line.tone == Tone::Error || line.tone == Tone::Hint ||
                              (line.tone == Tone::Listed && shown > 0);
            if (!told || shown == kNotificationLines)
                continue;
            if (shown++ > 0)
                body += '\n';
            // An ERROR needs no word of its own here: the summary says the install failed.
            body += cut((line.tone == Tone::Error ? "" : tonePrefix(line.tone)) + line.text);
        }
        return {"Kitloom: install failed", body};
    }
    std::vector<std::string> added;
    std::vector<std::string> already;
    for (const TableReport& table : tables) {
        if (table.result == ResultCode::Appended)
            added.push_back(saveName(table));
        else if (table.result == ResultCode::AlreadyThere)
            already.push_back(saveName(table));
    }
    std::string body = saveList(jerseys);
    if (!added.empty())
        body += std::string(" added to ") + (added.size() == 1 ? "save " : "saves ") + saveList(added);
    if (!already.empty())
        body += std::string(added.empty() ? " already in " : "; already in ") +
                (already.size() == 1 ? "save " : "saves ") + saveList(already);
    return {"Kitloom: jersey installed", cut(body)};
}

}  // namespace kitloom::cli
