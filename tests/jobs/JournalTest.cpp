// The journal and undo: what a job recorded gives every table back as it was, through a
// power cut, a second writer, another program's change, a damaged journal and its limits.
#include "app/ProgramHooks.h"
#include "core/SaveTarget.h"
#include "core/TeamGearTable.h"
#include "jobs/AddJob.h"
#include "jobs/UndoJob.h"
#include "jobs/journal/CopySpace.h"
#include "jobs/journal/JobJournal.h"
#include "jobs/journal/JournalFile.h"
#include "patch/Sha256.h"
#include "tests/support/FaultyFileSystem.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <fstream>
#include <thread>

namespace kitloom::test {
namespace {

constexpr std::int64_t kNow = 1796900000;

JerseyForm jerseyForm(const std::string& name)
{
    JerseyForm form;
    form.teamNumber = "5";
    form.jerseyName = name;
    form.year = "1998-99";
    return form;
}

// A game of three saves, and a journal beside it.
class JournalTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* save : {"000", "001", "002"})
            tables.push_back(addSaveTable(game, save, 3).string());
    }
    std::string journalFolder() const { return journal.prefix(); }

    AddResult add(FileSystem& fileSystem, TableWitness* witness, const std::string& name = "ABCD",
                  const std::string& slot = "")
    {
        AddRequest request;
        request.form = jerseyForm(name);
        request.form.saveSlot = slot;
        request.game.given = game.prefix();
        request.hooks = &kProgramHooks;
        request.witness = witness;
        return addJersey(fileSystem, request);
    }
    // A journaled add, as kitloom-cli records one; the job's number.
    int recordedAdd(FileSystem& fileSystem = systemFileSystem(), const std::string& name = "ABCD",
                    const std::string& slot = "")
    {
        JobJournal record(fileSystem, journalFolder(), kNow);
        const AddResult added = add(fileSystem, &record, name, slot);
        record.finish(added.status == JobStatus::Succeeded, {});
        return record.id();
    }
    UndoResult undo(std::optional<int> job = std::nullopt, FileSystem& fileSystem = systemFileSystem(),
                    JobJournal* record = nullptr)
    {
        // Recorded, as kitloom-cli's are: the journal then knows the job is undone.
        std::optional<JobJournal> own;
        if (!record)
            record = &own.emplace(fileSystem, journalFolder(), kNow);
        UndoRequest request;
        request.journalFolder = journalFolder();
        request.job = job;
        request.journal = record;
        UndoResult result = undoJob(fileSystem, request);
        record->finish(result.status == JobStatus::Succeeded, {});
        return result;
    }
    std::vector<Bytes> allTables() const
    {
        std::vector<Bytes> bytes;
        for (const std::string& table : tables)
            bytes.push_back(readBytes(table));
        return bytes;
    }
    static std::vector<TeamGearRecord> recordsOf(const std::string& table)
    {
        return TeamGearTable(systemFileSystem(), table, TableAccess::Read).readRecords().records;
    }

    TempFolder game;
    TempFolder journal;
    std::vector<std::string> tables;
};

TEST_F(JournalTest, APowerCutAtAnyOperationOfAJobOrItsUndoLeavesEachTableBeforeOrAfterAndUndoGivesItBack)
{
    const std::vector<Bytes> before = allTables();
    std::vector<std::vector<TeamGearRecord>> recordsBefore;
    for (const std::string& table : tables)
        recordsBefore.push_back(recordsOf(table));
    ASSERT_EQ(add(systemFileSystem(), nullptr).status, JobStatus::Succeeded);
    std::vector<std::vector<TeamGearRecord>> recordsAfter;
    for (const std::string& table : tables)
        recordsAfter.push_back(recordsOf(table));
    auto eachTableBeforeOrAfter = [&](int k, const char* cut) {
        for (std::size_t at = 0; at < tables.size(); ++at) {
            const auto records = recordsOf(tables[at]);
            EXPECT_TRUE(records == recordsBefore[at] || records == recordsAfter[at])
                << cut << " cut at operation " << k << ": " << tables[at];
        }
    };
    auto putBack = [&](const std::vector<Bytes>& bytes) {
        for (std::size_t at = 0; at < tables.size(); ++at)
            writeBytes(tables[at], bytes[at]);
        std::filesystem::remove_all(journal.path());
        std::filesystem::create_directory(journal.path());
    };

    // The job cut short at each of its operations in turn, then undone from what reached the disk.
    bool cutEveryWhere = false;
    for (int k = 1; k < 400 && !cutEveryWhere; ++k) {
        putBack(before);
        FaultyFileSystem faulty(k, Fault::CrashFromOn);
        recordedAdd(faulty);
        cutEveryWhere = !faulty.sawFault();
        eachTableBeforeOrAfter(k, "the add");
        const UndoResult undone = undo();
        if (undone.trouble == UndoTrouble::None) {
            EXPECT_EQ(undone.status, JobStatus::Succeeded) << "the add cut at operation " << k;
        }
        EXPECT_EQ(allTables(), before) << "the add cut at operation " << k << ", then undone";
    }
    ASSERT_TRUE(cutEveryWhere);

    // The undo cut short in turn: each table as the job left it or as before it, and a second
    // undo finishes the work.
    cutEveryWhere = false;
    for (int k = 1; k < 400 && !cutEveryWhere; ++k) {
        putBack(before);
        const int job = recordedAdd();
        FaultyFileSystem faulty(k, Fault::CrashFromOn);
        JobJournal undoRecord(faulty, journalFolder(), kNow);
        undo(job, faulty, &undoRecord);
        cutEveryWhere = !faulty.sawFault();
        eachTableBeforeOrAfter(k, "the undo");
        const UndoResult again = undo(job);
        EXPECT_TRUE(again.trouble == UndoTrouble::None || again.trouble == UndoTrouble::AlreadyUndone)
            << "the undo cut at operation " << k;
        std::string outcomes;
        for (const UndoneTable& table : again.tables)
            outcomes += " " + std::to_string(static_cast<int>(table.outcome)) + " " + table.reason + ";";
        for (std::size_t at = 0; at < tables.size(); ++at)
            outcomes += " " + std::to_string(readBytes(tables[at]).size()) + "/" + std::to_string(before[at].size());
        EXPECT_EQ(allTables(), before) << "the undo cut at operation " << k << ", then undone again:" << outcomes;
    }
    EXPECT_TRUE(cutEveryWhere);
}

TEST_F(JournalTest, TwoWritersAtOnceAreBothRecordedWholeAndEachJobUndoesAlone)
{
    const std::vector<Bytes> before = allTables();
    constexpr int kJobsEach = 8;
    auto writer = [&](const std::string& name) {
        for (int i = 0; i < kJobsEach; ++i)
            recordedAdd(systemFileSystem(), name, "000");
    };
    std::thread first(writer, "WRAZ");
    std::thread second(writer, "WRBZ");
    first.join();
    second.join();

    const ReadJournal recorded = readJournal(systemFileSystem(), journalFolder());
    EXPECT_TRUE(recorded.skipped.empty());
    ASSERT_EQ(recorded.jobs.size(), 2u * kJobsEach);
    for (std::size_t at = 0; at < recorded.jobs.size(); ++at) {
        const RecordedJob& job = recorded.jobs[at];
        EXPECT_EQ(job.id, static_cast<int>(at) + 1) << "every job has a number of its own";
        EXPECT_TRUE(job.ended && job.succeeded);
        ASSERT_EQ(job.tables.size(), 1u);
        EXPECT_TRUE(job.tables[0].finished);
    }
    EXPECT_EQ(recordCountOf(readBytes(tables[0])), 3u + 2 * kJobsEach);
    // Newest first, each undo puts its table back from its own copy.
    for (int i = 0; i < 2 * kJobsEach; ++i) {
        const UndoResult undone = undo();
        ASSERT_EQ(undone.status, JobStatus::Succeeded)
            << i << ": " << (undone.tables.empty() ? std::string("no table") : undone.tables[0].reason);
        EXPECT_EQ(undone.tables.at(0).outcome, UndoTableOutcome::Restored);
    }
    EXPECT_EQ(allTables(), before);
    EXPECT_EQ(undo().trouble, UndoTrouble::NothingToUndo);
}

TEST_F(JournalTest, ATableChangedSinceKeepsThatChangeAndIsNeverWrittenBlind)
{
    const std::vector<Bytes> before = allTables();
    const int first = recordedAdd();
    // kitloom.exe adds to save 001, which it does not record; the game rewrites a header byte
    // of save 002.
    ASSERT_EQ(add(systemFileSystem(), nullptr, "PROG", "001").status, JobStatus::Succeeded);
    const Bytes programs = readBytes(tables[1]);
    Bytes touched = readBytes(tables[2]);
    touched[1] ^= 0x01;
    writeBytes(tables[2], touched);
    // A later job changes save 000.
    const int second = recordedAdd(systemFileSystem(), "LATE", "000");

    UndoResult undone = undo(first);
    ASSERT_EQ(undone.tables.size(), 3u);
    EXPECT_EQ(undone.status, JobStatus::Failed);
    EXPECT_EQ(undone.tables[0].path, tables[2]);
    EXPECT_EQ(undone.tables[0].outcome, UndoTableOutcome::RecordCut) << "its own record was still the last";
    EXPECT_EQ(undone.tables[1].outcome, UndoTableOutcome::ChangedSince);
    EXPECT_FALSE(undone.tables[1].laterJob) << "another program's change";
    EXPECT_EQ(undone.tables[2].outcome, UndoTableOutcome::ChangedSince);
    EXPECT_EQ(undone.tables[2].laterJob, second);
    EXPECT_EQ(readBytes(tables[1]), programs) << "left as it is";
    Bytes expected = before[2];
    expected[1] ^= 0x01;
    EXPECT_EQ(readBytes(tables[2]), expected) << "the game's change stays";

    // Once the later job is undone, the first one's own record in save 000 can go too.
    EXPECT_EQ(undo(second).status, JobStatus::Succeeded);
    undone = undo(first);
    EXPECT_EQ(undone.tables[2].outcome, UndoTableOutcome::Restored);
    EXPECT_EQ(readBytes(tables[0]), before[0]);
}

TEST_F(JournalTest, DamagedAndUnknownLinesAreSkippedAndTheRestStillUndoes)
{
    const std::vector<Bytes> before = allTables();
    recordedAdd(systemFileSystem(), "ABCD", "000");
    {
        std::ofstream journalFile(journal / kJournalFileName, std::ios::app | std::ios::binary);
        journalFile << "not json at all\n"
                    << R"({"job":1,"event":"table","table":"/x",)" << '\n'  // cut by a crash
                    << R"({"job":1,"event":"a-later-version's","what":1})" << '\n'
                    << "[1,2]\n"
                    << R"({"job":99,"event":"end"})" << '\n'
                    << R"({"job":1,"event":"image","from":7,"to":""})";  // no newline: cut
    }
    recordedAdd(systemFileSystem(), "EFGH", "001");
    const ReadJournal recorded = readJournal(systemFileSystem(), journalFolder());
    ASSERT_EQ(recorded.jobs.size(), 2u);
    EXPECT_EQ(recorded.jobs[1].id, 2) << "a number after the damaged lines still";
    ASSERT_EQ(recorded.skipped.size(), 6u);
    EXPECT_FALSE(recorded.skipped[0].unknown);
    EXPECT_FALSE(recorded.skipped[1].unknown);
    EXPECT_TRUE(recorded.skipped[2].unknown);
    EXPECT_EQ(undo().status, JobStatus::Succeeded);
    EXPECT_EQ(undo().status, JobStatus::Succeeded);
    EXPECT_EQ(allTables(), before);
}

TEST_F(JournalTest, CopiesGoOldestFirstPastTheLimitsAndSuchAJobUndoesRecordByRecord)
{
    for (int i = 0; i < 5; ++i)
        recordedAdd(systemFileSystem(), "JB" + std::to_string(i) + "Z", "000");
    ReadJournal recorded = readJournal(systemFileSystem(), journalFolder());
    auto copySize = [&](int job) {
        return std::filesystem::file_size(journal /
                                          (std::string(kCopiesFolderName) + "/" + std::to_string(job) + "-1.copy"));
    };
    const std::uint64_t newestThree = copySize(5) + copySize(4) + copySize(3);

    // By count, then by size: the newest jobs keep theirs.
    EXPECT_EQ(letOldCopiesGo(systemFileSystem(), journalFolder(), recorded, kNow, {4, 1000000, 1 << 30}), 1);
    EXPECT_FALSE(copiesKept(systemFileSystem(), journalFolder(), recorded.jobs[0]));
    EXPECT_TRUE(copiesKept(systemFileSystem(), journalFolder(), recorded.jobs[1]));
    EXPECT_EQ(letOldCopiesGo(systemFileSystem(), journalFolder(), recorded, kNow, {100, 1000000, newestThree + 10}), 1);
    EXPECT_FALSE(copiesKept(systemFileSystem(), journalFolder(), recorded.jobs[1]));
    EXPECT_TRUE(copiesKept(systemFileSystem(), journalFolder(), recorded.jobs[2]));
    // By age: a job older than the limit, though among the newest.
    EXPECT_EQ(letOldCopiesGo(systemFileSystem(), journalFolder(), recorded, kNow + 91LL * 24 * 3600), 3);
    EXPECT_TRUE(readJournal(systemFileSystem(), journalFolder()).jobs.size() == 5u) << "the lines stay";

    // Without copies, each job's own record is cut, newest first.
    const Bytes before = readBytes(tables[0]);
    for (int job = 5; job >= 1; --job) {
        const UndoResult undone = undo(job);
        ASSERT_EQ(undone.status, JobStatus::Succeeded) << job;
        EXPECT_EQ(undone.tables.at(0).outcome, UndoTableOutcome::RecordCut);
    }
    EXPECT_EQ(recordCountOf(readBytes(tables[0])), 3u);
    EXPECT_EQ(recordCountOf(before), 8u);
}

TEST(Sha256Test, GivesTheStandardDigests)
{
    EXPECT_EQ(sha256Hex(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(sha256Hex("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(sha256Hex("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
              "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
    Sha256 pieces;
    const std::string million(1000000, 'a');
    for (std::size_t at = 0; at < million.size(); at += 999)
        pieces.add(std::string_view(million).substr(at, 999));
    EXPECT_EQ(pieces.hexDigest(), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
}

}  // namespace
}  // namespace kitloom::test
