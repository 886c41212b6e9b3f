#include "jobs/journal/JournalLines.h"

#include "jobs/journal/JournalFile.h"
#include "platform/Paths.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <map>
#include <set>

namespace kitloom {

namespace {

using nlohmann::json;

template <typename Value>
Value valueOr(const json& object, const char* key, Value fallback)
{
    const auto found = object.find(key);
    if (found == object.end())
        return fallback;
    if constexpr (std::is_same_v<Value, std::string>)
        return found->is_string() ? found->get<std::string>() : fallback;
    else if constexpr (std::is_same_v<Value, bool>)
        return found->is_boolean() ? found->get<bool>() : fallback;
    else
        return found->is_number_integer() ? found->get<Value>() : fallback;
}

TableChangeKind changeKind(const std::string& name)
{
    if (name == "append")
        return TableChangeKind::Appended;
    if (name == "remove")
        return TableChangeKind::Removed;
    if (name == "restore")
        return TableChangeKind::Restored;
    return TableChangeKind::Other;
}

RecordedRecord recordOf(const json& object)
{
    RecordedRecord record;
    record.position = valueOr<std::uint32_t>(object, "position", 0);
    if (!bytesOfHex(valueOr<std::string>(object, "bytes", ""), record.bytes) ||
        record.bytes.size() != teamgear::kRecordSize)
        record = {};
    return record;
}

bool readLine(const json& line, std::map<int, RecordedJob>& jobs)
{
    const std::string event = valueOr<std::string>(line, "event", "");
    const int id = valueOr<int>(line, "job", 0);
    if (id <= 0)
        return false;
    if (event == "start") {
        RecordedJob& job = jobs[id];
        job.id = id;
        job.time = valueOr<std::string>(line, "time", "");
        job.startedAt = valueOr<std::int64_t>(line, "startedAt", 0);
        job.game = valueOr<std::string>(line, "game", "");
        if (const auto command = line.find("command"); command != line.end() && command->is_array())
            for (const json& arg : *command)
                job.command.push_back(arg.is_string() ? arg.get<std::string>() : "");
        if (const auto patches = line.find("patches"); patches != line.end() && patches->is_array())
            for (const json& patch : *patches)
                if (patch.is_object())
                    job.patches.push_back(
                        {valueOr<std::string>(patch, "path", ""), valueOr<std::string>(patch, "sha256", "")});
        if (const int undoes = valueOr<int>(line, "undoes", 0); undoes > 0)
            job.undoes = undoes;
        return true;
    }
    const auto found = jobs.find(id);
    if (found == jobs.end())
        return false;
    RecordedJob& job = found->second;
    if (event == "table") {
        RecordedTable table;
        table.path = valueOr<std::string>(line, "table", "");
        table.copy = valueOr<std::string>(line, "copy", "");
        table.finished = true;
        table.change = changeKind(valueOr<std::string>(line, "change", ""));
        if (const auto appended = line.find("appended"); appended != line.end() && appended->is_object())
            table.appended = recordOf(*appended);
        if (const auto removed = line.find("removed"); removed != line.end() && removed->is_array())
            for (const json& record : *removed)
                if (record.is_object())
                    table.removed.push_back(recordOf(record));
        table.sizeAfter = valueOr<std::uint64_t>(line, "size", 0);
        table.sha256After = valueOr<std::string>(line, "sha256", "");
        if (table.path.empty())
            return false;
        job.tables.push_back(std::move(table));
        return true;
    }
    if (event == "image") {
        RecordedImage image{valueOr<std::string>(line, "from", ""), valueOr<std::string>(line, "archive", ""),
                            valueOr<std::string>(line, "to", ""), valueOr<std::string>(line, "sha256", ""),
                            valueOr<std::string>(line, "replacedKeptAs", "")};
        if (image.to.empty())
            return false;
        job.images.push_back(std::move(image));
        return true;
    }
    if (event == "end") {
        job.ended = true;
        job.succeeded = valueOr<bool>(line, "succeeded", false);
        if (const auto jerseys = line.find("jerseys"); jerseys != line.end() && jerseys->is_array())
            for (const json& jersey : *jerseys)
                if (jersey.is_object())
                    job.jerseys.push_back({valueOr<std::string>(jersey, "name", ""),
                                           valueOr<std::string>(jersey, "year", ""),
                                           valueOr<std::string>(jersey, "team", "")});
        return true;
    }
    return false;
}

// The copies a job kept whose table line never came: it was cut short between the two.
void addUnfinishedTables(FileSystem& fileSystem, const std::string& folder, std::map<int, RecordedJob>& jobs)
{
    const std::string copies = folder + kCopiesFolderName + kPathSeparator;
    const auto names = fileSystem.fileNames(copies);
    if (!names)
        return;
    for (const std::string& name : *names) {
        const std::size_t dash = name.find('-');
        if (dash == std::string::npos || name.size() < 5 || name.compare(name.size() - 5, 5, ".copy") != 0 ||
            name.find("-image-") != std::string::npos)
            continue;
        const auto job = jobs.find(std::atoi(name.substr(0, dash).c_str()));
        if (job == jobs.end())
            continue;
        std::string bytes;
        if (!readWholeFile(fileSystem, copies + name, bytes))
            continue;
        for (const CopiedTable& copied : readTableCopies(bytes)) {
            if (std::any_of(job->second.tables.begin(), job->second.tables.end(), [&](const RecordedTable& table) {
                    return table.copy == name && table.path == copied.path;
                }))
                continue;
            RecordedTable unfinished;
            unfinished.path = copied.path;
            unfinished.copy = name;
            job->second.tables.push_back(std::move(unfinished));
        }
    }
}

// An undo that went through takes its job back; one undone in turn gives it back.
void markUndone(std::map<int, RecordedJob>& jobs)
{
    for (auto& [id, job] : jobs) {
        if (!job.undoes || !job.ended || !job.succeeded)
            continue;
        const auto undone = jobs.find(*job.undoes);
        if (undone == jobs.end() || undone->first >= id)
            continue;
        undone->second.undoneBy = id;
        if (undone->second.undoes) {
            const auto given = jobs.find(*undone->second.undoes);
            if (given != jobs.end() && given->second.undoneBy == undone->first)
                given->second.undoneBy.reset();
        }
    }
}

}  // namespace

const RecordedJob* ReadJournal::job(int id) const
{
    for (const RecordedJob& recorded : jobs) {
        if (recorded.id == id)
            return &recorded;
    }
    return nullptr;
}

ReadJournal readJournal(FileSystem& fileSystem, const std::string& folder)
{
    ReadJournal journal;
    std::vector<std::string> lines;
    journal.read = readJournalLines(fileSystem, folder, lines);
    if (!journal.read)
        return journal;
    std::map<int, RecordedJob> jobs;
    for (std::size_t at = 0; at < lines.size(); ++at) {
        if (lines[at].empty())
            continue;
        const json line = json::parse(lines[at], nullptr, false);
        if (line.is_discarded() || !line.is_object()) {
            journal.skipped.push_back({at + 1, false});
            continue;
        }
        if (!readLine(line, jobs))
            journal.skipped.push_back({at + 1, true});
    }
    addUnfinishedTables(fileSystem, folder, jobs);
    markUndone(jobs);
    for (auto& entry : jobs)
        journal.jobs.push_back(std::move(entry.second));
    return journal;
}

std::string tableCopyBytes(const std::vector<CopiedTable>& tables)
{
    std::string bytes;
    for (const CopiedTable& table : tables) {
        bytes += json({{"table", table.path}, {"size", table.bytes.size()}})
                     .dump(-1, ' ', false, json::error_handler_t::replace);
        bytes += '\n';
        bytes += table.bytes;
    }
    return bytes;
}

std::vector<CopiedTable> readTableCopies(const std::string& copy)
{
    std::vector<CopiedTable> tables;
    std::size_t at = 0;
    while (at < copy.size()) {
        const std::size_t end = copy.find('\n', at);
        if (end == std::string::npos)
            break;
        const json header = json::parse(copy.substr(at, end - at), nullptr, false);
        if (header.is_discarded() || !header.is_object())
            break;
        const std::string path = valueOr<std::string>(header, "table", "");
        const std::uint64_t size = valueOr<std::uint64_t>(header, "size", UINT64_MAX);
        if (path.empty() || size > copy.size() - end - 1)
            break;
        tables.push_back({path, copy.substr(end + 1, static_cast<std::size_t>(size))});
        at = end + 1 + static_cast<std::size_t>(size);
    }
    return tables;
}

bool readTableCopy(const std::string& copy, const std::string& tablePath, std::string& table)
{
    for (CopiedTable& copied : readTableCopies(copy)) {
        if (copied.path == tablePath) {
            table = std::move(copied.bytes);
            return true;
        }
    }
    return false;
}

std::string hexOf(const std::string& bytes)
{
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (unsigned char byte : bytes) {
        hex += kDigits[byte >> 4];
        hex += kDigits[byte & 0xF];
    }
    return hex;
}

bool bytesOfHex(const std::string& hex, std::string& bytes)
{
    auto digit = [](char c) { return c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1; };
    if (hex.size() % 2 != 0)
        return false;
    bytes.clear();
    for (std::size_t at = 0; at < hex.size(); at += 2) {
        const int high = digit(hex[at]);
        const int low = digit(hex[at + 1]);
        if (high < 0 || low < 0)
            return false;
        bytes += static_cast<char>(high * 16 + low);
    }
    return true;
}

}  // namespace kitloom
