#include "jobs/UndoJob.h"

#include "core/LittleEndian.h"
#include "core/LockedTable.h"
#include "core/TeamGearTable.h"
#include "jobs/journal/JournalFile.h"
#include "patch/Sha256.h"
#include "platform/Paths.h"

#include <algorithm>
#include <cstring>

namespace kitloom {

namespace {

using namespace teamgear;

// The first later job, still standing, that changed the same table.
std::optional<int> laterJobOn(const ReadJournal& journal, const RecordedJob& job, const std::string& path)
{
    for (const RecordedJob& later : journal.jobs) {
        if (later.id <= job.id || later.undoneBy)
            continue;
        for (const RecordedTable& table : later.tables) {
            if (table.path == path)
                return later.id;
        }
    }
    return std::nullopt;
}

std::uint32_t countOf(const std::string& table) { return littleendian::readUInt32(table.data() + kRecordCountOffset); }

// A job cut short left no word of what it did to the table: only its own change can be
// taken back, an append or a removal from the end, which leaves the header and every
// earlier record as they were.
bool onlyTheJobsChange(const std::string& before, const std::string& now)
{
    if (before.size() < kHeaderSize || now.size() < kHeaderSize)
        return false;
    if (before.compare(0, kRecordCountOffset, now, 0, kRecordCountOffset) != 0 ||
        before.compare(kRecordCountOffset + kRecordCountSize, kHeaderSize - kRecordCountOffset - kRecordCountSize, now,
                       kRecordCountOffset + kRecordCountSize, kHeaderSize - kRecordCountOffset - kRecordCountSize) != 0)
        return false;
    const std::uint32_t was = countOf(before);
    const std::uint32_t is = countOf(now);
    if (is > was + 1)
        return false;
    const std::uint64_t kept = recordOffset(std::min(was, is));
    return kept <= before.size() && kept <= now.size() &&
           before.compare(kHeaderSize, kept - kHeaderSize, now, kHeaderSize, kept - kHeaderSize) == 0;
}

class Undo {
public:
    Undo(FileSystem& fileSystem, const UndoRequest& request, const ReadJournal& journal, UndoResult& result)
        : fileSystem_(fileSystem), request_(request), journal_(journal), result_(result)
    {
    }

    UndoneTable table(const RecordedTable& recorded);
    UndoneImage image(const RecordedImage& recorded);

private:
    UndoneTable putBack(LockedTable& table, const std::string& before, UndoneTable undone);
    UndoneTable cutOwnRecord(const RecordedTable& recorded, UndoneTable undone);

    FileSystem& fileSystem_;
    const UndoRequest& request_;
    const ReadJournal& journal_;
    UndoResult& result_;
};

UndoneTable Undo::putBack(LockedTable& table, const std::string& before, UndoneTable undone)
{
    undone.outcome = UndoTableOutcome::Restored;
    if (request_.dryRun)
        return undone;
    JobJournal* journal = request_.journal;
    Done done = journal ? journal->beforeChange(undone.path, table.file()) : Done();
    if (done)
        done = table.replaceWith(before);
    if (!done) {
        undone.outcome = UndoTableOutcome::CannotUse;
        undone.reason = done.reason();
        return undone;
    }
    if (journal)
        journal->tableRestored(undone.path, fileSystem_);
    return undone;
}

UndoneTable Undo::cutOwnRecord(const RecordedTable& recorded, UndoneTable undone)
{
    TeamGearRecord record{};
    std::memcpy(record.data(), recorded.appended.bytes.data(), record.size());
    const TableReport cut = TeamGearTable(fileSystem_, recorded.path,
                                          request_.dryRun ? TableAccess::DryRun : TableAccess::Change,
                                          request_.dryRun ? nullptr : request_.journal)
                                .removeLastIfExactly(record);
    if (cut.result == ResultCode::Removed) {
        undone.outcome = UndoTableOutcome::RecordCut;
    } else if (cut.result != ResultCode::NoMatch) {
        undone.outcome = UndoTableOutcome::CannotUse;
        undone.reason = cut.reason;
    }
    return undone;
}

UndoneTable Undo::table(const RecordedTable& recorded)
{
    UndoneTable undone;
    undone.path = recorded.path;
    undone.outcome = UndoTableOutcome::ChangedSince;
    undone.laterJob = laterJobOn(journal_, result_.job, recorded.path);

    std::string copy;
    std::string before;
    const bool copied =
        !recorded.copy.empty() &&
        readWholeFile(fileSystem_, request_.journalFolder + kCopiesFolderName + kPathSeparator + recorded.copy, copy) &&
        readTableCopy(copy, recorded.path, before);

    const bool ownRecordKnown = recorded.change == TableChangeKind::Appended &&
                                recorded.appended.bytes.size() == kRecordSize;
    {
        LockedTable table(fileSystem_, recorded.path);
        if (!table.held()) {
            undone.outcome = UndoTableOutcome::CannotUse;
            undone.reason = table.reason();
            return undone;
        }
        const std::string& now = table.bytes();
        if (copied && now == before) {
            undone.outcome = UndoTableOutcome::AlreadyAsBefore;
            return undone;
        }
        // Never written unless it is what the job left: byte for byte, or for a job cut short
        // before it said, its copy with no change but the job's own.
        const bool asLeft = recorded.finished ? sha256Hex(now) == recorded.sha256After
                                              : !undone.laterJob && copied && onlyTheJobsChange(before, now);
        if (asLeft && copied) {
            undone.laterJob.reset();
            return putBack(table, before, undone);
        }
        if (asLeft && !ownRecordKnown) {
            undone.outcome = UndoTableOutcome::CopyGone;
            return undone;
        }
    }
    if (!ownRecordKnown)
        return undone;
    UndoneTable cut = cutOwnRecord(recorded, undone);
    if (cut.outcome == UndoTableOutcome::RecordCut)
        cut.laterJob.reset();
    // An undo cut short in the middle of its writes leaves a tail a writer's check cuts off:
    // then the table may be as before already.
    // The cut closes the table with its end marker, which the copy may lack.
    if (cut.outcome == UndoTableOutcome::ChangedSince && copied && !request_.dryRun) {
        LockedTable again(fileSystem_, recorded.path);
        if (again.held() && again.bytes() == before) {
            cut.outcome = UndoTableOutcome::AlreadyAsBefore;
            cut.laterJob.reset();
        } else if (again.held() && again.bytes() == before + static_cast<char>(kEndOfFileMarker)) {
            cut.laterJob.reset();
            return putBack(again, before, cut);
        }
    }
    return cut;
}

UndoneImage Undo::image(const RecordedImage& recorded)
{
    UndoneImage undone;
    undone.image = recorded;
    std::string bytes;
    if (fileSystem_.kindOf(recorded.to) != EntryKind::RegularFile) {
        undone.outcome = UndoImageOutcome::AlreadyGone;
    } else if (!readWholeFile(fileSystem_, recorded.to, bytes) || sha256Hex(bytes) != recorded.sha256) {
        undone.outcome = UndoImageOutcome::ChangedSince;
        return undone;
    } else if (!recorded.archive.empty()) {
        Done removed = request_.dryRun ? Done() : fileSystem_.removeFile(recorded.to);
        undone.outcome = removed ? UndoImageOutcome::Deleted : UndoImageOutcome::CannotMove;
        undone.reason = removed.reason();
    } else if (fileSystem_.exists(recorded.from)) {
        undone.outcome = UndoImageOutcome::PlaceTaken;
        return undone;
    } else {
        MoveDone moved = request_.dryRun ? MoveDone{MoveResult::Moved, {}, false}
                                         : fileSystem_.moveFile(recorded.to, recorded.from);
        undone.outcome = moved.result == MoveResult::Moved ? UndoImageOutcome::MovedBack : UndoImageOutcome::CannotMove;
        undone.reason = moved.reason;
        if (moved.result == MoveResult::Moved && !request_.dryRun && request_.journal)
            request_.journal->imagePlaced({recorded.to, {}, recorded.from, recorded.sha256, {}});
    }
    if (undone.outcome == UndoImageOutcome::CannotMove || recorded.replacedKeptAs.empty())
        return undone;
    MoveDone back = request_.dryRun ? MoveDone{MoveResult::Moved, {}, false}
                                    : fileSystem_.moveFile(recorded.replacedKeptAs, recorded.to);
    undone.replacedPutBack = back.result == MoveResult::Moved;
    if (!undone.replacedPutBack) {
        undone.outcome = UndoImageOutcome::CannotMove;
        undone.reason = back.reason;
    }
    return undone;
}

bool wentBack(const UndoneTable& table)
{
    return table.outcome == UndoTableOutcome::Restored || table.outcome == UndoTableOutcome::RecordCut ||
           table.outcome == UndoTableOutcome::AlreadyAsBefore;
}

bool wentBack(const UndoneImage& image)
{
    return image.outcome == UndoImageOutcome::MovedBack || image.outcome == UndoImageOutcome::Deleted ||
           (image.outcome == UndoImageOutcome::AlreadyGone && !image.image.archive.empty());
}

}  // namespace

const RecordedJob* latestUndoable(const ReadJournal& journal)
{
    for (auto job = journal.jobs.rbegin(); job != journal.jobs.rend(); ++job) {
        if (!job->undoneBy && !job->undoes && (!job->tables.empty() || !job->images.empty()))
            return &*job;
    }
    return nullptr;
}

UndoResult undoJob(FileSystem& fileSystem, const UndoRequest& request)
{
    UndoResult result;
    const ReadJournal journal = readJournal(fileSystem, request.journalFolder);
    result.skipped = journal.skipped;
    if (!journal.read) {
        result.trouble = UndoTrouble::CannotReadJournal;
        result.reason = journal.read.reason();
        return result;
    }
    const RecordedJob* job = request.job ? journal.job(*request.job) : latestUndoable(journal);
    if (!job) {
        result.trouble = request.job ? UndoTrouble::NoSuchJob : UndoTrouble::NothingToUndo;
        return result;
    }
    result.job = *job;
    if (job->undoneBy) {
        result.trouble = UndoTrouble::AlreadyUndone;
        result.undoneBy = job->undoneBy;
        return result;
    }
    if (request.journal && !request.dryRun) {
        JobStart start;
        start.command = request.command;
        start.game = job->game;
        start.undoes = job->id;
        if (Done started = request.journal->start(start); !started) {
            result.trouble = UndoTrouble::CannotRecord;
            result.reason = started.reason();
            return result;
        }
    }
    Undo undo(fileSystem, request, journal, result);
    bool allBack = true;
    for (auto table = job->tables.rbegin(); table != job->tables.rend(); ++table) {
        result.tables.push_back(undo.table(*table));
        allBack = allBack && wentBack(result.tables.back());
    }
    for (auto image = job->images.rbegin(); image != job->images.rend(); ++image) {
        result.images.push_back(undo.image(*image));
        allBack = allBack && wentBack(result.images.back());
    }
    result.status = allBack ? JobStatus::Succeeded : JobStatus::Failed;
    return result;
}

}  // namespace kitloom
