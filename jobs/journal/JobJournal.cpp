#include "jobs/journal/JobJournal.h"

#include "jobs/journal/JournalFile.h"
#include "jobs/journal/JournalLines.h"
#include "patch/Sha256.h"
#include "platform/Environment.h"
#include "platform/Paths.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <ctime>

namespace kitloom {

namespace {

using nlohmann::ordered_json;

std::string lineOf(const ordered_json& object)
{
    return object.dump(-1, ' ', false, ordered_json::error_handler_t::replace);
}

// The largest job number the journal holds; a line cut short or broken is passed over.
int lastJobNumber(const std::string& journal)
{
    int last = 0;
    std::size_t start = 0;
    static constexpr std::string_view kStart = R"("event":"start")";
    while (start < journal.size()) {
        std::size_t end = journal.find('\n', start);
        if (end == std::string::npos)
            end = journal.size();
        const std::string_view line(journal.data() + start, end - start);
        if (line.find(kStart) != std::string_view::npos) {
            const nlohmann::json parsed = nlohmann::json::parse(line, nullptr, false);
            if (parsed.is_object() && parsed.contains("job") && parsed["job"].is_number_integer())
                last = std::max(last, parsed["job"].get<int>());
        }
        start = end + 1;
    }
    return last;
}

std::string fileDigest(FileSystem& fileSystem, const std::string& path)
{
    std::string bytes;
    return readWholeFile(fileSystem, path, bytes) ? sha256Hex(bytes) : std::string();
}

const char* changeName(ResultCode result)
{
    switch (result) {
    case ResultCode::Appended:
        return "append";
    case ResultCode::Removed:
        return "remove";
    default:
        return "other";
    }
}

ordered_json recordJson(std::uint32_t position, const std::string& bytes)
{
    return {{"position", position}, {"bytes", hexOf(bytes)}};
}

}  // namespace

JobJournal::JobJournal(FileSystem& fileSystem, std::string folder, std::int64_t now, JobStart job)
    : fileSystem_(fileSystem), folder_(std::move(folder)), now_(now), job_(std::move(job))
{
}

Done JobJournal::start()
{
    if (started())
        return {};
    if (!startTrouble_.empty())
        return Done::failure(startTrouble_);
    Done started = start(job_);
    if (!started)
        startTrouble_ = started.reason().empty() ? "it could not be written" : started.reason();
    return started;
}

// Copies outlive a journal a player deleted by hand: a new job never takes their number, or
// they would pass for its own.
int JobJournal::lastCopiedJob() const
{
    int last = 0;
    if (const auto names = fileSystem_.fileNames(copiesFolder()))
        for (const std::string& name : *names)
            last = std::max(last, std::atoi(name.c_str()));
    return last;
}

std::string JobJournal::copiesFolder() const { return folder_ + kCopiesFolderName + kPathSeparator; }

Done JobJournal::start(const JobStart& job)
{
    if (Done made = makeFolders(fileSystem_, copiesFolder()); !made)
        return made;
    ordered_json patches = ordered_json::array();
    for (const std::string& path : job.patchPaths)
        patches.push_back({{"path", fileSystem_.fullPath(path)}, {"sha256", fileDigest(fileSystem_, path)}});
    ordered_json line = {{"job", 0},          {"event", "start"},       {"time", utcTime(now_)},
                         {"startedAt", now_}, {"command", job.command}, {"game", job.game},
                         {"patches", patches}};
    if (job.undoes)
        line["undoes"] = *job.undoes;
    // The number is taken under the journal's lock, from the journal itself: two jobs at
    // once get two.
    return appendJournalLine(fileSystem_, folder_, {}, true, [&](const std::string& journal) {
        id_ = std::max(lastJobNumber(journal), lastCopiedJob()) + 1;
        line["job"] = id_;
        return lineOf(line);
    });
}

Done JobJournal::beforeChange(const std::string& path, OpenFile& table)
{
    if (!started()) {
        // The game is the folder that holds the saves the table is in.
        if (job_.game.empty())
            job_.game = folderOfPath(withoutClosingSeparator(folderOfPath(withoutClosingSeparator(folderOfPath(path)))));
        if (Done begun = start(); !begun)
            return Done::failure("the journal could not be written in " + folder_ + ": " + begun.reason());
    }
    std::string bytes;
    if (Done read = readOpenFile(table, bytes); !read)
        return read;
    const std::string name = std::to_string(id_) + "-" + std::to_string(++copies_) + ".copy";
    // Written whole and on the disk before the table's first change.
    if (Done kept = fileSystem_.replaceFile(copiesFolder() + name, tableCopyBytes({{path, bytes}})); !kept)
        return Done::failure("its copy could not be kept in " + copiesFolder() + ": " + kept.reason());
    copyOf_[path] = {name, std::move(bytes)};
    return {};
}

void JobJournal::afterChange(const std::string& path, OpenFile& table, const TableReport& report)
{
    const auto& [copy, before] = copyOf_[path];
    std::string after;
    const bool read = static_cast<bool>(readOpenFile(table, after));
    if (read && after == before) {
        // A change that failed and was taken back: nothing to undo, and nothing to keep.
        fileSystem_.removeFile(copiesFolder() + copy);
        return;
    }
    ordered_json line = {{"job", id_}, {"event", "table"}, {"table", path}, {"copy", copy}};
    line["change"] = changeName(report.result);
    if (report.result == ResultCode::Appended && read) {
        const std::uint64_t at = teamgear::recordOffset(report.recordNumber - 1);
        if (at + teamgear::kRecordSize <= after.size())
            line["appended"] = recordJson(report.recordNumber, after.substr(at, teamgear::kRecordSize));
    }
    if (report.result == ResultCode::Removed) {
        ordered_json removed = ordered_json::array();
        for (std::uint32_t position = report.countAfter + report.removed; position > report.countAfter; --position) {
            const std::uint64_t at = teamgear::recordOffset(position - 1);
            if (at + teamgear::kRecordSize <= before.size())
                removed.push_back(recordJson(position, before.substr(at, teamgear::kRecordSize)));
        }
        line["removed"] = removed;
    }
    line["size"] = after.size();
    line["sha256"] = read ? sha256Hex(after) : std::string();
    appendLine(lineOf(line), false);
}

void JobJournal::tableRestored(const std::string& path, FileSystem& fileSystem)
{
    std::string after;
    readWholeFile(fileSystem, path, after);
    appendLine(lineOf({{"job", id_},
                       {"event", "table"},
                       {"table", path},
                       {"copy", copyOf_[path].first},
                       {"change", "restore"},
                       {"size", after.size()},
                       {"sha256", sha256Hex(after)}}),
               false);
}

Done JobJournal::ready()
{
    if (Done made = makeFolders(fileSystem_, copiesFolder()); !made)
        return Done::failure(copiesFolder() + ": " + made.reason());
    if (Done writable = fileSystem_.mayWriteIn(copiesFolder()); !writable)
        return Done::failure(copiesFolder() + ": " + writable.reason());
    return {};
}

std::string JobJournal::replacedImagesPrefix() const { return copiesFolder() + std::to_string(id_) + "-image-"; }

void JobJournal::imagePlaced(const RecordedImage& image)
{
    if (!start())
        return;
    ordered_json line = {{"job", id_}, {"event", "image"}, {"from", image.from}};
    if (!image.archive.empty())
        line["archive"] = image.archive;
    line["to"] = image.to;
    line["sha256"] = image.sha256.empty() ? fileDigest(fileSystem_, image.to) : image.sha256;
    if (!image.replacedKeptAs.empty())
        line["replacedKeptAs"] = image.replacedKeptAs;
    appendLine(lineOf(line), false);
}

void JobJournal::finish(bool succeeded, const std::vector<RecordedJersey>& jerseys)
{
    if (!started())
        return;
    ordered_json shown = ordered_json::array();
    for (const RecordedJersey& jersey : jerseys)
        shown.push_back({{"name", jersey.name}, {"year", jersey.year}, {"team", jersey.team}});
    appendLine(lineOf({{"job", id_}, {"event", "end"}, {"succeeded", succeeded}, {"jerseys", shown}}), true);
}

void JobJournal::appendLine(const std::string& line, bool flush)
{
    if (!started())
        return;
    const Done written = appendJournalLine(fileSystem_, folder_, line, flush);
    if (!written && trouble_.empty())
        trouble_ = written.reason();
}

std::optional<std::string> journalFolder()
{
#ifdef _WIN32
    const auto local = environmentValue("LOCALAPPDATA");
    if (!local || local->empty())
        return std::nullopt;
    return withClosingSeparator(*local) + "kitloom" + kPathSeparator;
#else
    const auto state = environmentValue("XDG_STATE_HOME");
    if (state && !state->empty() && state->front() == '/')
        return withClosingSeparator(*state) + "kitloom/";
    const auto home = environmentValue("HOME");
    if (!home || home->empty())
        return std::nullopt;
    return withClosingSeparator(*home) + ".local/state/kitloom/";
#endif
}

std::string utcTime(std::int64_t secondsSince1970)
{
    const std::time_t time = static_cast<std::time_t>(secondsSince1970);
    const std::tm* utc = std::gmtime(&time);
    char text[32] = "";
    if (utc)
        std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", utc);
    return text;
}

std::int64_t secondsNow()
{
    return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch()).count();
}

}  // namespace kitloom
