#include "core/SaveSweep.h"
#include "jobs/SystemMessages.h"

#include "tests/support/FaultyFileSystem.h"
#include "tests/support/TestSupport.h"

#include "core/TeamGearLayout.h"
#include "platform/SystemError.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <initializer_list>
#include <thread>

namespace kitloom::test {
namespace {

// The record that appending exampleJersey(8) as record `number` makes from `copied`.
Bytes expectedRecord(const Bytes& copied, const char (&number)[4], const char (&team)[3], const char (&accessory)[3],
                     const char (&shoe)[3])
{
    Bytes record = copied;
    std::memcpy(&record[3], number, 3);
    std::memcpy(&record[6], team, 2);
    record[8] = '2';
    std::memcpy(&record[9], "ABCD", 4);
    std::memcpy(&record[13], "1998-99", 7);
    std::memcpy(&record[20], accessory, 2);
    std::memcpy(&record[23], shoe, 2);
    record[25] = '1';
    record[26] = '1';
    record[27] = '1';
    return record;
}

Bytes lastRecordOf(const Bytes& table, std::size_t trailing = 0)
{
    return Bytes(table.end() - 29 - static_cast<std::ptrdiff_t>(trailing),
                 table.end() - static_cast<std::ptrdiff_t>(trailing));
}

class TeamGearTableTest : public ::testing::Test {
protected:
    std::string table() const { return folder / "teamgear.dbf"; }
    // Appends, and keeps what the program would say of a failure.
    ResultCode append(const JerseySpec& spec = exampleJersey(8))
    {
        const ResultCode result = SaveSweep(systemFileSystem()).appendToTable(table(), spec).result;
        if (result != ResultCode::Appended)
            messages.shown.push_back(systemMessage(messageFor(result)));
        return result;
    }

    // Installs into the table as a dry run, then for real: the dry run must change no byte
    // and foresee the real run's report and messages.
    TableReport installBothWays(const JerseySpec& spec = exampleJersey(8))
    {
        const Bytes before = readBytes(table());
        RecordingProgress dry;
        RecordingProgress real;
        const SweepReport dryJob =
            SaveSweep(systemFileSystem(), {true, dry.callback()}).append(SaveTarget::oneTable(table()), spec);
        EXPECT_EQ(readBytes(table()), before) << "a dry run changes nothing";
        const SweepReport realJob =
            SaveSweep(systemFileSystem(), {false, real.callback()}).append(SaveTarget::oneTable(table()), spec);
        EXPECT_EQ(dry.reports, real.reports);
        EXPECT_EQ(dryJob.tables, realJob.tables);
        EXPECT_EQ(installMessages(dryJob), installMessages(realJob));
        return real.reports.at(0);
    }
    TableReport remove(const JerseyMatch& match, bool dryRun = false)
    {
        return TeamGearTable(systemFileSystem(), table(), dryRun ? TableAccess::DryRun : TableAccess::Change)
            .removeLastWhile(match);
    }

    TempFolder folder;
    RecordingMessages messages;
};

JerseyMatch matchOf(const JerseySpec& spec)
{
    JerseyMatch match;
    std::copy_n(spec.jerseyName.begin(), match.jerseyName.size(), match.jerseyName.begin());
    std::copy_n(spec.year.begin(), match.year.size(), match.year.begin());
    return match;
}

using Records = std::vector<TeamGearRecord>;

// The records of the table at `path` as the game reads them; none when it does not read.
Records recordsIn(const std::string& path)
{
    TableReport read = TeamGearTable(systemFileSystem(), path, TableAccess::Read).readRecords();
    EXPECT_EQ(read.result, ResultCode::Read) << path;
    return read.records;
}

// True when a run through `faulty` made operations of every kind in `kinds`.
bool sawAll(const FaultyFileSystem& faulty, std::initializer_list<Operation> kinds)
{
    const auto& seen = faulty.operations();
    return std::all_of(kinds.begin(), kinds.end(),
                       [&](Operation kind) { return std::find(seen.begin(), seen.end(), kind) != seen.end(); });
}

// The table's bytes as the game reads them: the closing marker is optional.
Bytes withoutMarker(Bytes bytes)
{
    if ((bytes.size() - 386) % 29 == 1 && bytes.back() == 0x1A)
        bytes.pop_back();
    return bytes;
}

TEST_F(TeamGearTableTest, AppendsCopyOfLastRecordWithFieldsOverwritten)
{
    writeBytes(table(), makeTable(5));

    const TableReport report = installBothWays();
    EXPECT_EQ(report.result, ResultCode::Appended);
    EXPECT_EQ(report.recordNumber, 6u);

    Bytes after = readBytes(table());
    Bytes before = makeTable(5);
    ASSERT_EQ(after.size(), before.size() + 29);
    EXPECT_EQ(recordCountOf(after), 6u);
    EXPECT_TRUE(std::equal(before.begin() + 8, before.end(), after.begin() + 8)) << "header and old records kept";
    EXPECT_EQ(lastRecordOf(after), expectedRecord(recordPattern(4), {'6', 0, 0}, {'5', 0}, " 3", " 8"));
}

TEST_F(TeamGearTableTest, FieldWidthsForTwoAndThreeDigitNumbersAndCodes)
{
    JerseySpec spec = exampleJersey(8);
    spec.teamNumber = 99;
    spec.accessoryColour = 12;
    spec.shoe = 53;

    writeBytes(table(), makeTable(41));
    ASSERT_EQ(append(spec), ResultCode::Appended);
    EXPECT_EQ(lastRecordOf(readBytes(table())), expectedRecord(recordPattern(40), {'4', '2', 0}, "99", "12", "53"));

    writeBytes(table(), makeTable(998));
    ASSERT_EQ(append(spec), ResultCode::Appended);
    EXPECT_EQ(lastRecordOf(readBytes(table())), expectedRecord(recordPattern(997), "999", "99", "12", "53"));
}

TEST_F(TeamGearTableTest, CountsAboveAThousandAreCutToThreeCharacters)
{
    JerseySpec spec = exampleJersey(8);
    spec.teamNumber = 123;  // a patch may carry any number
    writeBytes(table(), makeTable(1234));
    ASSERT_EQ(append(spec), ResultCode::Appended);
    Bytes record = lastRecordOf(readBytes(table()));
    EXPECT_EQ(std::string(record.begin() + 3, record.begin() + 8), "12312");
}

TEST_F(TeamGearTableTest, FullTableAt999IsRefusedAndUntouched)
{
    writeBytes(table(), makeTable(998));
    ASSERT_EQ(append(), ResultCode::Appended);
    Bytes full = readBytes(table());
    EXPECT_EQ(recordCountOf(full), 999u);

    EXPECT_EQ(installBothWays().result, ResultCode::TableFull);
    EXPECT_EQ(append(), ResultCode::TableFull);
    EXPECT_EQ(readBytes(table()), full);
    EXPECT_EQ(messages.shown, std::vector<ShownMessage>{error("There are already 999 jerseys!")});
}

TEST_F(TeamGearTableTest, MissingTable)
{
    EXPECT_EQ(append(), ResultCode::NoTable);
    EXPECT_EQ(messages.shown, std::vector<ShownMessage>{error("Invalid Directory!")});
    EXPECT_FALSE(std::filesystem::exists(table()));
}

TEST_F(TeamGearTableTest, EndOfFileMarkerStaysLast)
{
    writeBytes(table(), makeTable(3, true));
    ASSERT_EQ(append(), ResultCode::Appended);

    Bytes after = readBytes(table());
    Bytes before = makeTable(3, true);
    ASSERT_EQ(after.size(), before.size() + 29);
    EXPECT_EQ(after.back(), 0x1A);
    EXPECT_EQ(recordCountOf(after), 4u);
    EXPECT_TRUE(std::equal(before.begin() + 8, before.end() - 1, after.begin() + 8));
    EXPECT_EQ(lastRecordOf(after, 1), expectedRecord(recordPattern(2), {'4', 0, 0}, {'5', 0}, " 3", " 8"));
}

TEST_F(TeamGearTableTest, TablesWhoseCountDisagreesWithTheirSizeAreRefusedUntouched)
{
    Bytes countTooHigh = makeTable(4);
    countTooHigh[4] = 5;
    Bytes countZero = makeTable(0);
    Bytes tailTooLong = makeTable(4, true);
    tailTooLong.resize(tailTooLong.size() + 30, 'x');  // more than a record and a marker
    Bytes countZeroWithTail = makeTable(0);
    countZeroWithTail.resize(countZeroWithTail.size() + 29, 'x');
    Bytes headerOnly = makeTable(0);
    headerOnly[4] = 1;

    for (const Bytes& damaged : {countTooHigh, countZero, tailTooLong, countZeroWithTail, headerOnly}) {
        messages.shown.clear();
        writeBytes(table(), damaged);
        EXPECT_EQ(installBothWays().result, ResultCode::TableDamaged);
        EXPECT_EQ(remove(matchOf(exampleJersey(8))).result, ResultCode::TableDamaged);
        EXPECT_EQ(append(), ResultCode::TableDamaged);
        EXPECT_EQ(readBytes(table()), damaged);
        EXPECT_EQ(messages.shown, std::vector<ShownMessage>{error("The team gear file is damaged!")});
    }
}

// Sparse files, so that count and size agree without gigabytes on disk.
TEST_F(TeamGearTableTest, CountsThatWouldOverflowTheRecordNumberAreDamaged)
{
    for (std::uint32_t count : {0x7FFFFFFFu, 0xFFFFFFFEu}) {
        Bytes header = makeTable(0);
        for (int i = 0; i < 4; ++i)
            header[4 + i] = static_cast<std::uint8_t>(count >> (8 * i));
        writeBytes(table(), header);
        const std::uintmax_t size = 386 + std::uintmax_t{29} * count;
        std::error_code failed;
        std::filesystem::resize_file(table(), size, failed);
        if (failed)
            GTEST_SKIP() << "no sparse file of " << size << " bytes here";
        messages.shown.clear();
        EXPECT_EQ(append(), ResultCode::TableDamaged) << count;
        EXPECT_EQ(std::filesystem::file_size(table()), size);
        EXPECT_EQ(messages.shown, std::vector<ShownMessage>{error("The team gear file is damaged!")});
    }
}

TEST_F(TeamGearTableTest, TheTailOfAnInterruptedAppendIsCutOffAndTheAppendGoesOn)
{
    writeBytes(table(), makeTable(4, true));
    ASSERT_EQ(append(), ResultCode::Appended);
    const Bytes appended = readBytes(table());
    const Bytes record = lastRecordOf(appended, 1);

    for (std::size_t tail = 1; tail <= 30; ++tail) {
        Bytes interrupted = makeTable(4);
        for (std::size_t i = 0; i < tail; ++i)
            interrupted.push_back(i < 29 ? record[i] : 0x1A);
        if (tail == 1)
            interrupted.back() = 'x';  // one byte that is the marker is a sound table
        writeBytes(table(), interrupted);
        ASSERT_EQ(installBothWays().recordNumber, 5u) << tail;
        ASSERT_EQ(readBytes(table()), appended) << tail;
    }
    EXPECT_TRUE(messages.shown.empty());
}

// Another writer holding the lock: first for a moment, which is waited for, then for
// longer than the wait. A reader that takes no lock is never held up.
TEST_F(TeamGearTableTest, AWriterWaitsForAnotherWritersLockButNotForEver)
{
    writeBytes(table(), makeTable(5));
    std::unique_ptr<OpenFile> other = systemFileSystem().openForUpdate(table()).file;
    ASSERT_TRUE(other && other->lockExclusive(teamgear::kWriterLockOffset, teamgear::kWriterLockLength, 0));
    std::thread release([&other] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        other.reset();
    });
    EXPECT_EQ(append(), ResultCode::Appended);
    release.join();
    const Bytes appended = readBytes(table());
    EXPECT_EQ(recordCountOf(appended), 6u);

    other = systemFileSystem().openForUpdate(table()).file;
    ASSERT_TRUE(other && other->lockExclusive(teamgear::kWriterLockOffset, teamgear::kWriterLockLength, 0));
    std::uint8_t count[4] = {};
    std::unique_ptr<OpenFile> reader = systemFileSystem().openForReading(table()).file;
    ASSERT_TRUE(reader && reader->readAt(4, count, sizeof count));
    EXPECT_EQ(count[0], 6);

    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(append(), ResultCode::TableUnusable);
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, std::chrono::milliseconds(4900));
    EXPECT_LT(waited, std::chrono::seconds(20));
    EXPECT_EQ(readBytes(table()), appended);
    EXPECT_EQ(messages.shown, std::vector<ShownMessage>{error("The team gear file couldn't be opened!")});
}

TEST_F(TeamGearTableTest, EveryProperPrefixOfATableIsRefusedUntouched)
{
    const Bytes whole = makeTable(3);
    for (std::size_t length = 0; length < whole.size(); ++length) {
        Bytes prefix(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length));
        writeBytes(table(), prefix);
        ASSERT_EQ(installBothWays().result, ResultCode::TableDamaged) << "prefix of " << length << " bytes";
        ASSERT_EQ(readBytes(table()), prefix) << "prefix of " << length << " bytes";
    }
}

TEST_F(TeamGearTableTest, AFolderNamedLikeTheTableCannotBeOpened)
{
    std::filesystem::create_directories(table());
    const TableReport report = installBothWays();
    EXPECT_EQ(report.result, ResultCode::TableUnusable);
    EXPECT_NE(report.reason, "") << "the system says why";
    EXPECT_EQ(append(), ResultCode::TableUnusable);
    EXPECT_EQ(messages.shown, std::vector<ShownMessage>{error("The team gear file couldn't be opened!")});
}

// Whatever operation fails, once or from some point on, and wherever a crash stops it (no
// rollback then), an append or an install-once leaves a table that reads, with the records
// it had or with the one jersey more; the report says appended only when it is there, and
// a failure undone in time leaves the records as they were. The next append then gives the
// table of one or of two appends, give or take the closing marker.
TEST_F(TeamGearTableTest, AFaultAtAnyOperationOfAnAppendLosesNoRecord)
{
    using Install = SweepReport (SaveSweep::*)(const SaveTarget&, const JerseySpec&);
    Bytes interrupted = makeTable(6);
    interrupted.resize(interrupted.size() + 13, 'x');
    for (const Bytes& start : {makeTable(6), makeTable(6, true), interrupted}) {
        writeBytes(table(), start);
        const Records before = recordsIn(table());
        append();
        const Bytes once = readBytes(table());
        const Records after = recordsIn(table());
        append();
        const Bytes twice = readBytes(table());

        // Install-once reads every record first; on `once` it finds the jersey and adds none.
        const std::pair<Install, const Bytes*> ways[] = {
            {&SaveSweep::append, &start}, {&SaveSweep::appendOnce, &start}, {&SaveSweep::appendOnce, &once}};
        for (const auto& [install, from] : ways) {
            const Records untouched = from == &once ? after : before;
            for (Fault fault : {Fault::FailOne, Fault::FailFromOn, Fault::CrashFromOn}) {
                for (int first = 1;; ++first) {
                    const std::string where = "fault " + std::to_string(static_cast<int>(fault)) + " from operation " +
                                              std::to_string(first) + ", table of " + std::to_string(from->size()) +
                                              ", once " + std::to_string(install == &SaveSweep::appendOnce);
                    writeBytes(table(), *from);
                    FaultyFileSystem faulty(first, fault);
                    RecordingProgress observer;
                    const SweepReport job = (SaveSweep(faulty, {false, observer.callback()}).*
                                             install)(SaveTarget::oneTable(table()), exampleJersey(8));
                    const TableReport& report = observer.reports.at(0);
                    const Records now = recordsIn(table());
                    ASSERT_TRUE(now == untouched || now == after) << where;
                    // A crashed run's report is never seen.
                    if (fault != Fault::CrashFromOn) {
                        const bool done = report.result == ResultCode::Appended ||
                                          report.result == ResultCode::AlreadyThere;
                        ASSERT_EQ(job.outcome == SweepOutcome::Done, done) << where;
                        if (done) {
                            ASSERT_TRUE(now == after) << where;
                        } else {
                            ASSERT_EQ(report.result, ResultCode::TableUnusable) << where;
                            ASSERT_EQ(report.reason, diskFullReason()) << where;
                            ASSERT_EQ(installMessages(job),
                                      std::vector<ShownMessage>{error("The team gear file couldn't be opened!")});
                        }
                        if (fault == Fault::FailOne && !done) {
                            ASSERT_TRUE(now == untouched) << where;
                        }
                    }
                    ASSERT_EQ(append(), ResultCode::Appended) << where;
                    const Bytes next = withoutMarker(readBytes(table()));
                    ASSERT_TRUE(next == withoutMarker(once) || next == withoutMarker(twice)) << where;
                    if (!faulty.sawFault()) {
                        EXPECT_TRUE(sawAll(faulty, {Operation::Open, Operation::Lock, Operation::Size, Operation::Read}))
                            << where;
                        EXPECT_TRUE(from == &once || sawAll(faulty, {Operation::Write, Operation::Flush})) << where;
                        break;
                    }
                }
            }
        }
    }
}

// Records 4 and 6, 7 are ABCD, 5 another jersey: only the end goes, and a dry run says
// so without a change. The first record always stays, even when it matches.
TEST_F(TeamGearTableTest, RemoveTakesMatchesFromTheEndOnlyAndKeepsOneRecord)
{
    JerseySpec other = exampleJersey(8);
    other.jerseyName = {'W', 'X', 'Y', 'Z'};
    const JerseyMatch abcd = matchOf(exampleJersey(8));
    writeBytes(table(), makeTable(3, true));
    for (const JerseySpec& spec : {exampleJersey(8), other})
        ASSERT_EQ(append(spec), ResultCode::Appended);
    const Bytes withFiveRecords = readBytes(table());
    for (int i = 0; i < 2; ++i)
        ASSERT_EQ(append(), ResultCode::Appended);
    const Bytes before = readBytes(table());

    const TableReport foreseen = remove(abcd, true);
    EXPECT_EQ(readBytes(table()), before);
    const TableReport report = remove(abcd);
    for (const TableReport& each : {foreseen, report}) {
        EXPECT_EQ(each.result, ResultCode::Removed);
        EXPECT_EQ(each.removed, 2u);
        EXPECT_EQ(each.countAfter, 5u);
        EXPECT_EQ(each.matchesLeft, std::vector<std::uint32_t>{4});
    }
    EXPECT_EQ(readBytes(table()), withFiveRecords) << "count lowered, records cut, marker put back";

    EXPECT_EQ(remove(abcd).result, ResultCode::MatchNotAtEnd);
    JerseyMatch narrowed = matchOf(other);
    narrowed.teamNumber = 6;
    EXPECT_EQ(remove(narrowed).result, ResultCode::NoMatch);
    narrowed.teamNumber = 5;
    narrowed.jerseyType = 2;
    EXPECT_EQ(remove(narrowed).removed, 1u);
    EXPECT_EQ(remove(abcd).countAfter, 3u);
    EXPECT_EQ(readBytes(table()), makeTable(3, true));

    // Every record a match: all but the first go.
    Bytes allAbcd = makeTable(1);
    writeBytes(table(), allAbcd);
    append();
    append();
    allAbcd = readBytes(table());
    std::copy(allAbcd.end() - 29, allAbcd.end(), allAbcd.begin() + 386);
    writeBytes(table(), allAbcd);
    const TableReport floor = remove(abcd);
    EXPECT_EQ(floor.removed, 2u);
    EXPECT_EQ(floor.matchesLeft, std::vector<std::uint32_t>{1});
    EXPECT_EQ(readBytes(table()).size(), 386u + 29u);
    EXPECT_EQ(remove(abcd).result, ResultCode::MatchNotAtEnd);

    std::filesystem::remove(table());
    EXPECT_EQ(remove(abcd).result, ResultCode::NoTable);
}

// The count goes down before the record is cut: whatever operation fails, once or from
// some point on, and wherever a crash stops a remove, the table left reads as it was, as
// one with fewer of the matches at its end, or with a tail the next append cuts back; and
// every record the report says removed is gone.
TEST_F(TeamGearTableTest, RemoveInterruptedAnywhereLeavesATableThatReads)
{
    for (bool marker : {false, true}) {
        std::vector<Bytes> states = {makeTable(3, marker)};
        writeBytes(table(), states[0]);
        for (int i = 0; i < 2; ++i) {
            append();
            states.push_back(readBytes(table()));
        }
        Bytes interrupted = states.back();
        interrupted.resize(386 + 29 * 5 + 13, 'x');
        std::vector<Bytes> appendedTo;
        for (const Bytes& state : states) {
            writeBytes(table(), state);
            append();
            appendedTo.push_back(withoutMarker(readBytes(table())));
        }

        writeBytes(table(), states.back());
        const Records all = recordsIn(table());
        for (const Bytes& before : {states.back(), interrupted}) {
            for (Fault fault : {Fault::FailOne, Fault::FailFromOn, Fault::CrashFromOn}) {
                for (int first = 1;; ++first) {
                    const std::string where = "fault " + std::to_string(static_cast<int>(fault)) + " from operation " +
                                              std::to_string(first) + ", marker " + std::to_string(marker) +
                                              ", table of " + std::to_string(before.size());
                    writeBytes(table(), before);
                    FaultyFileSystem faulty(first, fault);
                    const TableReport report =
                        TeamGearTable(faulty, table(), TableAccess::Change).removeLastWhile(matchOf(exampleJersey(8)));
                    // Only the two matches at the end may go.
                    const Records now = recordsIn(table());
                    ASSERT_GE(now.size(), 3u) << where;
                    ASSERT_TRUE(std::equal(now.begin(), now.end(), all.begin())) << where;
                    if (fault != Fault::CrashFromOn) {
                        ASSERT_LE(now.size(), all.size() - report.removed) << "a record said removed is gone, " << where;
                        if (report.result == ResultCode::Removed) {
                            ASSERT_EQ(now.size(), report.countAfter) << where;
                        }
                        if (faulty.sawFault()) {
                            ASSERT_EQ(report.result, ResultCode::TableUnusable) << where;
                            ASSERT_EQ(report.reason, diskFullReason()) << where;
                        }
                    }
                    ASSERT_EQ(append(), ResultCode::Appended) << where;
                    const Bytes after = withoutMarker(readBytes(table()));
                    ASSERT_NE(std::find(appendedTo.begin(), appendedTo.end(), after), appendedTo.end()) << where;
                    if (!faulty.sawFault()) {
                        EXPECT_TRUE(sawAll(faulty, {Operation::Lock, Operation::Read, Operation::Write,
                                                    Operation::Flush, Operation::Truncate}))
                            << where;
                        break;
                    }
                }
            }
        }
    }
}

}  // namespace
}  // namespace kitloom::test
