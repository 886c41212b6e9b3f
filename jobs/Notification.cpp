#include "jobs/Notification.h"

#include "platform/Paths.h"

#include <algorithm>

namespace kitloom {

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
                                 const std::vector<TableReport>& tables, const std::vector<std::string>& lines)
{
    if (!succeeded) {
        std::string body;
        std::size_t shown = 0;
        for (const std::string& line : lines) {
            const bool told = line.rfind("ERROR: ", 0) == 0 || line.rfind("hint: ", 0) == 0 ||
                              (line.rfind("  ", 0) == 0 && shown > 0);
            if (!told || shown == kNotificationLines)
                continue;
            if (shown++ > 0)
                body += '\n';
            body += cut(line.rfind("ERROR: ", 0) == 0 ? line.substr(7) : line);
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

}  // namespace kitloom
